%DISCWAVE_ARRAY  Spatial impulse response of an array of circular pistons.
%   H = DISCWAVE_ARRAY(POINTS, ELEMENTS, A, [DT NT], DELAY, [V CP])
%   H = DISCWAVE_ARRAY(..., FOCUS, STEER, APOD, N, NCPU)
%   [H, TAU, W] = DISCWAVE_ARRAY(...)
%
%   The response of an array of identical circular pistons of radius A,
%   each centred at a row of ELEMENTS in a plane parallel to z = 0 and
%   facing +z, fired at its own time TAU(i) and weighted by W(i): the sum
%   over the elements of W(i) times the element's response (that of
%   DISCWAVE, as seen from its centre) delayed by TAU(i), computed exactly
%   at the shifted times (no rounding of TAU(i) to a sample). Arrays are
%   described about the origin: the focusing and steering delays and the
%   windows are those of an array centred on it.
%
%   H is, bit for bit, what this loop gives (with DISCWAVE_AVG(..., N) for
%   the elements when N >= 1), whatever the thread count:
%     H = zeros (NT, rows (POINTS));
%     for i = 1:rows (ELEMENTS)
%       H = H + W(i) * discwave (POINTS - ELEMENTS(i,:), A, [DT NT], DELAY - TAU(i), [V CP]);
%     end
%   Only each element's band (its first to last arrival at a point) is
%   computed, so the cost grows with the points, the elements and the band,
%   not with NT.
%
%   Arguments
%     POINTS    No x 3 matrix of observation points [x y z], in mm.
%     ELEMENTS  Ne x 3 matrix of element centres [x y z], in mm (Ne >= 1,
%               finite; LINEAR_ARRAY and MATRIX_ARRAY make them).
%     A         radius of every element, in mm.
%     [DT NT]   sampling period in us (finite, above 0) and number of
%               samples, truncated toward zero.
%     DELAY     time of the first sample, in us: one value for every
%               point, or one per point.
%     [V CP]    normal velocity in m/s and sound speed in m/s (finite,
%               above 0).
%     FOCUS     "off" (default), {"x", F}, {"y", F}, {"xy", F}, {"x+y", F}
%               or {"ud", TAU0}, as for PLATEWAVE_ARRAY.
%     STEER     "off" (default), {"x", THETA}, {"y", PHI} or
%               {"xy", THETA, PHI}, as for PLATEWAVE_ARRAY.
%     APOD      "off" (default), {"ud", W0} or a window, as for
%               PLATEWAVE_ARRAY.
%     N         0 (default) for point samples, N >= 1 for each sample the
%               mean over its interval (DISCWAVE_AVG with N trapezoids).
%     NCPU      threads (default: every core); the result does not depend
%               on it.
%
%   Results
%     H         NT x No matrix, in m^2/s^2 (V times the spatial impulse
%               response in m/s); row k+1 of column i is the sample at time
%               DELAY(i) + k*DT us.
%     TAU       Ne x 1 fire times, in us: focusing plus steering delay.
%     W         Ne x 1 weights.
%
%   Example
%     elements = matrix_array (8, 8, 1, 1);
%     z = (2:0.5:40)'; points = [zeros(size (z)), zeros(size (z)), z];
%     H = discwave_array (points, elements, 0.45, [0.01 3000], 0, [1 1540], {"xy", 15});
%     plot (z, max (H)), xlabel ("z [mm]")
%
%   See also PLATEWAVE_ARRAY, DISCWAVE, DISCWAVE_AVG, MATRIX_ARRAY, PRESSURE.

## One element at the origin is the single piston; the loop of the help text
## gives the same bits, also with interval means.
%!test
%! points = [0 0 20; 3 1 25; -4 0 30];
%! H = discwave_array (points, [0 0 0], 0.5, [0.02 1500], 5, [1 1500]);
%! assert (H, discwave (points, 0.5, [0.02 1500], 5, [1 1500]));
%! elements = [-1 0 0; 0 0 0; 1 0 0];
%! [H, tau, w] = discwave_array (points, elements, 0.5, [0.02 1500], 5, [2 1500],
%!                               {"x", 20}, "off", {"gauss", 1}, 4, 2);
%! loop = zeros (size (H));
%! for i = 1:3
%!   loop = loop + w(i) * discwave_avg (points - elements(i,:), 0.5, [0.02 1500], 5 - tau(i), [2 1500], 4);
%! endfor
%! assert (H, loop);

%!error <Argument 9 must be "off", "triangle"> discwave_array ([0 0 9], [0 0 0], 1, [0.1 9], 0, [1 1500], "off", "off", "hann")

%!demo
%! elements = matrix_array (8, 8, 1, 1);
%! z = (2:0.5:40)'; points = [zeros(size (z)), zeros(size (z)), z];
%! H = discwave_array (points, elements, 0.45, [0.01 3000], 0, [1 1540], {"xy", 15});
%! plot (z, max (H)), xlabel ("z [mm]"), ylabel ("peak of the response [m^2/s^2]")
