## demo_pulse_echo (output_dir)
## The toolbox end to end: a circular transducer is moved along a line above
## three point scatterers. At each position its pulse-echo response to each
## scatterer is the piston's spatial impulse response convolved with itself,
## with the excitation pulse and with the medium's two-way attenuation; the
## echoes add up to a B-scan. Synthetic aperture focusing of the B-scan then
## gives an image whose maxima should stand on the scatterers.
##
## The sampling period is coarse against the piston's response: on the axis
## at 32 mm its plateau lasts 0.01 us, less than one period, and samples
## taken at instants miss it altogether. The responses are therefore the
## averages over each sampling interval (discwave_avg), which keep every
## interval's share of the response; the demo prints the time integrals
## that show it.
function demo_pulse_echo (output_dir)
  a = 1;                          # transducer radius, mm
  cp = 1500;                      # sound speed, m/s
  alpha = 0.5;                    # attenuation, dB/(cm MHz)
  dt = 0.025;                     # sampling period, us
  n_cpus = 2;
  n_intervals = 16;               # trapezoids per sample for the edge wave
  scan_x = -12:0.25:12;           # transducer positions along x, mm
  scatterers = [-6 0 18; 0 0 25; 5 0 32];
  N = numel (scan_x);

  ## Excitation: a 5 MHz tone burst under a Gaussian envelope, peak at t_pulse.
  f0 = 5;                         # MHz
  t = (0:32)' * dt;
  t_pulse = t(17);
  pulse = sin (2*pi*f0*(t - t_pulse)) .* exp (-((t - t_pulse) / 0.12).^2);

  ## One-way responses start at t0 and span nt samples, enough for the
  ## farthest scatterer seen from the farthest position.
  t0 = 8;                         # us
  nt = 720;
  n_att = 64;                     # samples of the attenuation response
  bscan = zeros (2*nt - 1 + numel (pulse) - 1 + n_att - 1, N);
  for s = 1:rows (scatterers)
    ## The scatterer seen from each transducer position, in the transducer's frame.
    points = [scatterers(s,1) - scan_x', repmat(scatterers(s,2:3), N, 1)];
    H = discwave_avg (points, a, [dt nt], t0, [1 cp], n_intervals);
    ## Transmit and receive: one response convolved with itself, column by
    ## column (each column is its own filter); the sum times dt is the integral.
    echo = fold_mt (H, H, n_cpus) * dt * 1e-6;
    echo = fold_mt (echo, pulse, n_cpus);
    ## The two-way loss over 2R, placed one sample into its window so that it
    ## only spreads the echo and adds a delay of dt.
    two_way = 2 * sqrt (sumsq (points, 2));
    loss = velk_damp ([zeros(N, 2), two_way], [dt n_att], 1000 * two_way / cp - dt / 2,
                      [cp alpha]);
    fold_mt (echo, loss, n_cpus, bscan, "+=");    # adds into the B-scan in place
  endfor

  ## Row r (from 0) of the B-scan holds two-way time 2 t0 + r dt; the echo of
  ## a path of two-way time T peaks at row (T + t_pulse + dt - 2 t0) / dt. The
  ## focusing reads row (2 R / cp - 2 tau) / dt, so tau aligns the two.
  tau = t0 - (t_pulse + dt) / 2;
  image_x = -12:0.1:12;
  image_z = 14:0.1:36;
  [X, Z] = meshgrid (image_x, image_z);
  grid_points = [X(:), zeros(numel (X), 1), Z(:)];
  positions = [scan_x', zeros(N, 2)];
  aperture = 16;                  # mm
  ## Focusing is linear, so focusing the analytic A-scans gives the analytic
  ## image, whose magnitude is the envelope.
  analytic_scan = analytic (bscan);
  focused = echofocus_mt (real (analytic_scan), positions, tau, dt, cp, grid_points, aperture, n_cpus) ...
            + 1i * echofocus_mt (imag (analytic_scan), positions, tau, dt, cp, grid_points, aperture, n_cpus);
  envelope = reshape (abs (focused), size (X));

  printf ("Pulse-echo scan: piston a = %g mm, %d positions from %g to %g mm, %g MHz pulse, alpha = %g dB/(cm MHz)\n",
          a, N, scan_x(1), scan_x(end), f0, alpha);
  print_time_integrals (a, cp, dt, t0, nt, n_intervals, scatterers(end,3));
  printf ("  %-22s %-22s %s\n", "scatterer [mm]", "image maximum [mm]", "distance [mm]");
  for s = 1:rows (scatterers)
    near = abs (X - scatterers(s,1)) <= 3 & abs (Z - scatterers(s,3)) <= 3;
    [~, k] = max (envelope(:) .* near(:));
    printf ("  (%5.1f, %5.1f)         (%5.1f, %5.1f)         %.2f\n", scatterers(s,1), scatterers(s,3),
            X(k), Z(k), hypot (X(k) - scatterers(s,1), Z(k) - scatterers(s,3)));
  endfor

  fig = demo_figure ();
  rows_t = 2*t0 + (0:rows (bscan) - 1) * dt;
  imagesc (scan_x, rows_t * cp / 2000, decibels (abs (analytic_scan)), [-40 0]);
  colormap (gray);
  xlabel ("transducer position x [mm]");
  ylabel ("depth c t / 2 [mm]");
  title ("B-scan, envelope [dB]");
  ylim ([image_z(1) image_z(end)]);
  save_figure (fig, output_dir, "pulse_echo_bscan");

  fig = demo_figure ();
  imagesc (image_x, image_z, decibels (envelope), [-40 0]);
  colormap (hot);
  hold on;
  plot (scatterers(:,1), scatterers(:,3), "c+", "markersize", 12);
  xlabel ("x [mm]");
  ylabel ("z [mm]");
  title ("Focused image, envelope [dB] (+: scatterers)");
  save_figure (fig, output_dir, "pulse_echo_image");
endfunction

## The time integral of the one-way response at depth Z, on the axis and
## beside it: from samples at instants, from the averages over each
## sampling interval, and from samples 1000 times finer, the reference.
function print_time_integrals (a, cp, dt, t0, nt, n_intervals, z)
  aside = [0 0.5 1 2];            # mm from the axis
  points = [aside', zeros(numel (aside), 1), repmat(z, numel (aside), 1)];
  fine = dt / 1000;
  sampled = sum (discwave (points, a, [dt nt], t0, [1 cp])) * dt;
  averaged = sum (discwave_avg (points, a, [dt nt], t0, [1 cp], n_intervals)) * dt;
  reference = sum (discwave (points, a, [fine 1000*nt], t0 - dt/2, [1 cp])) * fine;
  printf ("  time integral of the one-way response at z = %g mm, dt = %g us [m/s us]:\n", z, dt);
  printf ("  %-12s %10s %10s %16s\n", "aside [mm]", "sampled", "averaged", "fine (dt/1000)");
  for i = 1:numel (aside)
    printf ("  %-12g %10.2f %10.2f %16.2f\n", aside(i), sampled(i), averaged(i), reference(i));
  endfor
endfunction

## Magnitudes in dB below their largest.
function level = decibels (magnitude)
  level = 20 * log10 (magnitude / max (magnitude(:)));
endfunction

## The analytic signal of each column: negative frequencies removed.
function z = analytic (x)
  n = rows (x);
  weights = zeros (n, 1);
  weights(1) = 1;
  weights(2:ceil (n/2)) = 2;
  if (mod (n, 2) == 0)
    weights(n/2 + 1) = 1;
  endif
  z = ifft (fft (x) .* weights);
endfunction
