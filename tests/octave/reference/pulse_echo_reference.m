## Y = pulse_echo_reference (scatterers, amplitudes, probe, events, pulse, sampling, t0, medium, options)
## The echoes written out with the array and piston modules, scatterer by
## scatterer, channel by channel, without attenuation: the transmit column
## from platewave_array (the event's fire times and weights), the receive
## element's from platewave_avg, on an axis that holds the event's earliest
## fire time,
## convolved with each other and with the pulse by Octave's conv.
function Y = pulse_echo_reference (S, A, probe, events, pulse, sampling, t0, medium, options)
  dt = sampling(1); nt = sampling(2); cp = medium(1); N = options.N;
  n_rx = rows (events.receive); n_events = numel (events.t0);
  A = A(:) .* ones (rows (S), 1);
  Y = zeros (nt, n_rx, n_events);
  L = numel (pulse);
  for e = 1:n_events
    t_echo = t0 - (L - 1) * dt;   # whole samples before it hold the earliest fire time
    t_tx = t_echo - max ([0; ceil((t_echo - events.fire(events.weight(:,e) != 0, e)) / dt)]) * dt;
    n = ceil ((t0 + nt * dt - t_tx) / dt) + 1;   # samples from t_tx past the record
    for c = 1:n_rx
      j = events.receive(c, e);
      E = zeros (2 * n - 1, 1);
      for s = 1:rows (S)
        tx = platewave_array (S(s,:), probe.centres, probe.size, [dt n], t_tx, [1 cp],
                              {"ud", events.fire(:,e)'}, "off", {"ud", events.weight(:,e)'}, N, 1);
        rx = platewave_avg (S(s,:) - probe.centres(j,:), probe.size, [dt n], 0, [1 cp], N);
        E += A(s) * dt * 1e-6 * conv (tx, rx);
      endfor
      y = conv (E, pulse(:)) * dt * 1e-6;   # sample i at t_tx + i dt
      k = round ((t0 - t_tx) / dt);
      Y(:, c, e) = y(k + (1:nt));
    endfor
  endfor
endfunction
