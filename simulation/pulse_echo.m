%PULSE_ECHO  Channel data of a probe's transmit events over point scatterers.
%   Y = PULSE_ECHO(SCATTERERS, AMPLITUDES, PROBE, EVENTS, PULSE, [DT NT], T0, [CP ALPHA])
%   Y = PULSE_ECHO(SCATTERERS, AMPLITUDES, PROBE, EVENTS, PULSE, [DT NT], T0, [CP ALPHA], OPTIONS)
%
%   The signal each receive element records for each transmit event of
%   PROBE (PLANE_WAVE_EVENTS, FMC_EVENTS, FOCUSED_EVENTS, ...): for event e
%   and receive channel c (element j = RECEIVE(c,e)), at t = T0 + k*DT us,
%     y(t) = p * sum over scatterers s of A_s (h_tx,e(r_s) * h_j(r_s))(t)
%     h_tx,e(r, t) = sum over elements i of WEIGHT(i,e) h_i(r, t - FIRE(i,e))
%   with h_i(r, t) element i's spatial impulse response at r (in m/s: the
%   response of PLATEWAVE, or DISCWAVE with v = 1 m/s, interval means over
%   N parts as PLATEWAVE_AVG unless N is 0), p the two-way pulse, and * the
%   convolution in time, each the sum over the samples times DT in s: y is
%   in the unit of the pulse times m^2/s. Elements of weight 0 are left
%   out, and each element only over the samples its response can be
%   non-zero in. The scatterers are summed in their order on each channel,
%   which one thread forms, so every thread count gives the same bits.
%
%   The sums are formed on a grid OVERSAMPLE times finer than DT, the pulse
%   interpolated onto it (Kaiser-windowed sinc over 8 samples either side),
%   and the record taken at every OVERSAMPLE-th: the element responses'
%   spectra reach far past the pulse's band and, summed on a coarse grid,
%   alias into it. By default OVERSAMPLE gives 16 samples a period of the
%   pulse's root-mean-square frequency (1 to 4; 3 at 8 samples a period of
%   a 5 MHz pulse of 60 % bandwidth): against a 16 times finer grid, about
%   1.6 % relative RMS error at 4 samples a period and 0.7 % at 8, where
%   OVERSAMPLE = 1 (about 2.5 times as fast at 8) gives 21 % and 6.6 %.
%
%   With ALPHA > 0, the echo sample at time t is formed with the pulse
%   through a round trip of CP*t of the medium of VELK_DAMP (its dispersion
%   included), interpolated between trips 1 mm apart: one attenuation per
%   echo time, that of the scatterers that echo then.
%
%   Arguments
%     SCATTERERS   Ns x 3 scatterer positions [x y z], in mm.
%     AMPLITUDES   Ns x 1 scatterer amplitudes (one value: the same for
%                  all), dimensionless.
%     PROBE        the probe (LINEAR_PROBE): its fields CENTRES, in mm,
%                  and SIZE or RADIUS; where other elements receive, its
%                  field RECEIVER, a probe of its own (pitch-catch).
%     EVENTS       the transmit events: the fields FIRE and WEIGHT and
%                  RECEIVE (element numbers from 1), one column per event,
%                  as PLANE_WAVE_EVENTS makes them.
%     PULSE        the two-way pulse, samples DT apart from time 0; or a
%                  cell {EXCITATION, IMPULSE}, whose two-way pulse is
%                  EXCITATION * IMPULSE * IMPULSE (sums times DT in s).
%     [DT NT]      sampling period, in us, and number of samples.
%     T0           time of the first sample, in us.
%     [CP ALPHA]   sound speed, in m/s, and attenuation, in dB/(cm MHz)
%                  (0: none).
%     OPTIONS      a struct, each field optional:
%                    N         parts of the interval means of the element
%                              responses (default 4; 0: point samples);
%                    oversample  steps of the sums a sample, 1 to 64
%                              (default: as the pulse needs, above);
%                    threads   threads (default: every core);
%                    progress  true: one console line, updated at most
%                              once a second, with the share done and the
%                              time left (default false).
%
%   Result
%     Y   NT x n_rx x n_events channel data: Y(k+1,c,e) is the sample at
%         T0 + k*DT of channel c of event e.
%
%   Example
%     probe = linear_probe (64, 0.3, [0.27 5]);
%     events = plane_wave_events (probe, 0, 1540);
%     dt = 0.025; t = (0:40)' * dt;  pulse = sin (2*pi*5*t) .* hanning (41);
%     Y = pulse_echo ([0 0 20; 3 0 30], 1, probe, events, pulse, [dt 2000], 0, [1540 0.5]);
%     B = beamform (Y, probe, events, [0 dt], 1540, points);
%
%   See also PLANE_WAVE_EVENTS, FMC_EVENTS, BEAMFORM, PLATEWAVE_ARRAY, VELK_DAMP.

