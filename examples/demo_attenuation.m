## demo_attenuation (output_dir)
## The impulse response of a medium with attenuation linear in frequency at
## several depths: each pulse sums to one (zero frequency passes), and it
## grows lower and wider with depth as the high frequencies are lost.
function demo_attenuation (output_dir)
  alpha = 0.5;                # dB/(cm MHz)
  cp = 1500;                  # m/s
  dt = 0.01;                  # us
  nt = 600;
  depths = [10 25 50 100 200];  # mm
  points = [zeros(numel (depths), 2), depths(:)];
  ## Each window starts 1 us before its travel time, so the pulses line up.
  travel = 1000 * depths / cp;
  H = velk_damp (points, [dt nt], travel - 1, [cp alpha]);
  t = (0:nt-1).' * dt - 1;   # time after the travel time, us

  printf ("Attenuation %g dB/(cm MHz), cp = %g m/s, dt = %g us\n", alpha, cp, dt);
  printf ("  %-10s %12s %10s %18s %8s\n", "depth [mm]", "peak at [us]", "peak",
          "half width [us]", "sum");
  for i = 1:numel (depths)
    [peak, at] = max (H(:,i));
    printf ("  %-10g %12.3f %10.4f %18.3f %8.5f\n", depths(i), t(at), peak,
            dt * sum (H(:,i) > peak / 2), sum (H(:,i)));
  endfor

  fig = demo_figure ();
  plot (t, H, "linewidth", 1.5);
  xlim ([-0.2 1.2]);
  xlabel ("t - r/c_p [\\mus]");
  ylabel ("h  (samples sum to 1)");
  title (sprintf ("Attenuation %g dB/(cm MHz)", alpha));
  legend (arrayfun (@(d) sprintf ("r = %g mm", d), depths, "UniformOutput", false),
          "location", "eastoutside");
  grid on;
  save_figure (fig, output_dir, "attenuation_depths");
endfunction
