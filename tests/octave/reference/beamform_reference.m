## B = beamform_reference (data, probe, events, timing, cp, points)
## Delay-and-sum written out, point by point, event by event, channel by
## channel: every element takes part with weight 1, linear interpolation,
## samples outside the record 0, the events summed.
function B = beamform_reference (data, probe, events, timing, cp, points)
  n_rx = rows (events.receive);
  B = zeros (rows (points), 1);
  for p = 1:rows (points)
    for e = 1:numel (events.t0)
      tx = wave_arrival (points(p,:), events.wave{e}, events.origin(:,e), events.t0(e), cp);
      for c = 1:n_rx
        j = events.receive(c,e);
        tau = tx + norm (points(p,:) - probe.centres(j,:)) * 1000 / cp;
        s = (tau - timing(1)) / timing(2);
        k = floor (s);
        channel = data(:, (e - 1) * n_rx + c);
        B(p) += (1 - (s - k)) * sample_at (channel, k) + (s - k) * sample_at (channel, k + 1);
      endfor
    endfor
  endfor
endfunction

## Sample i (from 0) of a channel, 0 outside it.
function v = sample_at (channel, i)
  v = 0;
  if (i >= 0 && i < numel (channel))
    v = channel(i + 1);
  endif
endfunction
