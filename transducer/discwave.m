%DISCWAVE  Spatial impulse response of a flat circular piston.
%   H = DISCWAVE(POINTS, A, [DT NT], DELAY, [V CP])
%
%   The piston of radius A lies in the plane z = 0, centred at the origin,
%   and moves with the uniform normal velocity V. Each column of H is the
%   response at one observation point, in closed form: V*CP on the plateau
%   of an inside point, the edge wave (V*CP/pi)*acos(q) between the
%   arrivals from the nearest and the farthest point of the rim, zero
%   elsewhere. A point exactly over the rim counts as outside; z keeps its
%   sign, so a point below the plane of the piston sees the plateau at once.
%
%   Arguments
%     POINTS   No x 3 matrix of observation points [x y z], in mm.
%     A        piston radius, in mm (a radius of 0 or less gives zeros).
%     [DT NT]  sampling period in us and number of samples; NT is
%              truncated toward zero (10.9 gives 10) and must not be
%              negative.
%     DELAY    time of the first sample, in us: one value for every point,
%              or one per point (any shape, read column by column).
%     [V CP]   normal velocity of the piston surface in m/s and sound speed
%              in m/s.
%
%   Result
%     H        NT x No matrix, in m^2/s^2 (V times the spatial impulse
%              response in m/s). Row k+1 of column i is the sample at time
%              DELAY(i) + k*DT us.
%
%   Example
%     points = [0 0 20; 4 0 20; 5 0 20; 8 0 20];   % axis, inside, rim, outside
%     H = discwave(points, 5, [0.025 800], 12, [1 1500]);
%     plot(12 + (0:799)*0.025, H), xlabel('t [us]')
%
%   See also DISCWAVE_AVG, PLATEWAVE.

## On the axis the plateau V*CP lasts from the arrival from the centre,
## z/CP = 13.33 us (row 55), to the arrival from the rim, 13.74 us (row 70);
## a point outside sees only the edge wave, below the plateau.
%!test
%! points = [0 0 20; 4 0 20; 5 0 20; 8 0 20];
%! H = discwave (points, 5, [0.025 800], 12, [1 1500]);
%! assert (size (H), [800 4]);
%! assert (find (H(:,1))', 55:70);
%! assert (H(55:70,1), repmat (1500, 16, 1));
%! assert (max (H(:,4)) > 0 && max (H(:,4)) < 1500);

%!error <Argument 2 must be a scalar!> discwave ([0 0 20], [5 6], [0.025 800], 12, [1 1500])

%!demo
%! points = [0 0 20; 4 0 20; 5 0 20; 8 0 20];   # axis, inside, rim, outside
%! H = discwave (points, 5, [0.025 800], 12, [1 1500]);
%! plot (12 + (0:799)*0.025, H), xlabel ("t [us]")
