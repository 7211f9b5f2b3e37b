## demo_rectangular_piston (output_dir)
## The spatial impulse response of a rectangular piston beside that of a
## circular piston of the same area, at points on the axis, off the axis
## and outside the projection of each.
function demo_rectangular_piston (output_dir)
  ab = [10 6];                # width along x and height along y, mm
  a = sqrt (prod (ab) / pi);  # radius of the circle of the same area, mm
  z = 20;                     # depth of the points, mm
  cp = 1500;                  # sound speed, m/s
  dt = 0.01;                  # us
  delay = z / cp * 1000 - 0.2;
  nt = 400;
  names = {"axis", "(3, 1)", "(8, 0)"};
  points = [0 0 z; 3 1 z; 8 0 z];
  Hr = platewave (points, ab, [dt nt], delay, [1 cp]);
  Hc = discwave (points, a, [dt nt], delay, [1 cp]);
  t = delay + (0:nt-1) * dt;

  printf ("Rectangular piston %g x %g mm beside a circular one of radius %.3f mm (same area),\n",
          ab, a);
  printf ("points at z = %g mm, cp = %g m/s, v = 1 m/s\n", z, cp);
  printf ("  %-8s %22s %22s\n", "point", "rectangle: int [mm]", "circle: int [mm]");
  for i = 1:rows (points)
    ## The time integral is the velocity potential's amplitude (m for v = 1).
    printf ("  %-8s %22.4f %22.4f\n", names{i}, sum (Hr(:,i)) * dt * 1e-6 * 1000,
            sum (Hc(:,i)) * dt * 1e-6 * 1000);
  endfor

  fig = demo_figure ();
  colors = get (groot, "defaultaxescolororder");
  hold on;
  for i = 1:rows (points)
    plot (t, Hr(:,i), "-", "color", colors(i,:), "linewidth", 1.5);
    plot (t, Hc(:,i), "--", "color", colors(i,:), "linewidth", 1);
  endfor
  hold off;
  xlabel ("t [\\mus]");
  ylabel ("h [m/s]");
  xlim ([13.1 16.5]);
  title (sprintf ("Rectangle %g x %g mm (solid), circle a = %.2f mm (dashed)", ab, a));
  ## One entry per point: the solid curve of each, in its colour.
  legend (findobj (gca, "type", "line", "linestyle", "-")(end:-1:1), names, "location", "eastoutside");
  grid on;
  save_figure (fig, output_dir, "rectangular_piston");
endfunction