## The peak of a point's echo on each channel, for FMC, plane-wave,
## diverging and focused events, lies at the wave's arrival at the point
## plus the way back (the pulse's own peak added), within an eighth of a
## period (the plane waves of 16 elements are plane only near their axis);
## elements small enough that their responses last a sample.
%!test
%! probe = linear_probe (16, 0.3, [0.04 0.04]);
%! dt = 0.01; tp = (0:60)' * dt;
%! pulse = sin (2*pi*5*tp) .* hanning (61);
%! [~, kp] = max (abs (analytic (pulse))); lag = (kp - 1) * dt;
%! p = [0.4 0 12];
%! kinds = {fmc_events(probe), plane_wave_events(probe, [-8 5], 1540), ...
%!          diverging_wave_events(probe, [0 0 -10], 1540), focused_events(probe, [0.4 0 20], 1540, 8)};
%! for k = 1:numel (kinds)
%!   ev = kinds{k};
%!   Y = pulse_echo (p, 1, probe, ev, pulse, [dt 2500], 0, [1540 0]);
%!   for e = 1:numel (ev.t0)
%!     for c = 1:4:rows (ev.receive)
%!       j = ev.receive(c, e);
%!       tau = wave_arrival (p, ev.wave{e}, ev.origin(:,e), ev.t0(e), 1540) ...
%!             + norm (p - probe.centres(j,:)) * 1000 / 1540 + lag;
%!       [~, m] = max (abs (analytic (Y(:,c,e))));
%!       assert ((m - 1) * dt, tau, 0.2 / 8);
%!     endfor
%!   endfor
%! endfor

## Reciprocity: element i transmitting to j records what j to i records;
## linearity in the amplitudes and additivity over the scatterers.
%!test
%! probe = linear_probe (6, 0.4, [0.35 4]);
%! ev = fmc_events (probe);
%! s = [0.5 0.2 8; -1 0 11]; pulse = [0 1 0.5 -0.5 -1 0];
%! Y = pulse_echo (s, [1; -0.5], probe, ev, pulse, [0.02 1500], 0, [1540 0]);
%! for i = 1:6
%!   for j = 1:6
%!     assert (Y(:,j,i), Y(:,i,j), 1e-12 * max (abs (Y(:))));
%!   endfor
%! endfor
%! Y1 = pulse_echo (s(1,:), 1, probe, ev, pulse, [0.02 1500], 0, [1540 0]);
%! Y2 = pulse_echo (s(2,:), 1, probe, ev, pulse, [0.02 1500], 0, [1540 0]);
%! assert (Y, Y1 - 0.5 * Y2, 1e-12 * max (abs (Y(:))));

