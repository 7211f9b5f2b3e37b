## demo_cyst_phantom (out_dir, share, scheme, n_angles)
## The cyst-phantom job in Octave: a speckle phantom with cysts and point
## targets (cyst_phantom, at SHARE of the density of fully developed
## speckle, default 0.005), the channel data of a 128-element linear probe
## (pulse_echo), the delay-and-sum image of its analytic signal (beamform),
## its B-mode with the cysts drawn, and the image's quality (image_quality)
## against the textbook's widths. The same job as examples/cyst_phantom.py,
## scanned by SCHEME:
##   "plane"    compounded plane waves (the default): N_ANGLES of them, 3 by
##              default at -6, 0 and 6 degrees, any other count evenly over
##              -16..16 degrees (1: 0 degrees; 11, 75);
##   "focused"  128 lines from -19 to 19 mm, each from a 64-element aperture
##              focused at 30 mm (triangle weights) and received on the
##              same elements, each line's column of points imaged from its
##              own event (dynamic receive focusing);
##   "fmc"      full-matrix capture of a 64-element probe of the same pitch,
##              imaged by the total focusing method.
function demo_cyst_phantom (out_dir = "demo_output", share = 0.005, scheme = "plane", n_angles = 3)
  fc = 5; cp = 1540; dt = 1 / (8 * fc); lambda = cp / fc / 1000;
  sigma = 1 / (2 * pi * 0.6 * fc / 2.355); tp = (0:dt:8 * sigma)';
  pulse = exp (-(tp - 4 * sigma).^2 / (2 * sigma^2)) .* sin (2 * pi * fc * (tp - 4 * sigma));
  ## Ten scatterers per resolution cell (cyst_phantom's default density):
  ## lambda F laterally (F = 2), min (lambda F_elevation, 10 mm) in y (F_elevation = 6),
  ## half a two-cycle pulse in depth.
  density = 10 / ((0.308 * 2) * min (0.308 * 6, 10) * 0.308);
  P = cyst_phantom ([-20 20; -5 5; 5 55], "density", share * density, "seed", 1);
  [probe, events, lines, half_width] = scan (scheme, n_angles, cp);
  n_events = numel (events.t0);
  nt = fix (2 * 60 / cp * 1000 / dt);
  printf ("phantom: %d scatterers, %d %s events, %d elements, %d samples at %g MHz\n",
          numel (P.amplitudes), n_events, scheme, rows (probe.centres), nt, 1 / dt);
  tic;
  Y = pulse_echo (P.positions, P.amplitudes, probe, events, pulse, [dt nt], 0, [cp 0.5],
                  struct ("progress", 1));
  simulated = toc;
  x = -half_width:lambda / 2:half_width; z = (6:lambda / 4:54)';
  ## The pulse's peak lies 4 sigma after its start: the data's time origin moves by it.
  timing = [-4 * sigma dt];
  options = struct ("fnumber", 1.5, "window", "hann");
  tic;
  S = reshape (analytic (reshape (Y, nt, [])), size (Y, 1), size (Y, 2), n_events);
  if (strcmp (scheme, "focused"))
    [env, x] = focused_image (S, probe, events, lines, x, z, timing, cp, options);
  else
    [X, Z] = meshgrid (x, z);
    B = beamform (S, probe, events, timing, cp, [X(:), zeros(numel (X), 1), Z(:)], options);
    env = reshape (abs (B), size (X));
  endif
  imaged = toc;
  printf ("pulse_echo: %.1f s; beamform: %.2f s\n", simulated, imaged);
  print_quality (env, x, z, P, lambda, 4 * sigma * cp / 1000);

  fig = figure ("visible", "off");
  ## A tall image on the landscape page: room kept for the title and the x axis.
  axes ("position", [0.2 0.2 0.6 0.66]);
  imagesc (x, z, bmode (env, 60)); colormap (gray); axis image; set (gca (), "xtick", -20:10:20);
  ylabel (colorbar (), "dB");
  hold on;
  a = linspace (0, 2 * pi, 60);
  for k = 1:numel (P.cysts)
    plot (P.cysts(k).centre(1) + P.cysts(k).radius * cos (a),
          P.cysts(k).centre(3) + P.cysts(k).radius * sin (a), "r");
  endfor
  xlabel ("x [mm]"); ylabel ("z [mm]");
  title (sprintf ("Cyst phantom, %d %s events (dB)", n_events, scheme));
  if (! exist (out_dir, "dir"))
    mkdir (out_dir);
  endif
  save_figure (fig, out_dir, figure_name (scheme, n_angles));
