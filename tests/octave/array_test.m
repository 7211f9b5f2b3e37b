## Tests of the array modules, platewave_array and discwave_array, in Octave.

%!shared E, cp
%! E = [linear_array(8, 0.3); 0.2 0.6 0];   # 9 elements, off the x axis too
%! cp = 1540;

## The fire times and weights, against the formulas of the help text.
%!test
%! xs = E(:,1); ys = E(:,2); r = hypot (xs, ys);
%! xa = max (abs (xs)); ya = max (abs (ys)); ra = hypot (xa, ya); F = 25; s = sind (10);
%! u = rand (9, 1);
%! fx = (hypot (F, xa) - hypot (F, xs)) * 1000 / cp;
%! fy = (hypot (F, ya) - hypot (F, ys)) * 1000 / cp;
%! fr = (hypot (F, ra) - hypot (F, r)) * 1000 / cp;
%! fxy = (hypot (F, ra) - (hypot (F, xs) + hypot (F, ys))) * 1000 / cp;
%! sx = (xs * s + xa * s) * 1000 / cp; sy = (ys * s + ya * s) * 1000 / cp;
%! o = zeros (9, 1); l = ones (9, 1);
%! cases = {   # focus, steer, apod, fire times, weights
%!   "off",     "off",          "off",         o,          l
%!   {"x", F},   "off",          "off",         fx,         l
%!   {"y", F},   "off",          "triangle",    fy,         1 - r / ra
%!   {"xy", F},  {"x", 10},      "simply",      fr + sx,    1 - r.^2 / ra^2
%!   {"x+y", F}, {"y", 10},      {"gauss", 2},  fxy + sy,   exp(-(2 * r .* r) / ra^2)
%!   {"ud", u},  {"xy", 10, 10}, {"raised", 1}, u + sx + sy, 1 + cos(pi * r / ra)
%!   "off",     "off",          "clamped",     o,          (1 - r.^2 / ra^2) .* (1 - r / ra^2)
%!   "off",     "off",          {"ud", u},     o,          u
%! };
%! for i = 1:rows (cases)
%!   [~, tau, w] = platewave_array ([0 0 10], E, [0.27 5], [0.1 2], 0, [1 cp], cases{i,1:3});
%!   assert ({i, tau}, {i, cases{i,4}}, 1e-12);
%!   assert ({i, w}, {i, cases{i,5}}, 1e-12);
%! endfor

