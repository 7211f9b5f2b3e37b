## H = velk_damp_reference (points, sampling, delay, material)
## The attenuation impulse response in vectorised Octave: the same spectrum
## as the velk_damp module, written independently of it, brought back with
## Octave's own ifft over the full conjugate-symmetric spectrum. For the
## tests and the benchmarks.
function H = velk_damp_reference (points, sampling, delay, material)
  dt = sampling(1);
  nt = fix (sampling(2));
  cp = material(1);
  alpha = material(2);
  n_points = rows (points);
  if (isscalar (delay))
    delay = repmat (delay, 1, n_points);
  else
    delay = delay(:).';
  endif

  r = sqrt (points(:,1).^2 + points(:,2).^2 + points(:,3).^2).';
  k = fix ((1000 * r / cp - delay) / dt + 1);

  T = dt / 1000000;
  R = r / 1000;
  a = alpha / 86860;
  nh = fix (nt / 2);
  ## Bins 1 .. nh down the rows, points along the columns; the frequency
  ## terms are the same for every point.
  omega = (1:nh).' * (2 * pi / nt) * (1 / T);
  L = log (1 ./ (omega * (0.95 * T / pi)));
  aR = a * R;
  A = exp (-aR .* omega / (2 * pi));
  theta = -(aR .* omega / 9.869604401089358) .* L - omega .* (k * T);
  half = A .* cos (theta) + 1i * (A .* sin (theta));

  X = zeros (nt, n_points);
  X(1,:) = 1;
  X(2:nh+1,:) = half;
  ## Bins nt-nh .. nt-1 hold the conjugates; for even nt the middle bin
  ## (row nh+1) becomes the conjugate, whose real part is all ifft keeps.
  X(nt+1-(1:nh),:) = conj (half);
  H = real (ifft (X, [], 1));
endfunction
