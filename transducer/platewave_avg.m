%PLATEWAVE_AVG  Rectangular piston response averaged over each sampling interval.
%   H = PLATEWAVE_AVG(POINTS, [A B], [DT NT], DELAY, [V CP], N)
%
%   The piston and points of PLATEWAVE, but each sample is the mean of the
%   response over its sampling interval, [t - DT/2, t + DT/2] around the
%   sample's time t, instead of the response at t. The plateaus are
%   integrated exactly; each edge wave, split at the arrival times that
%   fall inside the interval, in closed form but for a small smooth rest,
%   which the two-point Gauss rule takes over N parts of each piece. The
%   lower end of an interval is clamped at time zero while the mean still
%   divides by the whole DT, and an interval that ends before time zero
%   gives 0. With a coarse DT (a small element, a far point) the averaged
%   response keeps the time integral that point samples of its short
%   arrival miss. Like PLATEWAVE's, the response carries no factor V.
%
%   Arguments
%     POINTS   No x 3 matrix of observation points [x y z], in mm.
%     [A B]    width (along x) and height (along y) of the piston, in mm.
%     [DT NT]  sampling period in us (finite, above 0) and number of
%              samples; NT is truncated toward zero and must not be
%              negative.
%     DELAY    time of the first sample's centre, in us: one value for
%              every point, or one per point (any shape, read column by
%              column).
%     [V CP]   normal velocity of the piston surface in m/s (not used) and
%              sound speed in m/s (finite, above 0).
%     N        number of parts of each piece for the edge waves' rest,
%              truncated toward zero, at least 1 (2.7 gives 2). The error
%              against the exact mean falls as N^-4: below 1e-5 of the
%              column's peak with N = 1, 1e-7 with N = 4.
%
%   Result
%     H        NT x No matrix, in m/s. Row k+1 of column i is the mean
%              over the interval centred on DELAY(i) + k*DT us; summed
%              over time (times DT in seconds) a column gives the integral
%              of 1/(2*pi*R) over the piston's surface.
%
%   Example
%     points = [0 0 20; 4 2 40; 20 0 40];
%     H = platewave_avg(points, [0.3 5], [0.05 200], [12 25.8 28.8], [1 1500], 4);
%     Hs = platewave(points, [0.3 5], [0.05 200], [12 25.8 28.8], [1 1500]);
%     plot(28.8 + (0:199)*0.05, [H(:,3) Hs(:,3)]), xlabel('t [us]')
%
%   See also PLATEWAVE, DISCWAVE_AVG.

## With DT = 0.05 us the averaged samples keep the time integral of the
## response, the integral of 1/(2*pi*R) over the piston's surface, to
## rounding; point samples of the short arrivals off the axis miss it by
## several percent.
%!test
%! points = [0 0 20; 4 2 40; 20 0 40];
%! H = platewave_avg (points, [0.3 5], [0.05 200], [12 25.8 28.8], [1 1500], 4);
%! assert (size (H), [200 3]);
%! for i = 1:3
%!   p = points(i,:);
%!   area = dblquad (@(x, y) 1 ./ (2*pi*sqrt ((x - p(1)).^2 + (y - p(2)).^2 + p(3)^2)),
%!                   -0.15, 0.15, -2.5, 2.5, 1e-12) / 1000;
%!   assert (sum (H(:,i)) * 0.05e-6, area, -1e-6);
%!   Hs = platewave (p, [0.3 5], [0.05 200], [12 25.8 28.8](i), [1 1500]);
%!   missed(i) = abs (sum (Hs) * 0.05e-6 / area - 1);
%! endfor
%! assert (missed(2:3) > 0.03);

%!error <Number of intervals \(argument 6\) must be larger than one !> platewave_avg ([0 0 20], [1 1], [0.1 60], 12, [1 1500], 0)

%!demo
%! points = [0 0 20; 4 2 40; 20 0 40];
%! H = platewave_avg (points, [0.3 5], [0.05 200], [12 25.8 28.8], [1 1500], 4);
%! Hs = platewave (points, [0.3 5], [0.05 200], [12 25.8 28.8], [1 1500]);
%! plot (28.8 + (0:199)*0.05, [H(:,3) Hs(:,3)]), xlabel ("t [us]")
%! legend ("averaged", "point samples")
