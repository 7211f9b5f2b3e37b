## demo_apodization (output_dir)
## The apodization windows of a 64-element linear array.
function demo_apodization (output_dir)
  N = 64;
  x = 2 * (0.5 - (0:N-1) / N);
  windows = {"triangle", "gauss", "raised", "simply", "clamped"};
  p = [0, 2, 1, 0, 0];   # the parameter: gauss's exponent, raised's offset
  W = zeros (N, numel (windows));
  printf ("Apodization windows for N = %d elements (x from 1 down to %g)\n", N, x(end));
  printf ("  %-10s %6s %12s %12s %12s\n", "window", "p", "w(x = 1)", "w(x = 0)", "sum");
  for i = 1:numel (windows)
    W(:,i) = velk_taper (windows{i}, N, p(i));
    printf ("  %-10s %6g %12.4f %12.4f %12.4f\n", windows{i}, p(i), W(1,i), W(N/2+1,i),
            sum (W(:,i)));
  endfor

  fig = demo_figure ();
  plot (x, W, ".-", "linewidth", 1.2);
  xlabel ("element position x (normalised aperture)");
  ylabel ("weight");
  title (sprintf ("Apodization windows, N = %d", N));
  ylim ([0 2.2]);
  legend (strcat (windows, arrayfun (@(v) sprintf (" (p = %g)", v), p, "UniformOutput", false)),
          "location", "eastoutside");
  grid on;
  save_figure (fig, output_dir, "apodization");
endfunction
