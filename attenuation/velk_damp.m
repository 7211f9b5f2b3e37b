%VELK_DAMP  Impulse response of a medium with attenuation linear in frequency.
%   H = VELK_DAMP(POINTS, [DT NT], DELAY, [CP ALPHA])
%
%   Each column of H is the impulse response of propagation from the origin
%   to one observation point through a medium whose attenuation grows
%   linearly with frequency: a pulse that arrives at the travel time
%   R/CP, damped by exp(-alpha*f*R) and spread by the dispersion that a
%   causal medium with this attenuation must have. It is built on the FFT
%   grid of the window and brought back to time by an inverse FFT, so its
%   samples sum to 1 (zero frequency passes unattenuated) and a pulse that
%   falls outside the window wraps around it.
%
%   The pulse stands at row K+1, K = fix((1000*R/CP - DELAY)/DT + 1) taken
%   modulo NT: one sample after the row of the travel time, R being the
%   distance of the point from the origin. With ALPHA = 0 the column is a
%   unit sample there.
%
%   Arguments
%     POINTS     No x 3 matrix of observation points [x y z], in mm;
%                finite.
%     [DT NT]    sampling period in us (above 0) and number of samples,
%                truncated toward zero (10.9 gives 10), at least 1.
%     DELAY      time of the first sample, in us: one value for every
%                point, or one per point (any shape, read column by
%                column); finite.
%     [CP ALPHA] sound speed in m/s (above 0) and attenuation coefficient
%                in dB/(cm MHz) (1 dB/(cm MHz) is taken as 1/86860
%                Np/(m Hz)).
%
%   Result
%     H          NT x No matrix, dimensionless (each column sums to 1).
%
%   Example
%     depths = [20 50 100];                 % mm
%     points = [zeros(3, 2), depths'];
%     H = velk_damp(points, [0.05 1600], 0, [1500 0.5]);
%     plot((0:1599)*0.05, H), xlabel('t [us]')
%
%   See also DISCWAVE.

## Each column sums to 1; without attenuation it is a unit sample at row
## K+1, K = fix((1000*R/CP - DELAY)/DT + 1).
%!test
%! depths = [20 50 100];
%! points = [zeros(3, 2), depths'];
%! H = velk_damp (points, [0.05 1600], 0, [1500 0.5]);
%! assert (size (H), [1600 3]);
%! assert (sum (H), [1 1 1], 1e-12);
%! H = velk_damp (points, [0.05 1600], 0, [1500 0]);
%! [peak, row] = max (H);
%! assert (row, fix (1000*depths/1500/0.05 + 1) + 1);
%! assert (peak, [1 1 1], 1e-12);

%!error <Argument 4 must hold a finite attenuation!> velk_damp ([0 0 20], [0.05 100], 0, [1500 Inf])

%!demo
%! depths = [20 50 100];                      # mm
%! points = [zeros(3, 2), depths'];
%! H = velk_damp (points, [0.05 1600], 0, [1500 0.5]);
%! plot ((0:1599)*0.05, H), xlabel ("t [us]")
