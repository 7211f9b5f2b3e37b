## H = velk_damp_reference (points, sampling, delay, material)
## The attenuation impulse responses in vectorised Octave, written
## independently of the module for the tests and the benchmarks, as fast as
## Octave computes them: the spectra of all points as one matrix (the frequency
## terms once for all), one ifft over its columns.
function H = velk_damp_reference (points, sampling, delay, material)
  dt = sampling(1); nt = fix (sampling(2));
  cp = material(1); alpha = material(2);
  delay = delay(:).' .* ones (1, rows (points));   # one per point
  r = sqrt (sum (points.^2, 2)).';
  k = fix ((1000 * r / cp - delay) / dt + 1);
  T = dt / 1000000;
  aR = (alpha / 86860) * (r / 1000);
  nh = fix (nt / 2);
  omega = (1:nh).' * (2 * pi / nt) * (1 / T);
  L = log (1 ./ (omega * (0.95 * T / pi)));
  half = exp (-aR .* omega / (2 * pi)) .* exp (1i * (-(aR .* omega / 9.869604401089358) .* L - omega .* (k * T)));
  X = zeros (nt, columns (r));
  X(1,:) = 1;
  X(2:nh+1,:) = half;
  X(nt+1-(1:nh),:) = conj (half);
  H = real (ifft (X, [], 1));
endfunction
