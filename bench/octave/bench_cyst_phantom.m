## bench_cyst_phantom ()
## The cyst-phantom job (examples/demo_cyst_phantom.m) at a fixed size: 10^5
## scatterers of the default cyst phantom (its targets among them), a
## 128-element probe (pitch 0.3 mm, 0.27 x 5 mm), 5 MHz, sampled at 40 MHz
## (8 fc), 0.5 dB/(cm MHz), one plane wave at 0 degrees received on all
## elements. Prints, on 1 and 2 threads, the simulation (pulse_echo) as
## scatterer x element x event triples per second and the imaging (beamform
## of the analytic signal on a B-mode grid of lambda/2 x lambda/4 over the
## phantom, F 1.5, Hann window as in the job) as point x element x event
## triples per second, every element counted (the F-number's aperture
## takes fewer near the probe), with the processor time of each. A
## simulation call takes 1.5 minutes of processor time, so it is timed once
## per thread count (the first call's planning, well under a second, in
## the one-thread time); the imaging by TIME_CALL.
function bench_cyst_phantom ()
  fc = 5; cp = 1540; dt = 1 / (8 * fc); lambda = cp / fc / 1000;
  sigma = 1 / (2 * pi * 0.6 * fc / 2.355); tp = (0:dt:8 * sigma)';
  pulse = exp (-(tp - 4 * sigma).^2 / (2 * sigma^2)) .* sin (2 * pi * fc * (tp - 4 * sigma));
  Ns = 1e5;
  box = [-20 20; -5 5; 5 55];
  ## Drawn a little denser than Ns over the box (the anechoic cysts empty
  ## some), then cut to Ns with the targets kept.
  P = cyst_phantom (box, "density", 1.1 * Ns / prod (diff (box, 1, 2)), "seed", 1);
  n_targets = rows (P.targets);
  keep = [1:Ns - n_targets, rows(P.positions) - n_targets + 1:rows(P.positions)];
  S = P.positions(keep, :);
  A = P.amplitudes(keep);
  probe = linear_probe (128, 0.3, [0.27 5]);
  plane = plane_wave_events (probe, 0, cp);
  nt = fix (2 * 60 / cp * 1000 / dt);
  [X, Z] = meshgrid (box(1,1):lambda / 2:box(1,2), box(3,1):lambda / 4:box(3,2));
  points = [X(:), zeros(numel (X), 1), Z(:)];
  printf ("cyst phantom: %d scatterers, 128 elements, 1 plane wave, %d samples at 40 MHz; image of %d x %d points\n",
          Ns, nt, columns (X), rows (X));

  for n = [1 2]
    start = cputime ();
    tic;
    Y = pulse_echo (S, A, probe, plane, pulse, [dt nt], 0, [cp 0.5], struct ("threads", n));
    simulated(n) = toc;
    sim_processor(n) = cputime () - start;
  endfor
  data = analytic (Y);
  image = @(n) beamform (data, probe, plane, [-4 * sigma dt], cp, points,
                         struct ("fnumber", 1.5, "window", "hann", "threads", n));
  for n = [1 2]
    [imaged(n), ~, img_processor(n)] = time_call (@() image (n), 2);
    printf ("cyst phantom, %d thread%s: pulse_echo %.1f s, %.3g scatterer x element x event per second; beamform %.3f s, %.3g point x element x event per second\n",
            n, "s"(n > 1), simulated(n), Ns * 128 / simulated(n), imaged(n),
            rows (points) * 128 / imaged(n));
  endfor
  print_processor_time ("cyst phantom pulse_echo", sim_processor(1), sim_processor(2));
  print_processor_time ("cyst phantom beamform", img_processor(1), img_processor(2));
endfunction
