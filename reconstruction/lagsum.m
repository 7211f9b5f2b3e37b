%LAGSUM  Delay-and-sum impulse response at observation points.
%   H = LAGSUM(POINTS, [DT NT], DELAY, CP, LEVEL)
%   [H, STATUS] = LAGSUM(POINTS, [DT NT], DELAY, CP, LEVEL)
%   H = LAGSUM(POINTS, [DT NT], DELAY, CP, ARG5, ARG6)
%
%   Each column of H is zero except for a single 1 at the sample nearest to
%   the one-way travel time from the origin to the point, d*1000/CP us for
%   a distance d in mm, on the time axis DELAY + k*DT. The nearest sample is
%   found by rounding (DISTANCE*1000/CP - DELAY)/DT to the nearest integer,
%   halfway cases to the even one (2.5 gives 2, 3.5 gives 4). Only the
%   distance from the origin counts, not the signs of x, y and z.
%
%   A travel time outside the NT samples leaves its column zero and is
%   reported as "Delay out of bounds (offset = N samples)", with N the
%   number of samples past the last one (counted from 1) or the negative
%   sample index before the first. LEVEL says what a report does:
%     "stop"    print it, then fail the call with an empty message
%     "warn"    print it and go on
%     "ignore"  go on silently
%   With six arguments the level is "stop", whatever ARG5 and ARG6 hold.
%   An offset beyond the int range is printed as the nearest int; a travel
%   time that is not a number counts as before the window.
%
%   Arguments
%     POINTS   No x 3 matrix of observation points [x y z], in mm.
%     [DT NT]  sampling period in us (finite, not 0) and number of samples;
%              NT is truncated toward zero and must not be negative.
%     DELAY    time of the first sample, in us: one value for every point,
%              or one per point (any shape, read column by column).
%     CP       sound speed in m/s (finite, not 0).
%     LEVEL    "stop", "warn" or "ignore", exactly, case included.
%
%   Results
%     H        NT x No matrix of zeros and ones.
%     STATUS   0 when every point fell inside the window, otherwise the
%              level's code: -2 for "warn", -3 for "ignore".
%
%   Ctrl-C stops the computation after the current point; the call then
%   fails with "CTRL-C pressed!".
%
%   Example
%     points = [0 0 10; 0 0 20; 0 0 100];
%     [H, status] = lagsum(points, [0.1 200], 0, 1500, "warn");
%     find(H)'      % 68 334: row 68 of column 1, row 134 of column 2;
%                   % the third point is reported (offset = 468 samples)
%
%   See also ECHOFOCUS, DISCWAVE.

%!test
%! points = [0 0 10; 0 0 20; 0 0 100];
%! printed = evalc ('[H, status] = lagsum (points, [0.1 200], 0, 1500, "warn");');
%! assert (find (H)', [68 334]);
%! assert (status, -2);
%! assert (strtrim (printed), "Delay out of bounds (offset = 468 samples)");

%!error <Unknown error level!> lagsum ([0 0 10], [0.1 200], 0, 1500, "Warn")

%!demo
%! points = [0 0 10; 0 0 20; 0 0 100];
%! [H, status] = lagsum (points, [0.1 200], 0, 1500, "warn");
%! find (H)'      # 68 334: row 68 of column 1, row 134 of column 2
