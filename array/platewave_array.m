%PLATEWAVE_ARRAY  Spatial impulse response of an array of rectangular pistons.
%   H = PLATEWAVE_ARRAY(POINTS, ELEMENTS, [A B], [DT NT], DELAY, [V CP])
%   H = PLATEWAVE_ARRAY(..., FOCUS, STEER, APOD, N, NCPU)
%   [H, TAU, W] = PLATEWAVE_ARRAY(...)
%
%   The response of an array of identical rectangular pistons, A wide along
%   x and B high along y, each centred at a row of ELEMENTS in a plane
%   parallel to z = 0 and facing +z, fired at its own time TAU(i) and
%   weighted by W(i): the sum over the elements of W(i) times the element's
%   response (that of PLATEWAVE, as seen from its centre) delayed by TAU(i),
%   computed exactly at the shifted times (no rounding of TAU(i) to a
%   sample). Arrays are described about the origin: the focusing and
%   steering delays and the windows are those of an array centred on it.
%
%   H is, bit for bit, what this loop gives (with PLATEWAVE_AVG(..., N) for
%   the elements when N >= 1), whatever the thread count:
%     H = zeros (NT, rows (POINTS));
%     for i = 1:rows (ELEMENTS)
%       H = H + W(i) * platewave (POINTS - ELEMENTS(i,:), [A B], [DT NT], DELAY - TAU(i), [V CP]);
%     end
%   Only each element's band (its first to last arrival at a point) is
%   computed, so the cost grows with the points, the elements and the band,
%   not with NT.
%
%   Arguments
%     POINTS    No x 3 matrix of observation points [x y z], in mm.
%     ELEMENTS  Ne x 3 matrix of element centres [x y z], in mm (Ne >= 1,
%               finite; LINEAR_ARRAY and MATRIX_ARRAY make them).
%     [A B]     width (along x) and height (along y) of every element, in mm.
%     [DT NT]   sampling period in us (finite, above 0) and number of
%               samples, truncated toward zero.
%     DELAY     time of the first sample, in us: one value for every
%               point, or one per point.
%     [V CP]    normal velocity in m/s (not used, as in PLATEWAVE) and sound
%               speed in m/s (finite, above 0).
%     FOCUS     "off" (default), {"x", F}, {"y", F}, {"xy", F} (radial) or
%               {"x+y", F}, with the focal depth F in mm: element i fires
%               (sqrt (F^2 + e^2) - sqrt (F^2 + d_i^2)) * 1000 / CP us
%               after time 0, e the array's extent along the axis (for
%               "xy" the corner of its bounding box) and d_i the element's
%               distance from the axis, so that the outermost fires first;
%               {"x+y", F} subtracts both single-axis paths from the
%               corner's. Or {"ud", TAU0}: one fire time per element, in us.
%     STEER     "off" (default), {"x", THETA}, {"y", PHI} or
%               {"xy", THETA, PHI}, in degrees: element i's steering delay
%               (x_i + xamax) * sin (THETA) * 1000 / CP us (and the same
%               with y and PHI), added to its focusing delay.
%     APOD      "off" (default: every weight 1), {"ud", W0} (one weight per
%               element), or a window of the element's distance
%               r = sqrt (x^2 + y^2) from the origin over the array's extent
%               e (the corner of its bounding box): "triangle" 1 - r/e,
%               {"gauss", P} exp (-P r^2 / e^2), {"raised", P}
%               P + cos (pi r / e), "simply" 1 - r^2/e^2, "clamped"
%               (1 - r^2/e^2) (1 - r/e^2). A window needs an array of
%               extent above 0.
%     N         0 (default) for point samples, N >= 1 for each sample the
%               mean over its interval (PLATEWAVE_AVG with N parts).
%     NCPU      threads (default: every core); the result does not depend
%               on it.
%
%   Results
%     H         NT x No matrix, in m/s; row k+1 of column i is the sample
%               at time DELAY(i) + k*DT us.
%     TAU       Ne x 1 fire times, in us: focusing plus steering delay.
%     W         Ne x 1 weights.
%
%   Example
%     elements = linear_array (64, 0.3);
%     z = (5:0.5:60)'; points = [zeros(size (z)), zeros(size (z)), z];
%     H = platewave_array (points, elements, [0.27 5], [0.01 2000], 0, [1 1540], {"x", 30});
%     plot (z, max (H)), xlabel ("z [mm]")   % the focus at 30 mm
%
%   See also DISCWAVE_ARRAY, PLATEWAVE, PLATEWAVE_AVG, LINEAR_ARRAY, PRESSURE.

## One element at the origin is the single piston, and the loop of the help
## text gives the same bits.
%!test
%! points = [0 0 20; 3 1 25; -4 0 30];
%! H = platewave_array (points, [0 0 0], [0.3 5], [0.02 1500], 5, [1 1500]);
%! assert (H, platewave (points, [0.3 5], [0.02 1500], 5, [1 1500]));
%! elements = [-0.6 0 0; 0 0 0; 0.6 0 0];
%! [H, tau, w] = platewave_array (points, elements, [0.3 5], [0.02 1500], 5, [1 1500],
%!                                {"x", 20}, {"x", 10}, "triangle", 0, 2);
%! loop = zeros (size (H));
%! for i = 1:3
%!   loop = loop + w(i) * platewave (points - elements(i,:), [0.3 5], [0.02 1500], 5 - tau(i), [1 1500]);
%! endfor
%! assert (H, loop);

%!error <Argument 7 must be "off" or a cell> platewave_array ([0 0 9], [0 0 0], [1 1], [0.1 9], 0, [1 1500], "x")

%!demo
%! elements = linear_array (64, 0.3);
%! z = (5:0.5:60)'; points = [zeros(size (z)), zeros(size (z)), z];
%! H = platewave_array (points, elements, [0.27 5], [0.01 2000], 0, [1 1540], {"x", 30});
%! plot (z, max (H)), xlabel ("z [mm]"), ylabel ("peak of the response [m/s]")
