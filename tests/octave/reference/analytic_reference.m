## Y = analytic_reference (X)
## The analytic signal of each column through Octave's own FFT: the
## spectrum kept at 0 and at the Nyquist bin, doubled at the positive
## frequencies, 0 at the negative ones.
function Y = analytic_reference (X)
  n = rows (X);
  h = zeros (n, 1);
  h(1) = 1;
  h(2:ceil (n / 2)) = 2;
  if (mod (n, 2) == 0 && n > 0)
    h(n / 2 + 1) = 1;
  endif
  ## Octave narrows an all-real result to a real array, as it does the
  ## module's.
  Y = ifft (fft (X) .* h);
endfunction