## Attenuation lowers the echo's centre frequency by 2 a' d s^2 for a
## spectrum of power variance s^2 over a round trip d (a' in Np/(m Hz)),
## within a tenth (the spectrum is Gaussian only nearly).
%!test
%! probe = linear_probe (1, 0.3, [0.27 5]); ev = fmc_events (probe);
%! dt = 0.01; s = 1 / (2*pi*0.6*5/2.355); tp = (0:dt:8*s)'; nt = 6000; z = 30;
%! pulse = exp (-(tp - 4*s).^2 / (2*s^2)) .* sin (2*pi*5*(tp - 4*s));
%! f = (0:nt/2 - 1)' / (nt * dt);
%! for alpha = [0.3 0.7]
%!   P0 = abs (fft (pulse_echo ([0 0 z], 1, probe, ev, pulse, [dt nt], 0, [1540 0]))).^2;
%!   P1 = abs (fft (pulse_echo ([0 0 z], 1, probe, ev, pulse, [dt nt], 0, [1540 alpha]))).^2;
%!   P0 = P0(1:nt/2); P1 = P1(1:nt/2);
%!   m0 = f' * P0 / sum (P0); v0 = ((f - m0).^2)' * P0 / sum (P0);
%!   a = alpha * 100 / (20 / log (10)) / 1e6;
%!   assert (f' * P1 / sum (P1) - m0, -2 * a * (2 * z / 1000) * v0 * 1e6, 0.1 * 2 * a * (2 * z / 1000) * v0 * 1e6);
%! endfor

## Accuracy at the sampling rates users take: the relative RMS error of
## the channels against the same call on a 16 times finer grid (point
## scatterers from 5 to 60 mm, 0.27 mm elements at 5 MHz), at 4 and 8
## samples a period; the sums on the record's own grid are far off.
%!test
%! fc = 5; probe = linear_probe (16, 0.3, [0.27 5]); ev = plane_wave_events (probe, 0, 1540);
%! z = (5:5:60)'; S = [linspace(-2, 2, 12)', zeros(12, 1), z];
%! s = 1 / (2*pi*0.6*fc/2.355);
%! pulse = @(dt) exp (-((0:dt:8*s)' - 4*s).^2 / (2*s^2)) .* sin (2*pi*fc*((0:dt:8*s)' - 4*s));
%! for c = {4, 0.03; 8, 0.01}'
%!   dt = 1 / (c{1} * fc); nt = floor (85 / dt);
%!   run = @(dt, nt, o) pulse_echo (S, 1, probe, ev, pulse (dt), [dt nt], 0, [1540 0], o);
%!   R = run (dt / 16, 16 * nt, struct ("oversample", 1))(1:16:end, :);
%!   error_of = @(Y) norm (Y(:) - R(:)) / norm (R(:));
%!   assert (error_of (run (dt, nt, struct ())) < c{2});
%!   assert (error_of (run (dt, nt, struct ("oversample", 1))) > 2 * c{2});
%! endfor

## Events summed together give each event's bits alone: events whose axes
## start at different samples (t0 past their earliest fire times), and a
## long record whose events are summed in several groups, each event on
## its own four receivers.
%!test
%! p = sin (2*pi*5*(0:0.025:0.4)');
%! probe = linear_probe (4, 0.3, [0.27 5]); ev = fmc_events (probe);
%! ev.fire(:,2) += 0.5; ev.fire(:,4) -= 0.3;
%! cases = {probe, ev, [0 0 10; 0.5 0 12], [0.025 600], 10, struct()};
%! probe = linear_probe (16, 0.3, [0.27 5]); ev = fmc_events (probe);
%! ev.receive = mod ((0:15) + (0:3)', 16) + 1;
%! cases(2,:) = {probe, ev, [0.2 0 10], [0.025 200000], 0, struct("oversample", 1, "threads", 1)};
%! for k = 1:rows (cases)
%!   [probe, ev, S, sampling, t0, o] = cases{k,:};
%!   run = @(ev) pulse_echo (S, 1 - 2 * (1:rows (S))' + 2, probe, ev, p, sampling, t0, [1540 0], o);
%!   Y = run (ev);
%!   for e = 1:numel (ev.t0)
%!     one = ev; one.fire = ev.fire(:,e); one.weight = ev.weight(:,e); one.receive = ev.receive(:,e);
%!     one.wave = ev.wave(e); one.origin = ev.origin(:,e); one.t0 = ev.t0(e);
%!     assert (isequal (run (one), Y(:,:,e)));
%!   endfor
%! endfor

## Threads: the same bits on 1, 2 and 3 threads, with attenuation.
%!test
%! probe = linear_probe (8, 0.3, [0.27 5]);
%! ev = plane_wave_events (probe, [-5 0 5], 1540);
%! rand ("state", 3); s = [rand(40,1)*4-2, zeros(40,1), 5+rand(40,1)*10];
%! pulse = sin (2*pi*5*(0:20)'*0.025) .* hanning (21);
%! run = @(n) pulse_echo (s, 1, probe, ev, pulse, [0.025 700], 2, [1540 0.5], struct ("threads", n));
%! Y1 = run (1);
%! assert (any (Y1(:) != 0));
%! assert (isequal (run (2), Y1) && isequal (run (3), Y1));

%!error <pulse_echo requires 8 or 9 input arguments!> pulse_echo (1)
%!error <Argument 5 must be a finite real vector> pulse_echo ([0 0 5], 1, linear_probe (2, 0.3, [0.27 5]), plane_wave_events (linear_probe (2, 0.3, [0.27 5]), 0, 1540), [1 NaN], [0.025 10], 0, [1540 0])
%!error <Argument 8 must hold an attenuation that is finite and 0 or more!> pulse_echo ([0 0 5], 1, linear_probe (2, 0.3, [0.27 5]), plane_wave_events (linear_probe (2, 0.3, [0.27 5]), 0, 1540), 1, [0.025 10], 0, [1540 -1])
