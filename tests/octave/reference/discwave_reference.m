## H = discwave_reference (points, a, sampling, delay, material)
## The circular piston's response in vectorised Octave, written independently
## of the module for the tests and the benchmarks, as fast as Octave computes
## it: the plateau and the edge band found with logical indexing, the arc
## cosine taken only in the band.
function H = discwave_reference (points, a, sampling, delay, material)
  dt = sampling(1); nt = fix (sampling(2));
  v = material(1); cp = material(2);
  x = points(:,1).' / 1000; y = points(:,2).' / 1000; z = points(:,3).' / 1000;
  a = a / 1000;
  delay = delay(:).' .* ones (1, rows (points));   # one per point
  t = ((0:nt-1).' * dt + delay) / 1000000;
  ct = cp * t;
  r = sqrt (x.^2 + y.^2);
  R1 = sqrt (z.^2 + (a - r).^2);
  R2 = sqrt (z.^2 + (a + r).^2);
  inside = r < a;
  H = zeros (nt, columns (t));
  H(inside & z <= ct & ct < R1) = v * cp;
  band = find (R1 <= ct & ct < R2 & ! (inside & ct < z))(:);   # a column also for nt = 1
  col = ceil (band / nt).';
  s = cp * ct(band)(:).' .* t(band)(:).' - z(col).^2;
  q = (r(col).^2 + s - a^2) ./ (2 * r(col) .* sqrt (s));
  ## Where rounding leaves s <= 0 at the start of the band, the limit from
  ## inside it: 0 over the rim, +-Inf elsewhere.
  at_arrival = find (s <= 0);
  over_rim = r(col)(at_arrival).^2 - a^2;
  q(at_arrival) = sign (over_rim) * Inf;
  q(at_arrival(over_rim == 0)) = 0;
  H(band) = (v * cp / pi) * acos (min (max (q, -1), 1));
endfunction
