%DISCWAVE_AVG  Circular piston response averaged over each sampling interval.
%   H = DISCWAVE_AVG(POINTS, A, [DT NT], DELAY, [V CP], N)
%
%   The piston and points of DISCWAVE, but each sample is the mean of the
%   response over its sampling interval, [t - DT/2, t + DT/2] around the
%   sample's time t, instead of the response at t. The plateau V*CP is
%   integrated exactly; the edge wave (V*CP/pi)*acos(q) with the
%   trapezoidal rule over N intervals. The lower end of an interval is
%   clamped at time zero while the mean still divides by the whole DT, and
%   an interval that ends before time zero gives 0. With a coarse DT the
%   averaged response keeps the area (the energy) that point samples of a
%   short arrival miss.
%
%   Arguments
%     POINTS   No x 3 matrix of observation points [x y z], in mm.
%     A        piston radius, in mm (a radius of 0 or less gives zeros).
%     [DT NT]  sampling period in us (finite, above 0) and number of
%              samples; NT is truncated toward zero and must not be
%              negative.
%     DELAY    time of the first sample's centre, in us: one value for
%              every point, or one per point (any shape, read column by
%              column).
%     [V CP]   normal velocity of the piston surface in m/s and sound speed
%              in m/s.
%     N        number of trapezoids for the edge wave in each interval,
%              truncated toward zero, at least 1 (2.7 gives 2).
%
%   Result
%     H        NT x No matrix, in m^2/s^2 (V times the spatial impulse
%              response in m/s). Row k+1 of column i is the mean over the
%              interval centred on DELAY(i) + k*DT us.
%
%   Example
%     points = [0 0 20; 4 0 20; 8 0 20];
%     H = discwave_avg(points, 5, [0.1 60], 12, [1 1500], 16);
%     Hs = discwave(points, 5, [0.1 60], 12, [1 1500]);
%     plot(12 + (0:59)*0.1, [H(:,2) Hs(:,2)]), xlabel('t [us]')
%
%   See also DISCWAVE, PLATEWAVE.

## With DT = 0.1 us the averaged samples keep the area of the response
## (that of DISCWAVE sampled 100 times finer) where point samples miss
## several percent of it.
%!test
%! points = [0 0 20; 4 0 20; 8 0 20];
%! H = discwave_avg (points, 5, [0.1 60], 12, [1 1500], 16);
%! assert (size (H), [60 3]);
%! fine = discwave (points, 5, [0.001 6000], 11.95, [1 1500]);
%! assert (sum (H) * 0.1, sum (fine) * 0.001, -5e-3);

%!error <Number of intervals \(argument 6\) must be larger than one !> discwave_avg ([0 0 20], 5, [0.1 60], 12, [1 1500], 0)

%!demo
%! points = [0 0 20; 4 0 20; 8 0 20];
%! H = discwave_avg (points, 5, [0.1 60], 12, [1 1500], 16);
%! Hs = discwave (points, 5, [0.1 60], 12, [1 1500]);
%! plot (12 + (0:59)*0.1, [H(:,2) Hs(:,2)]), xlabel ("t [us]")
%! legend ("averaged", "point samples")