endfunction

## The probe and transmit events of SCHEME, the lateral positions of the
## focused lines (empty for the others) and the image's half width, mm.
function [probe, events, lines, half_width] = scan (scheme, n_angles, cp)
  probe = linear_probe (128, 0.3, [0.27 5]);
  lines = [];
  half_width = 19;
  switch (scheme)
    case "plane"
      events = plane_wave_events (probe, plane_wave_angles (n_angles), cp);
    case "focused"
      lines = linspace (-19, 19, 128)';
      events = focused_events (probe, [lines, zeros(128, 1), repmat(30, 128, 1)], cp, 64,
                               "triangle");
    case "fmc"
      probe = linear_probe (64, 0.3, [0.27 5]);
      events = fmc_events (probe);
      half_width = 15;
    otherwise
      error ("demo_cyst_phantom: SCHEME must be 'plane', 'focused' or 'fmc', not '%s'", scheme);
  endswitch
endfunction

## The compound's angles, degrees: the demo's three, or N evenly over -16..16.
function angles = plane_wave_angles (n)
  if (n == 3)
    angles = [-6 0 6];
  elseif (n == 1)
    angles = 0;
  else
    angles = linspace (-16, 16, n);
  endif
endfunction

## Each focused line images its own column of points (the column of X
## nearest the line) from its own event; the columns no line falls on are
## dropped, and X with them.
function [env, x] = focused_image (S, probe, events, lines, x, z, timing, cp, options)
  env = zeros (numel (z), numel (x));
  column = round ((lines - x(1)) / (x(2) - x(1))) + 1;
  for e = find (column >= 1 & column <= numel (x))'
    at = [repmat(x(column(e)), numel (z), 1), zeros(numel (z), 1), z];
    env(:, column(e)) = abs (beamform (S(:,:,e), probe, one_event (events, e), timing, cp, at,
                                        options));
  endfor
  keep = any (env, 1);
  x = x(keep);
  env = env(:, keep);
endfunction

## Event E of EVENTS as a set of one event.
function ev = one_event (events, e)
  ev = events;
  for name = fieldnames (events)'
    ev.(name{1}) = events.(name{1})(:, e);
  endfor
endfunction

## Contrast and CNR of each cyst inside the image (inside 0.8 r, against
## the ring from 1.2 r to 2 r), the speckle SNR of a disc of background,
## and the -6 dB widths of the point target nearest 30 mm against the
## textbook's (receive focusing at F 1.5, half the pulse's length
## PULSE_LENGTH, mm).
function print_quality (env, x, z, P, lambda, pulse_length)
  for c = P.cysts
    at = [c.centre([1 3]), c.radius];
    if (at(1) - at(3) >= x(1) && at(1) + at(3) <= x(end))
      inside = [at(1:2) 0.8 * at(3)];
      ring = [at(1:2) 1.2 * at(3) 2 * at(3)];
      printf ("cyst at (%g, %g) mm, radius %g mm, %s: contrast %.1f dB, CNR %.2f\n", at, c.kind,
              image_quality (env, x, z, "contrast", inside, ring),
              image_quality (env, x, z, "cnr", inside, ring));
    endif
  endfor
  printf ("speckle SNR %.2f (fully developed: 1.91)\n",
          image_quality (env, x, z, "speckle_snr", [5 20 3]));
  [~, k] = min (abs (P.targets(:,3) - 30));
  target = P.targets(k,:);
  printf ("target at %g mm: -6 dB widths axial %.2f mm, lateral %.2f mm (textbook: %.2f, %.2f)\n",
          target(3), image_quality (env, x, z, "widths", target), pulse_length / 2,
          1.2067 * lambda * 1.5);
endfunction

## The figure's file name: the default job's, or one naming the scheme.
function name = figure_name (scheme, n_angles)
  name = "cyst_phantom_octave";
  if (! strcmp (scheme, "plane"))
    name = [name "_" scheme];
  elseif (n_angles != 3)
    name = sprintf ("%s_%d_angles", name, n_angles);
  endif
endfunction