## Each array is the loop of its help text over the single-piston modules,
## bit for bit, for every focusing, steering and window and for point
## samples and interval means, on one and on three threads.
%!test
%! P = [0 0 12; 2 1 20; -3 0 8; 0.1 -2 30; 4 4 -1];
%! delay = 1000 * hypot (P(:,3), 0) / cp - 2;
%! options = {
%!   {"x", 15}, "off", "off"
%!   {"xy", 20}, {"x", -12}, "triangle"
%!   {"x+y", 20}, {"xy", 5, -5}, {"gauss", 1.5}
%!   {"ud", (1:9)' / 20}, {"y", 8}, {"ud", [1 2 3 4 5 4 3 2 1]}
%! };
%! for module = {{@platewave_array, [0.27 5], @platewave, @platewave_avg},
%!               {@discwave_array, 0.2, @discwave, @discwave_avg}}'
%!   [array, shape, single, averaged] = module{1}{:};
%!   for i = 1:rows (options)
%!     for N = [0 3]
%!       for n = [1 3]
%!         args = {P, E, shape, [0.02 900], delay, [1.5 cp], options{i,:}, N, n};
%!         [H, tau, w] = array (args{:});
%!         loop = zeros (size (H));
%!         for e = 1:rows (E)
%!           if (N == 0)
%!             h = single (P - E(e,:), shape, [0.02 900], delay - tau(e), [1.5 cp]);
%!           else
%!             h = averaged (P - E(e,:), shape, [0.02 900], delay - tau(e), [1.5 cp], N);
%!           endif
%!           loop = loop + w(e) * h;
%!         endfor
%!         assert (isequal (H, loop), sprintf ("%s, options %d, N = %d, %d threads",
%!                                             func2str (array), i, N, n));
%!       endfor
%!     endfor
%!   endfor
%! endfor

## Physics: focused at 20 mm, the elements' arrivals coincide there, so the
## response on the axis is shortest and its peak highest near that depth;
## the focal spot's -6 dB width at 3 MHz is that of the diffraction estimate
## lambda F / D (1.2 lambda F / D for a uniform aperture); steered by 20
## degrees, the pressure peaks on an arc at that angle.
%!test
%! A = linear_array (32, 0.3); D = 32 * 0.3; F = 20;
%! z = (10:0.5:30)'; P = [zeros(size (z)), zeros(size (z)), z];
%! H = platewave_array (P, A, [0.27 5], [0.005 2000], 1000 * z / cp - 1, [1 cp], {"x", F}, "off", "off", 4);
%! [~, deepest] = max (max (H)); [~, shortest] = min (sum (H != 0));
%! assert (abs (z([deepest shortest]) - F) <= 1);
%! t = (0:0.005:1)'; pulse = sin (2*pi*3*t) .* (0.5 - 0.5*cos (2*pi*t));
%! x = (-4:0.05:4)'; Q = [x, zeros(size (x)), F * ones(size (x))];
%! H = platewave_array (Q, A, [0.27 5], [0.005 2000], 1000 * hypot (x, F) / cp - 5, [1 cp], {"x", F}, "off", "off", 4);
%! a = max (abs (pressure (H, pulse, 0.005, 1000)));
%! width = sum (a >= max (a) / 2) * 0.05;
%! estimate = cp / 3e3 * F / D;
%! assert (width / estimate > 1 && width / estimate < 1.4, "width %g mm against %g", width, estimate);
%! angles = (-10:1:50)'; R = 40;
%! Q = [R * sind(angles), zeros(size (angles)), R * cosd(angles)];
%! H = platewave_array (Q, A, [0.27 5], [0.005 3000], 1000 * R / cp - 8, [1 cp], "off", {"x", 20}, "off", 4);
%! [~, k] = max (max (abs (pressure (H, pulse, 0.005, 1000))));
%! assert (abs (angles(k) - 20) <= 1);

## The checks of the new arguments, with their messages.
%!test
%! p = [0 0 10];
%! good = {p, E, [0.27 5], [0.1 20], 0, [1 cp]};
%! cases = {
%!   {p, zeros(0, 3), [1 1], [0.1 20], 0, [1 cp]},   "Argument 2 must be a (number of elements) x 3 matrix!"
%!   {p, [0 0], [1 1], [0.1 20], 0, [1 cp]},         "Argument 2 must be a (number of elements) x 3 matrix!"
%!   {p, [0 NaN 0], [1 1], [0.1 20], 0, [1 cp]},     "Argument 2 must hold finite element centres!"
%!   {p, E, [0.27 5], [0 20], 0, [1 cp]},            "Argument 4 must hold a finite sampling period above 0!"
%!   {p, E, [0.27 5], [0.1 20], 0, [1 0]},           "Argument 6 must hold a sound speed that is finite and above 0!"
%!   [good, {"x"}],                                 "Argument 7 must be \"off\" or a cell {\"x\", F}, {\"y\", F}, {\"xy\", F}, {\"x+y\", F} or {\"ud\", delays}!"
%!   [good, {{"z", 20}}],                           "Argument 7 must be \"off\" or a cell {\"x\", F}, {\"y\", F}, {\"xy\", F}, {\"x+y\", F} or {\"ud\", delays}!"
%!   [good, {{"x", 20, 3}}],                        "Argument 7 must be \"off\" or a cell {\"x\", F}, {\"y\", F}, {\"xy\", F}, {\"x+y\", F} or {\"ud\", delays}!"
%!   [good, {{"x", Inf}}],                          "Argument 7 must hold a finite focal depth!"
%!   [good, {{"x", [1 2]}}],                        "Argument 7 must hold a finite focal depth!"
%!   [good, {{"ud", [1 2]}}],                       "Argument 7 must hold one finite fire time per element!"
%!   [good, {"off", {"xy", 10}}],                   "Argument 8 must be \"off\" or a cell {\"x\", theta}, {\"y\", phi} or {\"xy\", theta, phi}!"
%!   [good, {"off", {"x", NaN}}],                   "Argument 8 must hold finite steering angles!"
%!   [good, {"off", "off", "hann"}],                "Argument 9 must be \"off\", \"triangle\", \"simply\", \"clamped\" or a cell {\"gauss\", p}, {\"raised\", p} or {\"ud\", weights}!"
%!   [good, {"off", "off", {"ud", ones(1, 8)}}],    "Argument 9 must hold one finite weight per element!"
%!   [good, {"off", "off", {"gauss", NaN}}],        "Argument 9 must hold a finite window parameter!"
%!   {p, [0 0 0], [1 1], [0.1 20], 0, [1 cp], "off", "off", "triangle"}, "Argument 9 must give finite weights: a window needs an array of extent above 0!"
%!   [good, {"off", "off", "off", -1}],             "Argument 10 must be 0 (point samples) or a number of intervals of at least 1!"
%!   [good, {"off", "off", "off", 0, 0}],           "Argument 11 must be larger or equal to 1 (min number of CPUs)!"
%! };
%! for i = 1:rows (cases)
%!   assert_raises (@() platewave_array (cases{i,1}{:}), ["platewave_array: " cases{i,2}]);
%! endfor
%! assert_raises (@() discwave_array (p, E, [1 1], [0.1 20], 0, [1 cp]), "discwave_array: Argument 3 must be a scalar!");
%! assert_raises (@() discwave_array (p, E), "discwave_array: discwave_array requires 6 to 11 input arguments!");
