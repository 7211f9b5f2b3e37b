## H = platewave_reference (points, ab, sampling, delay, material)
## The rectangular piston's response in vectorised Octave, written from the
## four signed corner rectangles independently of the platewave module, for
## the tests and the benchmarks. A ratio 0/0 (a side of length 0 seen at
## t = tz) is taken as 0, and as no contribution at all when both sides of
## the corner rectangle are 0; a ratio past 1 counts as 1.
function H = platewave_reference (points, ab, sampling, delay, material)
  dt = sampling(1);
  nt = fix (sampling(2));
  cp = material(2);
  n_points = rows (points);
  X = double (abs (points(:,1).')) / 1000;   # 1000 in single precision is exactly 1000
  Y = double (abs (points(:,2).')) / 1000;
  Z = points(:,3).' / 1000;
  HA = (ab(1) / 1000) * 0.5;
  HB = (ab(2) / 1000) * 0.5;
  if (isscalar (delay))
    delay = repmat (delay, 1, n_points);
  else
    delay = delay(:).';
  endif

  t = ((0:nt-1).' * dt + delay) / 1000000;
  tz = Z / cp;
  root = cp * sqrt (max (t .* t - tz .* tz, 0));

  ## Rows of the sign table: foot inside in x and y, inside in x only,
  ## inside in y only, outside in both. Columns: the corner rectangles.
  signs = [1 1 1 1; -1 -1 1 1; -1 1 1 -1; 1 -1 1 -1];
  row = 1 + (Y > HB) + 2 * (X > HA);
  near_x = abs (HA - X);  far_x = abs (HA + X);
  near_y = abs (HB - Y);  far_y = abs (HB + Y);
  P = {near_x, far_x, far_x, near_x};
  Q = {near_y, near_y, far_y, far_y};

  H = zeros (nt, n_points);
  for i = 1:4
    p = P{i};
    q = Q{i};
    s = signs(row, i).';
    t1 = sqrt (Z.^2 + p.^2) / cp;
    t2 = sqrt (Z.^2 + q.^2) / cp;
    t3 = sqrt (Z.^2 + p.^2 + q.^2) / cp;
    g = zeros (nt, n_points);
    g(tz <= t & t <= t3) = cp * 0.25;
    g = g + edge_term (p, t1, t3, t, root, cp);
    g = g + edge_term (q, t2, t3, t, root, cp);
    no_area = (p == 0 & q == 0) & root == 0 & t3 <= t & t <= t3;
    g(no_area) = 0;
    H = H + s .* g;
  endfor
endfunction

function term = edge_term (side, t_edge, t3, t, root, cp)
  on = t_edge <= t & t <= t3;
  side = repmat (side, rows (t), 1);
  ratio = side(on) ./ root(on);
  ratio(side(on) == 0 & root(on) == 0) = 0;
  ratio = min (max (ratio, -1), 1);
  term = zeros (size (t));
  term(on) = (cp / -6.283185307179586) * acos (ratio);
endfunction
