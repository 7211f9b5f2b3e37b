## demo_column_convolution (output_dir)
## The pulse a circular piston sends to points at one depth: the spatial
## impulse response at each point (one column each) convolved with the
## excitation, every column on worker threads with fold_mt.
function demo_column_convolution (output_dir)
  a = 5;                      # piston radius, mm
  z = 30;                     # depth of the points, mm
  cp = 1500;                  # sound speed, m/s
  dt = 0.01;                  # us
  f0 = 3;                     # centre frequency of the excitation, MHz
  x = [0 2 4 6 8];            # lateral positions, mm
  points = [x' zeros(5, 1) z * ones(5, 1)];
  delay = z / cp * 1000 - 0.3;
  H = discwave (points, a, [dt 250], delay, [1 cp]);

  ## Three cycles of the centre frequency under a Hann window.
  n = round (3 / f0 / dt);
  t_pulse = (0:n-1)' * dt;
  pulse = sin (2 * pi * f0 * t_pulse) .* (0.5 - 0.5 * cos (2 * pi * (0:n-1)' / (n - 1)));
  ## A time derivative turns the response to velocity into one to pressure.
  dpulse = [diff(pulse); 0] / (dt * 1e-6);

  p = fold_mt (H, dpulse * dt * 1e-6, 2);
  t = delay + (0:rows (p)-1) * dt;

  printf ("Pulse from a circular piston, a = %g mm, %g MHz, points at z = %g mm\n", a, f0, z);
  printf ("  %-10s %14s %16s\n", "x [mm]", "peak-to-peak", "relative [dB]");
  p2p = max (p) - min (p);
  for i = 1:numel (x)
    printf ("  %-10g %14.4g %16.1f\n", x(i), p2p(i), 20 * log10 (p2p(i) / p2p(1)));
  endfor

  ## One trace per point, stacked, each scaled by the largest of all.
  fig = demo_figure ();
  offsets = 2 * (numel (x)-1:-1:0);
  plot (t, p ./ max (abs (p(:))) + offsets, "linewidth", 1.2);
  set (gca, "ytick", fliplr (offsets), "yticklabel",
       arrayfun (@(v) sprintf ("%g", v), fliplr (x), "UniformOutput", false));
  xlabel ("t [\\mus]");
  ylabel ("lateral position x [mm]");
  title (sprintf ("Pulse at z = %g mm (a = %g mm, %g MHz)", z, a, f0));
  grid on;
  save_figure (fig, output_dir, "column_convolution");
endfunction
