## demo_circular_piston (output_dir)
## The spatial impulse response of a circular piston at points on the axis,
## inside, over the rim and outside its projection.
function demo_circular_piston (output_dir)
  a = 5;                      # radius, mm
  z = 20;                     # depth of the points, mm
  cp = 1500;                  # sound speed, m/s
  dt = 0.01;                  # us
  delay = z / cp * 1000 - 0.2;
  nt = 300;
  names = {"axis (r = 0)", "inside (r = 3)", "rim (r = 5)", "outside (r = 8)"};
  points = [0 0 z; 3 0 z; 5 0 z; 8 0 z];
  H = discwave (points, a, [dt nt], delay, [1 cp]);
  t = delay + (0:nt-1) * dt;

  printf ("Circular piston, a = %g mm, points at z = %g mm, cp = %g m/s\n", a, z, cp);
  printf ("  %-16s %12s %12s %14s\n", "point", "first [us]", "last [us]", "integral [mm]");
  for i = 1:rows (points)
    nonzero = find (H(:,i));
    ## The integral of the response over time is the velocity potential's
    ## amplitude: v times a length (m), shown here in mm for v = 1.
    printf ("  %-16s %12.3f %12.3f %14.4f\n", names{i}, t(nonzero(1)), t(nonzero(end)),
            sum (H(:,i)) * dt * 1e-6 * 1000);
  endfor

  fig = demo_figure ();
  plot (t, H, "linewidth", 1.5);
  xlabel ("t [\\mus]");
  ylabel ("h [m/s]  (v = 1 m/s)");
  title (sprintf ("Circular piston, a = %g mm, z = %g mm", a, z));
  legend (names, "location", "eastoutside");
  grid on;
  save_figure (fig, output_dir, "circular_piston");
endfunction
