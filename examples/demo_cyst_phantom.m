## demo_cyst_phantom (out_dir, share)
## The cyst-phantom job in Octave: a speckle phantom with cysts and point
## targets (cyst_phantom, at SHARE of the density of fully developed
## speckle, default 0.005), the channel data of a 128-element linear probe
## for plane waves at -6, 0 and 6 degrees (pulse_echo), the delay-and-sum
## image of its analytic signal (beamform), its B-mode with the cysts drawn,
## and the image's quality (image_quality). The same job as
## examples/cyst_phantom.py.
function demo_cyst_phantom (out_dir = "demo_output", share = 0.005)
  fc = 5; cp = 1540; dt = 1 / (8 * fc); lambda = cp / fc / 1000;
  sigma = 1 / (2 * pi * 0.6 * fc / 2.355); tp = (0:dt:8 * sigma)';
  pulse = exp (-(tp - 4 * sigma).^2 / (2 * sigma^2)) .* sin (2 * pi * fc * (tp - 4 * sigma));
  ## Ten scatterers per resolution cell (cyst_phantom's default density):
  ## lambda F laterally (F = 2), min (lambda F_elevation, 10 mm) in y (F_elevation = 6),
  ## half a two-cycle pulse in depth.
  density = 10 / ((0.308 * 2) * min (0.308 * 6, 10) * 0.308);
  P = cyst_phantom ([-20 20; -5 5; 5 55], "density", share * density, "seed", 1);
  probe = linear_probe (128, 0.3, [0.27 5]);
  events = plane_wave_events (probe, [-6 0 6], cp);
  nt = fix (2 * 60 / cp * 1000 / dt);
  printf ("phantom: %d scatterers, %d plane waves, 128 elements, %d samples at %g MHz\n",
          numel (P.amplitudes), numel (events.t0), nt, 1 / dt);
  tic;
  Y = pulse_echo (P.positions, P.amplitudes, probe, events, pulse, [dt nt], 0, [cp 0.5],
                  struct ("progress", 1));
  simulated = toc;
  x = -19:lambda / 2:19; z = 6:lambda / 4:54;
  [X, Z] = meshgrid (x, z);
  tic;
  B = beamform (analytic (reshape (Y, nt, [])), probe, events, [-4 * sigma dt], cp,
                [X(:), zeros(numel (X), 1), Z(:)], struct ("fnumber", 1.5, "window", "hann"));
  imaged = toc;
  env = reshape (abs (B), size (X));
  printf ("pulse_echo: %.1f s; beamform: %.2f s\n", simulated, imaged);
  c = [-10 15 4];   # the largest anechoic cyst: x, z, radius
  printf ("cyst at (%g, %g) mm, radius %g mm: contrast %.1f dB, CNR %.2f\n", c,
          image_quality (env, x, z, "contrast", [c(1:2) 0.8 * c(3)], [c(1:2) 1.2 * c(3) 2 * c(3)]),
          image_quality (env, x, z, "cnr", [c(1:2) 0.8 * c(3)], [c(1:2) 1.2 * c(3) 2 * c(3)]));
  printf ("speckle SNR %.2f (fully developed: 1.91)\n", image_quality (env, x, z, "speckle_snr", [5 20 3]));
  w = image_quality (env, x, z, "widths", [0 30]);
  printf ("target at 30 mm: -6 dB widths axial %.2f mm, lateral %.2f mm\n", w);
  fig = figure ("visible", "off");
  imagesc (x, z, bmode (env, 50)); colormap (gray); axis image; colorbar;
  hold on;
  for k = 1:numel (P.cysts)
    a = linspace (0, 2 * pi, 60);
    plot (P.cysts(k).centre(1) + P.cysts(k).radius * cos (a),
          P.cysts(k).centre(3) + P.cysts(k).radius * sin (a), "r");
  endfor
  xlabel ("x [mm]"); ylabel ("z [mm]"); title ("Cyst phantom, 3 plane waves (dB)");
  save_figure (fig, out_dir, "cyst_phantom_octave");
endfunction
