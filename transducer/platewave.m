%PLATEWAVE  Spatial impulse response of a flat rectangular piston.
%   H = PLATEWAVE(POINTS, [A B], [DT NT], DELAY, [V CP])
%
%   The piston, A wide along x and B high along y, lies in the plane z = 0,
%   centred at the origin with its sides parallel to the axes. Each column
%   of H is the response at one observation point, built from the four
%   rectangles that have a corner at the foot of the perpendicular from the
%   point, added with signs so that together they make the piston: CP for a
%   point whose foot lies inside, from the arrival z/CP until the nearest
%   edge's wave arrives, then falling to 0 by the arrival from the farthest
%   corner. The response is that of the piston's surface, without a factor
%   V. The result is the same at (x, y, z), (-x, y, z), (x, -y, z) and
%   (-x, -y, z); a foot exactly on an edge counts as inside.
%
%   Arguments
%     POINTS   No x 3 matrix of observation points [x y z], in mm.
%     [A B]    width (along x) and height (along y) of the piston, in mm.
%     [DT NT]  sampling period in us and number of samples; NT is
%              truncated toward zero (10.9 gives 10) and must not be
%              negative.
%     DELAY    time of the first sample, in us: one value for every point,
%              or one per point (any shape, read column by column).
%     [V CP]   normal velocity of the piston surface in m/s (not used:
%              the response carries no factor V) and sound speed in m/s.
%
%   Result
%     H        NT x No matrix, in m/s. Row k+1 of column i is the sample
%              at time DELAY(i) + k*DT us. Summed over time (times DT in
%              seconds) a column gives the integral of 1/(2*pi*R) over the
%              piston's surface, R being the distance from the point.
%
%   Example
%     points = [0 0 20; 4 2 20; 8 0 20];       % foot inside, inside, outside
%     H = platewave(points, [10 6], [0.02 400], 13, [1 1500]);
%     plot(13 + (0:399)*0.02, H), xlabel('t [us]')
%
%   See also DISCWAVE, DISCWAVE_AVG.

## The plateau CP begins at the arrival z/CP = 13.33 us (row 18) under the
## piston and is never reached outside it; summed over time, the response
## is the integral of 1/(2*pi*R) over the piston.
%!test
%! points = [0 0 20; 4 2 20; 8 0 20];
%! H = platewave (points, [10 6], [0.02 400], 13, [1 1500]);
%! assert (size (H), [400 3]);
%! assert (H(17:18,1), [0; 1500]);
%! assert (max (H(:,3)) > 0 && max (H(:,3)) < 1500);
%! H = platewave ([0 0 20], [10 6], [0.001 8000], 13, [1 1500]);
%! area = dblquad (@(x, y) 1 ./ (2*pi*sqrt (x.^2 + y.^2 + 20^2)), -5, 5, -3, 3) / 1000;
%! assert (sum (H) * 1e-9, area, -2e-3);

%!error <Argument 2 must be a two element vector!> platewave ([0 0 20], 10, [0.02 400], 13, [1 1500])

%!demo
%! points = [0 0 20; 4 2 20; 8 0 20];       # foot inside, inside, outside
%! H = platewave (points, [10 6], [0.02 400], 13, [1 1500]);
%! plot (13 + (0:399)*0.02, H), xlabel ("t [us]")
