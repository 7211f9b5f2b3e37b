## Y = pulse_echo_reference (scatterers, amplitudes, probe, events, pulse, sampling, t0, medium, options)
## The echoes written out with the array and piston modules, scatterer by
## scatterer, channel by channel, without attenuation, on the grid of the
## sums (options.oversample steps a record sample, or as many as the pulse
## needs): the transmit column from platewave_array (the event's fire times
## and weights), the receive element's from platewave_avg, on an axis that
## holds the event's earliest fire time, convolved with each other and with
## the pulse (interpolated onto that grid by the Kaiser-windowed sinc) by
## Octave's conv, taken at the record's samples.
function Y = pulse_echo_reference (S, A, probe, events, pulse, sampling, t0, medium, options)
  K = steps (pulse, options);
  dt = sampling(1) / K; nt = sampling(2); cp = medium(1); N = options.N;
  [pulse, lead] = fine_pulse (pulse(:), K);
  n_rx = rows (events.receive); n_events = numel (events.t0);
  A = A(:) .* ones (rows (S), 1);
  Y = zeros (nt, n_rx, n_events);
  L = numel (pulse);
  for e = 1:n_events
    t_echo = t0 - (L - 1 - lead) * dt;   # whole samples before it hold the earliest fire time
    t_tx = t_echo - max ([0; ceil((t_echo - events.fire(events.weight(:,e) != 0, e)) / dt)]) * dt;
    n = ceil ((t0 + nt * K * dt - t_tx) / dt) + 1;   # samples from t_tx past the record
    for c = 1:n_rx
      j = events.receive(c, e);
      E = zeros (2 * n - 1, 1);
      for s = 1:rows (S)
        tx = platewave_array (S(s,:), probe.centres, probe.size, [dt n], t_tx, [1 cp],
                              {"ud", events.fire(:,e)'}, "off", {"ud", events.weight(:,e)'}, N, 1);
        rx = platewave_avg (S(s,:) - probe.centres(j,:), probe.size, [dt n], 0, [1 cp], N);
        E += A(s) * dt * 1e-6 * conv (tx, rx);
      endfor
      y = conv (E, pulse) * dt * 1e-6;   # sample i at t_tx + (i - lead) dt
      k = round ((t0 - t_tx) / dt) + lead;
      Y(:, c, e) = y(k + 1 + K * (0:nt - 1));
    endfor
  endfor
endfunction

## Steps a record sample: the option, or enough for 16 samples a period of
## the pulse's root-mean-square frequency (from its differences), 1 to 4.
function K = steps (p, options)
  if (isfield (options, "oversample"))
    K = options.oversample;
  elseif (! any (p))
    K = 1;
  else
    d = diff ([0; p(:); 0]);
    K = min (4, max (1, ceil (16 * asin (min (1, sqrt (sumsq (d) / sumsq (p)) / 2)) / pi)));
  endif
endfunction

## The pulse every 1/K of its sampling period, from 8 samples before its
## first to 8 after its last, by the sinc windowed by a Kaiser window
## (beta 8) over 8 samples either side; lead of them before its first.
function [f, lead] = fine_pulse (p, K)
  if (K == 1)
    f = p; lead = 0;
    return;
  endif
  W = 8; lead = W * K;
  u = (-lead:(numel (p) - 1 + W) * K)' / K;
  f = zeros (size (u));
  for q = 0:numel (p) - 1
    d = u - q;
    w = besseli (0, 8 * sqrt (max (0, 1 - (d / W).^2))) / besseli (0, 8);
    f += p(q + 1) * sinc (d) .* w .* (abs (d) < W);
  endfor
endfunction
