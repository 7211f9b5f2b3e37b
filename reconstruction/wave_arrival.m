%WAVE_ARRIVAL  When a transmit event's wave reaches points.
%   T = WAVE_ARRIVAL(POINTS, KIND, ORIGIN, T0, CP)
%
%   The one arrival convention of the toolbox: the transmit events are made
%   with it (an element fires at the arrival at its centre), BEAMFORM images
%   with it, and an echo from a point p reaches receive element j at the
%   arrival at p plus |p - centre_j| * 1000 / CP us. With d the travel time
%   of a length (length * 1000 / CP):
%     "plane":      T0 + d(n . p), ORIGIN the unit direction n of travel
%                   and T0 the arrival at the origin;
%     "diverging":  T0 + d(|p - v|), ORIGIN the virtual source v (behind or
%                   on the probe, or an element firing alone) and T0 the
%                   departure from it;
%     "focused":    T0 - d(|p - f|) for points nearer the probe than the
%                   focus (z below f's), T0 + d(|p - f|) beyond, ORIGIN the
%                   focus f and T0 the arrival there.
%
%   Arguments
%     POINTS   No x 3 matrix of points [x y z], in mm.
%     KIND     "plane", "diverging" or "focused".
%     ORIGIN   the direction (a unit vector) or the point, [x y z], in mm.
%     T0       time, in us.
%     CP       sound speed, in m/s (finite, above 0).
%
%   Result
%     T        No x 1 arrival times, in us.
%
%   Example
%     T = wave_arrival ([0 0 10; 5 0 10], "plane", [sind(10) 0 cosd(10)], 0, 1540)
%
%   See also PLANE_WAVE_EVENTS, FOCUSED_EVENTS, BEAMFORM.

## One case of each kind, worked by hand: a plane wave of 30 degrees, a
## source 10 mm behind the probe, and a focus at 20 mm seen from before and
## beyond it (c = 1000 m/s: 1 mm is 1 us).
%!assert (wave_arrival ([2 0 3], "plane", [0.5 0 sqrt(3)/2], 1, 1000), 1 + 1 + 1.5 * sqrt (3), 1e-12)
%!assert (wave_arrival ([0 0 0; 0 0 14], "diverging", [0 0 -10], 2, 1000), [12; 26])
%!assert (wave_arrival ([0 0 15; 0 0 25], "focused", [0 0 20], 30, 1000), [25; 35])

%!error <Argument 2 must be "plane", "diverging" or "focused"!> wave_arrival ([0 0 1], "round", [0 0 1], 0, 1540)
