## demo_array_field (output_dir)
## The field a user plots of a linear array: the peak pressure of a
## 128-element array (pitch 0.3 mm, elements 0.27 x 5 mm) driven by a 3 MHz
## pulse, focused at 30 mm under a Hann-shaped window, then steered by 20
## degrees, over the x-z plane; the window {"raised", 1}, 1 + cos (pi r / e),
## is twice the Hann window over the aperture.
function demo_array_field (output_dir)
  elements = linear_array (128, 0.3);
  cp = 1540; rho = 1000; f0 = 3; dt = 0.02;   # m/s, kg/m^3, MHz, us
  t = (0:dt:2/f0)';                            # two cycles under a Hann envelope
  pulse = sin (2*pi*f0*t) .* (0.5 - 0.5 * cos (2*pi*f0*t/2));
  [x, z] = meshgrid (-25:0.5:25, 5:0.5:60);
  points = [x(:), zeros(numel (x), 1), z(:)];
  ## Each point's window from before its earliest arrival (no element is
  ## nearer than z, none fires before 0) to past its latest (the farthest
  ## element, fired last) and the pulse.
  [~, tau] = platewave_array ([0 0 1], elements, [0.27 5], [dt 1], 0, [1 cp], {"x", 30}, {"x", 20});
  delay = 1000 * z(:) / cp - 1;
  latest = 1000 * hypot (abs (x(:)) + 19.2, hypot (z(:), 2.5)) / cp + max (tau) + t(end);
  nt = ceil (max (latest - delay) / dt);
  titles = {"focused at 30 mm", "then steered 20 degrees"};
  steering = {"off", {"x", 20}};
  fig = demo_figure ();
  for k = 1:2
    ## In chunks of points, so that the responses held stay a few tens of MB.
    peak = zeros (size (x));
    tic;
    for first = 1:2000:rows (points)
      chunk = first:min (first + 1999, rows (points));
      H = platewave_array (points(chunk,:), elements, [0.27 5], [dt nt], delay(chunk), [1 cp],
                           {"x", 30}, steering{k}, {"raised", 1}, 4);
      peak(chunk) = max (abs (pressure (H, pulse, dt, rho)));
    endfor
    seconds = toc;
    printf ("Array field, %s: %d points x 128 elements in %.2f s; peak %.3g kPa at x = %.2f, z = %.2f mm\n",
            titles{k}, rows (points), seconds, max (peak(:)) / 1000, x(peak == max (peak(:)))(1),
            z(peak == max (peak(:)))(1));
    subplot (1, 2, k);
    imagesc (x(1,:), z(:,1), 20 * log10 (peak / max (peak(:))), [-40 0]);
    axis image; colormap (hot);
    if (k == 2)
      ylabel (colorbar ("eastoutside"), "peak pressure [dB]");
    endif
    xlabel ("x [mm]"); title (titles{k});
    if (k == 1)
      ylabel ("z [mm]");
    endif
  endfor
  save_figure (fig, output_dir, "array_field");
endfunction
