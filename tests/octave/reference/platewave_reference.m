## H = platewave_reference (points, ab, sampling, delay, material)
## The rectangular piston's response in vectorised Octave, written
## independently of the module for the tests and the benchmarks, as fast as
## Octave computes it: the samples between the first arrival and the last corner's
## found with logical indexing, each corner rectangle's arc cosines taken
## only where its edges are heard.
function H = platewave_reference (points, ab, sampling, delay, material)
  dt = sampling(1); nt = fix (sampling(2)); cp = material(2);
  X = abs (points(:,1).') / 1000; Y = abs (points(:,2).') / 1000; Z = points(:,3).' / 1000;
  HA = (ab(1) / 1000) * 0.5; HB = (ab(2) / 1000) * 0.5;
  delay = delay(:).' .* ones (1, rows (points));   # one per point
  t = ((0:nt-1).' * dt + delay) / 1000000;
  tz = Z / cp;
  signs = [1 1 1 1; -1 -1 1 1; -1 1 1 -1; 1 -1 1 -1];
  row = 1 + (Y > HB) + 2 * (X > HA);
  P = {abs(HA - X), abs(HA + X), abs(HA + X), abs(HA - X)};
  Q = {abs(HB - Y), abs(HB - Y), abs(HB + Y), abs(HB + Y)};
  T3 = cellfun (@(p, q) sqrt (Z.^2 + p.^2 + q.^2) / cp, P, Q, "UniformOutput", false);
  last = max (vertcat (T3{:}));
  band = find (tz <= t & t <= last)(:);   # a column also for nt = 1
  col = ceil (band / nt).';
  tb = t(band)(:).';
  root = cp * sqrt (tb .* tb - tz(col) .* tz(col));
  Hb = zeros (size (tb));
  for i = 1:4
    p = P{i}(col); q = Q{i}(col); t3 = T3{i}(col);
    t1 = sqrt (Z(col).^2 + p.^2) / cp;
    t2 = sqrt (Z(col).^2 + q.^2) / cp;
    on_p = t1 <= tb & tb <= t3;
    on_q = t2 <= tb & tb <= t3;
    g = (tz(col) <= tb & tb <= t3) * (cp * 0.25);
    g = add_edge (g, p, on_p, root, cp);
    g = add_edge (g, q, on_q, root, cp);
    g((on_p | on_q) & p == 0 & q == 0 & root == 0) = 0;   # no area, at t = tz
    Hb = Hb + signs(row(col) + 4 * (i - 1)) .* g;
  endfor
  H = zeros (nt, columns (t));
  H(band) = Hb;
endfunction

function g = add_edge (g, side, on, root, cp)
  ratio = side(on) ./ root(on);
  ratio(side(on) == 0 & root(on) == 0) = 0;
  g(on) = g(on) + (cp / -6.283185307179586) * acos (min (ratio, 1));
endfunction
