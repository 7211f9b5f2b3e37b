## rows = bench_pulse_echo ()
## pulse_echo on the workload of a linear-array phantom: 128 elements (pitch
## 0.3 mm, 0.27 x 5 mm), 5 MHz, sampled at 40 MHz (8 fc), one plane wave at
## 0 degrees received on all 128 elements, 10^4 scatterers uniform over x
## -15..15 mm, z 5..60 mm; on 1 and 2 threads, as scatterer x receive
## element pairs per second, with the sums on the grid the pulse needs
## (the default: 3 steps a sample here) and on the record's own grid
## (oversample 1, as the loop). Its peer is the fastest Octave a user writes
## with the toolbox's modules: a loop over the scatterers, the transmit
## column from platewave_array, the 128 receive columns from platewave_avg
## (vectorised over the elements), cut to their non-zero samples and
## convolved by fold_mt; timed on 20 scatterers (it checks against the
## module first) and given per pair. Also one focused line (64-element
## transmit and receive aperture) on 10^4 scatterers, scaled to 10^6.
function rows = bench_pulse_echo ()
  fc = 5; dt = 1 / (8 * fc); cp = 1540; nt = 3600;
  probe = linear_probe (128, 0.3, [0.27 5]);
  plane = plane_wave_events (probe, 0, cp);
  sigma = 1 / (2 * pi * 0.6 * fc / 2.355); t = (0:dt:8 * sigma)';
  pulse = exp (-(t - 4 * sigma).^2 / (2 * sigma^2)) .* sin (2 * pi * fc * (t - 4 * sigma));
  rand ("state", 1);
  Ns = 1e4; S = [rand(Ns, 1) * 30 - 15, zeros(Ns, 1), 5 + rand(Ns, 1) * 55];
  run = @(S, n, events, varargin) pulse_echo (S, 1, probe, events, pulse, [dt nt], 0, [cp 0],
                                              struct ("threads", n, varargin{:}));

  few = S(1:20, :);
  loop = @() scatterer_loop (few, probe, plane, pulse, dt, nt, cp);
  expected = run (few, 1, plane, "oversample", 1);
  if (max (abs (loop () - expected)(:)) > 1e-10 * max (abs (expected(:))))
    error ("bench: pulse_echo and the loop over the scatterers differ");
  endif
  [loop_steady, loop_first] = time_call (loop, 2);
  pairs = 128 * Ns;
  rows = {};
  for grid = {{}, {"oversample", 1}}
    for n = [1 2]
      [steady, first, processor(n)] = time_call (@() run (S, n, plane, grid{1}{:}), 2);
      name = sprintf ("pulse_echo%s, %d thread%s", {", oversample 1", ""}{1 + isempty(grid{1})}, n, "s"(n > 1));
      rows{end+1} = {name, "128 el., plane wave, 40 MHz, 10^4 scatterers", first, steady, ...
                     "loop over scatterers (x500)", 500 * loop_first, 500 * loop_steady};
      printf ("%s: %.3g scatterer x element pairs per second (the loop: %.3g)\n",
              name, pairs / steady, 20 * 128 / loop_steady);
    endfor
    print_processor_time ("pulse_echo", processor(1), processor(2));
  endfor

  line = focused_events (probe, [0 0 30], cp, 64);
  tic; run (S, 2, line); once = toc;
  printf ("pulse_echo, one focused line (64 elements), 10^4 scatterers: %.2f s on 2 threads; 10^6 scatterers: about %.0f s\n",
          once, 100 * once);
endfunction

## The channels written out: per scatterer, the transmit column and the
## receive columns over the samples they can be non-zero in, convolved,
## added at their place, then the pulse over every channel.
function Y = scatterer_loop (S, probe, events, pulse, dt, nt, cp)
  L = numel (pulse);
  n = nt + L - 1;
  E = zeros (2 * n, rows (probe.centres));
  t_tx = -(L - 1) * dt;
  fire = events.fire(:, 1)';
  for s = 1:rows (S)
    tx = platewave_array (S(s,:), probe.centres, probe.size, [dt n], t_tx, [1 cp], {"ud", fire}, "off", "off", 4, 1);
    rx = platewave_avg (S(s,:) - probe.centres, probe.size, [dt n], 0, [1 cp], 4);
    kt = find (tx); kr = find (any (rx, 2));
    if (isempty (kt) || isempty (kr))
      continue;
    endif
    kt = kt(1):kt(end); kr = kr(1):kr(end);
    c = fold_mt (rx(kr, :) * (dt * 1e-6), tx(kt), 1);
    first = kt(1) + kr(1) - 1;
    E(first:first + rows (c) - 1, :) += c;
  endfor
  Y = fold_mt (E(1:n, :), pulse(:), 1)(L:L + nt - 1, :) * dt * 1e-6;
endfunction
