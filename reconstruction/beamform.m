%BEAMFORM  Delay-and-sum image of array data: full matrix, plane waves, diverging waves, focused lines.
%   B = BEAMFORM(DATA, PROBE, EVENTS, [T0 DT], CP, POINTS)
%   B = BEAMFORM(DATA, PROBE, EVENTS, [T0 DT], CP, POINTS, OPTIONS)
%
%   The image at any set of POINTS of the channel data DATA recorded for
%   the transmit EVENTS of PROBE (PLANE_WAVE_EVENTS, FMC_EVENTS, ...): at
%   point p, for event e and receive channel c (element j = RECEIVE(c,e)),
%   the channel's sample at the delay
%     tau = WAVE_ARRIVAL (p, WAVE{e}, ORIGIN(:,e), T0(e), CP) + |p - centre_j| * 1000 / CP
%   (us), interpolated between samples; summed over the channels (weighted
%   by the receive window) and then over the events, each sum in index
%   order, so that every thread count gives the same bits. Samples outside
%   the record count as 0.
%
%   Arguments
%     DATA     NT x n_rx x n_events channel data: row k+1 of channel c of
%              event e is the sample at T0 + k*DT us. Real (RF), or
%              complex: the analytic signal of the RF, or I/Q data (see FD).
%              Doubles or singles (read as singles, summed in double).
%     PROBE    the probe (LINEAR_PROBE): its field CENTRES, in mm, and, where
%              other elements receive, its field RECEIVER, whose centres
%              the receive indices refer to.
%     EVENTS   the transmit events: the fields RECEIVE (element numbers
%              from 1, one column per event), WAVE, ORIGIN and T0 (see
%              PLANE_WAVE_EVENTS).
%     [T0 DT]  time of the first sample and sampling period, in us.
%     CP       sound speed, in m/s.
%     POINTS   No x 3 image points [x y z], in mm: a grid, a line, a volume.
%     OPTIONS  a struct, each field optional:
%                interpolation  "linear" (default) or "nearest";
%                fnumber        F >= 0 (default 0: every element): element j
%                               takes part for p when its lateral distance
%                               r_j <= z / (2 F), weighted by the window of
%                               2 F r_j / z;
%                window         "boxcar" (default), "hann" or "tukey";
%                tx_window      "none" (default), or a window: for plane
%                               and diverging waves, a point counts for an
%                               event only when the ray of the wave through
%                               it crosses the probe's face within the
%                               aperture, weighted by the window there;
%                compound       true (default): the coherent sum over the
%                               events; false: one image per event;
%                fd             for I/Q data (complex DATA mixed down by
%                               exp(-2 pi i FD t)), the demodulation
%                               frequency in MHz: each value is turned by
%                               exp(2 pi i FD tau) before the sums;
%                threads        threads (default: every core).
%
%   Result
%     B        No x 1 (No x n_events when not compounded), real for real
%              data, complex for complex data; abs (B) of the analytic or
%              I/Q image is the envelope.
%
%   Example
%     probe = linear_probe (64, 0.3, [0.27 5]);
%     events = plane_wave_events (probe, [-5 0 5], 1540);
%     data = zeros (2000, 64, 3);                % channel data at 40 MHz from t = 0
%     [x, z] = meshgrid (-10:0.1:10, 5:0.1:40);
%     B = beamform (data, probe, events, [0 0.025], 1540, [x(:), 0*x(:), z(:)]);
%
%   See also PULSE_ECHO, PLANE_WAVE_EVENTS, WAVE_ARRIVAL, ANALYTIC, BMODE.

## A point's echo on every channel of two plane waves, made from the
## convention, is imaged at the point: the image peaks there.
%!test
%! probe = linear_probe (32, 0.3, [0.27 5]);
%! events = plane_wave_events (probe, [-5 5], 1540);
%! p = [1 0 12]; dt = 0.025; t = (0:1199)' * dt;
%! data = zeros (1200, 32, 2);
%! for e = 1:2
%!   for j = 1:32
%!     tau = wave_arrival (p, "plane", events.origin(:,e), events.t0(e), 1540) + norm (p - probe.centres(j,:)) * 1000 / 1540;
%!     data(:,j,e) = exp (-((t - tau) / 0.1).^2) .* cos (2*pi*5*(t - tau));
%!   endfor
%! endfor
%! [x, z] = meshgrid (-1:0.05:3, 11:0.05:13);
%! B = beamform (data, probe, events, [0 dt], 1540, [x(:), 0*x(:), z(:)]);
%! [~, k] = max (B);
%! assert ([x(k) z(k)], p([1 3]), 0.051);

%!error <Argument 1 must hold one column of samples per receive element and event> beamform (zeros (10, 3), linear_probe (2, 0.3, [0.27 5]), plane_wave_events (linear_probe (2, 0.3, [0.27 5]), 0, 1540), [0 0.1], 1540, [0 0 5])
