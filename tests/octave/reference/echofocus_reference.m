## out = echofocus_reference (S, positions, delay, dt, cp, points, a)
## Synthetic aperture focusing in vectorised Octave, written independently of
## the modules: for each A-scan, every observation point within half the
## aperture of its transducer adds the A-scan's value at the two-way travel
## time, interpolated between the nearest sample and its neighbour on the
## side of the travel time. Used by the tests and the benchmarks.
function out = echofocus_reference (S, positions, delay, dt, cp, points, a)
  [M, N] = size (S);
  n_points = rows (points);
  out = zeros (n_points, 1);
  if (n_points == 0)
    return;
  endif
  x = points(:,1);
  y = points(:,2);
  z = points(:,3);
  h = a * 0.5;
  for n = 1:N
    if (numel (delay) == 1)
      tau = delay(1);
    else
      tau = delay(n);
    endif
    r = sqrt ((positions(n,1) - x).^2 + (positions(n,2) - y).^2);
    near = find (r <= h);
    R = sqrt (r(near).^2 + (z(near) - positions(n,3)).^2);
    D = ((2 * R) / cp * 1000 + (-2) * tau) / dt;
    ## Nearest sample, halfway cases to the even one (round() goes away from 0).
    k = round (D);
    halfway = abs (D - fix (D)) == 0.5;
    k(halfway) = 2 * round (D(halfway) / 2);
    inside = k >= 2 & k <= M - 2;
    near = near(inside);
    D = D(inside);
    k = k(inside);
    f = D - k;
    g = abs (f);
    column = (n - 1) * M + 1;
    neighbour = k + 1 - 2 * (f < 0);
    out(near) += (1 - g) .* S(column + k);
    out(near) += g .* S(column + neighbour);
  endfor
endfunction
