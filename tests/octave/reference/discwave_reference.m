## H = discwave_reference (points, a, sampling, delay, material)
## The circular piston's closed-form response in vectorised Octave: the
## same arithmetic as the discwave module, written independently of it, for
## the tests and the benchmarks.
function H = discwave_reference (points, a, sampling, delay, material)
  dt = sampling(1);
  nt = fix (sampling(2));
  v = material(1);
  cp = material(2);
  n_points = rows (points);
  x = points(:,1).' / 1000;
  y = points(:,2).' / 1000;
  z = points(:,3).' / 1000;
  a = a / 1000;
  if (isscalar (delay))
    delay = repmat (delay, 1, n_points);
  else
    delay = delay(:).';
  endif

  t = ((0:nt-1).' * dt + delay) / 1000000;
  ct = cp * t;
  r = sqrt (x.^2 + y.^2);
  R1 = sqrt (z.^2 + (a - r).^2);
  R2 = sqrt (z.^2 + (a + r).^2);
  inside = r < a;

  plateau = inside & z <= ct & ct < R1;
  edge = ! (inside & ct < z) & ! plateau & R1 <= ct & ct < R2;

  s = cp .* ct .* t - z.^2;
  ## sqrt of the negative s before an arrival would turn the whole matrix
  ## complex; those samples take the limit below or lie outside the edge.
  q = (r.^2 + s - a.^2) ./ (2 .* r .* sqrt (max (s, 0)));
  ## Where rounding leaves s <= 0 at the start of the edge interval, the limit
  ## from inside it: 0 over the rim, +-Inf elsewhere (clamped below).
  q_limit = sign (r.^2 - a.^2) .* Inf;
  q_limit(r.^2 - a.^2 == 0) = 0;
  q_limit = repmat (q_limit, nt, 1);
  q(s <= 0) = q_limit(s <= 0);
  q = min (max (q, -1), 1);

  H = zeros (nt, n_points);
  H(plateau) = v * cp;
  H(edge) = (v * cp / pi) * acos (q(edge));
endfunction
