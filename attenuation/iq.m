%IQ  I/Q (baseband) data of real signals.
%   Q = IQ(X, [FD BANDWIDTH], [DT DELAY])
%
%   Each column's analytic signal (ANALYTIC), its spectrum kept only within
%   BANDWIDTH/2 of FD, mixed down by exp(-2 pi i FD t) with the time
%   t = DELAY + k*DT of each sample k: the baseband data a scanner delivers,
%   which may then be sampled at one or two samples per period of FD (Q(1:4:end,:)
%   with 4*DT) and imaged by BEAMFORM with the option fd = FD.
%
%   Arguments
%     X                NT x N real signals, one per column.
%     [FD BANDWIDTH]   demodulation frequency and bandwidth kept, in MHz.
%     [DT DELAY]       sampling period and time of the first sample, in us.
%
%   Result
%     Q   NT x N complex baseband signals, in the unit of X.
%
%   Example
%     t = (0:511)' * 0.025;
%     x = exp (-((t - 6) / 0.4).^2) .* cos (2*pi*5*t);
%     q = iq (x, [5 4], [0.025 0]);
%     plot (t, [abs(q) real(q)])
%
%   See also ANALYTIC, BEAMFORM.

## A 5 MHz pulse mixed down by 5 MHz has a real, positive baseband at its
## peak, and its magnitude is the envelope.
%!test
%! t = (0:511)' * 0.025;
%! x = exp (-((t - 6) / 0.4).^2) .* cos (2*pi*5*t);
%! q = iq (x, [5 4], [0.025 0]);
%! assert (abs (q), exp (-((t - 6) / 0.4).^2), 1e-3);
%! assert (angle (q(241)), 0, 1e-3);
