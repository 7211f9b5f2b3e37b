## pulse_echo_accuracy ()
## The relative RMS error of pulse_echo's channels at 4, 6, 8 and 12
## samples a period of a 5 MHz pulse (60 % bandwidth), against the same
## call on a 16 times finer grid (taken at the coarse samples' times), for
## point samples (N = 0) and the interval means (N = 4), the sums on the
## record's own grid (oversample 1) and on the grid the pulse needs (the
## default): a 16-element probe
## of pitch 0.3 mm (0.27 x 5 mm elements), one plane wave at 0 degrees,
## twelve scatterers from 5 to 60 mm deep. Then the error of the
## attenuation taken per echo time against the attenuation of each
## scatterer's own round trip (velk_damp's response over that path,
## applied to the echo of each scatterer alone), at alpha = 0.5.
function pulse_echo_accuracy ()
  fc = 5; cp = 1540; probe = linear_probe (16, 0.3, [0.27 5]); ev = plane_wave_events (probe, 0, cp);
  z = (5:5:60)'; S = [linspace(-2, 2, numel (z))', zeros(numel (z), 1), z];
  sigma = 1 / (2 * pi * 0.6 * fc / 2.355); tc = 4 * sigma;
  pulse_at = @(dt) exp (-((0:dt:2*tc)' - tc).^2 / (2*sigma^2)) .* sin (2*pi*fc*((0:dt:2*tc)' - tc));
  T = 85;
  printf ("%-24s %s\n", "", "relative RMS error at fs = 4, 6, 8, 12 fc");
  for c = {0, {"oversample", 1}; 4, {"oversample", 1}; 0, {}; 4, {}}'
    errors = [];
    for m = [4 6 8 12]
      dt = 1 / (m * fc); nt = floor (T / dt); o = struct ("N", c{1}, c{2}{:});
      Y = pulse_echo (S, 1, probe, ev, pulse_at (dt), [dt nt], 0, [cp 0], o);
      R = pulse_echo (S, 1, probe, ev, pulse_at (dt / 16), [dt/16 16*nt], 0, [cp 0],
                      struct ("N", c{1}, "oversample", 1))(1:16:end, :, :);
      errors(end+1) = norm (Y(:) - R(:)) / norm (R(:));
    endfor
    grid = {"oversample 1", "default grid"}{1 + isempty(c{2})};
    printf ("%-24s %s\n", sprintf ("N = %d, %s", c{1}, grid), sprintf ("%7.2f %%", 100 * errors));
  endfor

  dt = 1 / (8 * fc); nt = floor (T / dt); alpha = 0.5; p = pulse_at (dt);
  Y = pulse_echo (S, 1, probe, ev, p, [dt nt], 0, [cp alpha]);
  R = zeros (size (Y));
  for s = 1:rows (S)
    echo = pulse_echo (S(s,:), 1, probe, ev, p, [dt nt], 0, [cp 0]);
    for j = 1:16
      # The scatterer's own round trip: the plane wave's depth, then the way to element j.
      d = S(s,3) + norm (S(s,:) - probe.centres(j,:));
      h = velk_damp ([0 0 d], [dt 512], -64.5 * dt + 1000 * d / cp, [cp alpha]);
      r = conv (echo(:, j), h);
      R(:, j) += r(66:65 + nt);   # the response of no path is a unit sample at row 66
    endfor
  endfor
  printf ("attenuation per echo time against each scatterer's own round trip: %.2f %% (alpha %.1f, fs = 8 fc)\n",
          100 * norm (Y(:) - R(:)) / norm (R(:)), alpha);
endfunction
