## out = echofocus_reference (S, positions, delay, dt, cp, points, a)
## Synthetic aperture focusing in vectorised Octave, written independently of
## the modules for the tests and the benchmarks, as fast as Octave computes
## it: one pass per A-scan over all observation points, the samples read with
## logical and linear indexing.
function out = echofocus_reference (S, positions, delay, dt, cp, points, a)
  [M, N] = size (S);
  out = zeros (rows (points), 1);
  x = points(:,1); y = points(:,2); z = points(:,3);
  h = a * 0.5;
  tau = delay(:) .* ones (N, 1);
  for n = 1:N
    r = sqrt ((positions(n,1) - x).^2 + (positions(n,2) - y).^2);
    R = sqrt (r.^2 + (z - positions(n,3)).^2);
    D = ((2 * R) / cp * 1000 + (-2) * tau(n)) / dt;
    k = round (D);
    halfway = abs (D - k) == 0.5;           # round() goes away from 0; lrint to even
    k(halfway) = 2 * round (D(halfway) / 2);
    use = r <= h & k >= 2 & k <= M - 2;
    f = D(use) - k(use);
    g = abs (f);
    column = (n - 1) * M + 1;
    out(use) += (1 - g) .* S(column + k(use));
    out(use) += g .* S(column + k(use) + 1 - 2 * (f < 0));
  endfor
endfunction
