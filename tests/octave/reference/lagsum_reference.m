## [H, status] = lagsum_reference (points, sampling, delay, cp, level_code)
## Delay-and-sum response in vectorised Octave, written independently of the
## module: a single 1 per column at the one-way travel time from the origin,
## rounded to the nearest sample with halfway cases to the even one. STATUS
## is LEVEL_CODE when any point's sample falls outside the window, else 0.
function [H, status] = lagsum_reference (points, sampling, delay, cp, level_code)
  dt = sampling(1);
  nt = fix (sampling(2));
  n_points = rows (points);
  H = zeros (nt, n_points);
  status = 0;
  if (n_points == 0)
    return;
  endif
  d = sqrt (points(:,1).^2 + points(:,2).^2 + points(:,3).^2);
  q = (d * 1000 / cp - delay(:)) / dt;
  k = round (q);
  halfway = abs (q - fix (q)) == 0.5;
  k(halfway) = 2 * round (q(halfway) / 2);
  k = repmat (k, n_points / numel (k), 1);   # one delay for every point
  inside = k >= 0 & k < nt;
  H(sub2ind (size (H), k(inside) + 1, find (inside))) = 1;
  if (! all (inside))
    status = level_code;
  endif
endfunction
