%ECHOFOCUS  Synthetic aperture focusing of pulse-echo A-scans.
%   OUT = ECHOFOCUS(S, POSITIONS, DELAY, DT, CP, POINTS, A)
%
%   For every observation point, sums over the A-scans whose transducer
%   lies within the lateral distance A/2 of the point (the edge included)
%   the A-scan's value at the two-way travel time from the transducer to
%   the point. With R the distance in mm and tau the A-scan's delay, the
%   fractional sample position is
%       D = ((2*R)/CP*1000 - 2*tau) / DT,
%   k is D rounded to the nearest integer (halfway cases to the even one)
%   and f = D - k. The A-scan adds (1-|f|)*S(k+1) and then |f| times its
%   neighbour on the side of D, S(k+2) for f >= 0 or S(k) for f < 0 (S
%   indexed from 1, k counted from 0). Only 2 <= k <= M-2 contributes; so
%   does nothing a D that is not finite or lies beyond the int range (CP or
%   DT 0, for example). The lateral distance is measured in x and y only.
%
%   Arguments
%     S          M x N matrix of A-scans, one per column, sampled every DT.
%     POSITIONS  N x 3 matrix of transducer positions [x y z], in mm, row n
%                for A-scan n.
%     DELAY      time of the first sample of the A-scans, in us: one value
%                for all, or one per A-scan (any shape, column by column).
%     DT         sampling period, in us.
%     CP         sound speed, in m/s.
%     POINTS     No x 3 matrix of observation points [x y z], in mm.
%     A          aperture width, in mm (not NaN; below 0 nothing counts).
%
%   Result
%     OUT        No x 1 column, in the units of the samples.
%
%   Example
%     dt = 0.02; cp = 1500; x = (-10:0.5:10)';
%     t = (0:2999)' * dt;
%     t0 = 2 * sqrt(x'.^2 + 20^2) / cp * 1000;        % scatterer at (0, 0, 20)
%     S = cos(2*pi*3*(t - t0)) .* exp(-((t - t0) * 3 / 0.8).^2);
%     [X, Z] = meshgrid(-5:0.25:5, 15:0.25:25);
%     img = echofocus(S, [x, 0*x, 0*x], 0, dt, cp, [X(:), 0*X(:), Z(:)], 15);
%     imagesc(-5:0.25:5, 15:0.25:25, reshape(img, size(X)))
%
%   See also ECHOFOCUS_MT, LAGSUM.

## The image of the example peaks at the scatterer, (0, 0, 20).
%!test
%! dt = 0.02; cp = 1500; x = (-10:0.5:10)';
%! t = (0:2999)' * dt;
%! t0 = 2 * sqrt (x'.^2 + 20^2) / cp * 1000;
%! S = cos (2*pi*3*(t - t0)) .* exp (-((t - t0) * 3 / 0.8).^2);
%! [X, Z] = meshgrid (-5:0.25:5, 15:0.25:25);
%! img = echofocus (S, [x, 0*x, 0*x], 0, dt, cp, [X(:), 0*X(:), Z(:)], 15);
%! assert (size (img), [numel(X) 1]);
%! [~, i] = max (img);
%! assert ([X(i) Z(i)], [0 20]);

%!error <Argument 7 \(aperture width\) must be a number!> echofocus (ones (10, 1), [0 0 0], 0, 0.02, 1500, [0 0 5], NaN)

%!demo
%! dt = 0.02; cp = 1500; x = (-10:0.5:10)';
%! t = (0:2999)' * dt;
%! t0 = 2 * sqrt (x'.^2 + 20^2) / cp * 1000;        # scatterer at (0, 0, 20)
%! S = cos (2*pi*3*(t - t0)) .* exp (-((t - t0) * 3 / 0.8).^2);
%! [X, Z] = meshgrid (-5:0.25:5, 15:0.25:25);
%! img = echofocus (S, [x, 0*x, 0*x], 0, dt, cp, [X(:), 0*X(:), Z(:)], 15);
%! imagesc (-5:0.25:5, 15:0.25:25, reshape (img, size (X)))
