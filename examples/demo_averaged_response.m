## demo_averaged_response (output_dir)
## The circular piston's response averaged over each sampling interval
## beside the point samples, for a coarse dt: the point samples miss the
## short plateau's area, the averages keep it.
function demo_averaged_response (output_dir)
  a = 5;          # radius, mm
  cp = 1500;      # m/s
  dt = 0.1;       # us, coarse for the 0.8 us plateau on the axis
  nt = 40;
  N = 16;         # trapezoids per interval for the edge wave
  points = [0 0 20; 4 0 20];
  names = {"axis", "r = 4"};
  delay = 12;
  Havg = discwave_avg (points, a, [dt nt], delay, [1 cp], N);
  Hs = discwave (points, a, [dt nt], delay, [1 cp]);
  fine = 0.001;
  Hf = discwave (points, a, [fine nt*dt/fine], delay - dt/2, [1 cp]);
  t = delay + (0:nt-1) * dt;
  tf = delay - dt/2 + (0:nt*dt/fine-1) * fine;

  printf ("Circular piston, a = %g mm, dt = %g us: time integrals [mm] (v = 1 m/s)\n", a, dt);
  printf ("  %-8s %12s %12s %12s\n", "point", "averaged", "sampled", "fine");
  for i = 1:rows (points)
    printf ("  %-8s %12.5f %12.5f %12.5f\n", names{i}, sum (Havg(:,i)) * dt * 1e-3,
            sum (Hs(:,i)) * dt * 1e-3, sum (Hf(:,i)) * fine * 1e-3);
  endfor

  fig = demo_figure ();
  for i = 1:rows (points)
    ## One panel per point, top to bottom, with room between them for the
    ## titles and tick labels.
    axes ("position", [0.13, 1.03 - 0.43 * i, 0.83, 0.26]);
    ## Each average holds over its whole interval, centred on its sample.
    [ts, hs] = stairs (t - dt/2, Havg(:,i));
    plot (tf, Hf(:,i), "color", [0.6 0.6 0.6], "linewidth", 1,
          t, Hs(:,i), "o", "color", [0.85 0.33 0.1], "linewidth", 1.2,
          ts, hs, "-", "color", [0 0.45 0.74], "linewidth", 1.5);
    xlim ([13 15]);
    ylim ([0 2400]);   # room for the legend above the curves
    ylabel ("h [m/s]");
    title (sprintf ("%s, dt = %g us", names{i}, dt));
    legend ({"fine", "sampled", "averaged"}, "location", "north", "orientation", "horizontal");
    legend ("boxoff");
    grid on;
  endfor
  xlabel ("t [\\mus]");
  save_figure (fig, output_dir, "averaged_response");
endfunction
