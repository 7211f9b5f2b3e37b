## Tests of the discwave_avg module in Octave.

%!shared a, material
%! a = 6;
%! material = [0.5 1480];

## Random points inside, outside, over the rim and on the axis, above and
## below the piston's plane, with intervals before, around and after time
## zero, against the case table and the trapezoidal rule, within 1e-12 v cp
## (the module's arc cosine is a vector one).
%!test
%! rand ("seed", 11);
%! n = 240;
%! r = [rand(n/4,1)*a*0.99; a + rand(n/4,1)*10; a*ones(n/4,1); zeros(n/4,1)];
%! phi = rand (n, 1) * 2 * pi;
%! points = [r.*cos(phi), r.*sin(phi), (rand (n, 1) - 0.2) * 25];
%! delay = (rand (1, n) - 0.3) * 3;
%! for c = {{[0.05 700], 1}, {[0.05 700], 16}, {[0.5 80], 3}}
%!   [sampling, N] = c{1}{:};
%!   H = discwave_avg (points, a, sampling, delay, material, N);
%!   expected = discwave_avg_reference (points, a, sampling, delay, material, N);
%!   assert (size (H), [sampling(2) n]);
%!   assert (all (isfinite (H(:))));
%!   assert (H, expected, 1e-12 * abs (prod (material)));
%! endfor

## The interval around time zero averages over its part after zero but is
## divided by the whole dt; one wholly before zero covers nothing, also for
## a point below the piston (where the plateau is on from time zero).
%!test
%! vcp = prod (material);
%! H = discwave_avg ([1 0 -4; 1 0 0; 1 0 4], a, [0.1 3], [-0.15 0 0], material, 4);
%! assert (H(:,1), [0; 0; vcp], 1e-9 * vcp);
%! assert (H(:,2), [vcp/2; vcp; vcp], 1e-9 * vcp);
%! assert (H(:,3), [0; 0; 0]);

## Physical check: the intervals tile the time axis, so the samples times dt
## give the integral of the response, v times the integral of 1 / (2 pi R)
## over the piston's surface, even for a coarse dt.
%!test
%! [rho, theta] = meshgrid (((1:800) - 0.5) / 800 * a, ((1:800) - 0.5) / 800 * 2 * pi);
%! for p = [0 0 10; 3 1 8; 9 0 10; 6 0 12]'   # axis, inside, outside, over the rim
%!   R = sqrt ((rho(:) .* cos (theta(:)) - p(1)).^2 + (rho(:) .* sin (theta(:)) - p(2)).^2 + p(3)^2) / 1000;
%!   surface = sum (rho(:) / 1000 ./ (2 * pi * R)) * (a / 1000 / 800) * (2 * pi / 800);
%!   H = discwave_avg (p', a, [0.37 40], 3, material, 64);
%!   assert (H(end), 0);
%!   assert (sum (H) * 0.37 / 1e6, material(1) * surface, -1e-4);
%! endfor

## With a fine dt the mean over an interval is the value at its centre,
## away from the arrivals where the response jumps.
%!test
%! points = [0 0 10; 3 1 10; 8 2 10];
%! dt = 0.002;
%! Havg = discwave_avg (points, a, [dt 3000], 6, material, 16);
%! Hs = discwave (points, a, [dt 3000], 6, material);
%! ct = 1.48 * (6 + (0:2999)' * dt);
%! r = hypot (points(:,1), points(:,2))';
%! arrivals = [points(:,3)'; hypot(points(:,3)', a - r); hypot(points(:,3)', a + r)];
%! for i = 1:3
%!   away = all (abs (ct - arrivals(:,i)') > 0.05, 2);
%!   assert (nnz (away) > 2000);
%!   assert (Havg(away,i), Hs(away,i), 2e-3 * prod (material));
%! endfor

## The number of intervals is truncated; 1 is the least.
%!test
%! p = [3 1 8; 9 0 10];
%! args = {p, a, [0.05 300], 5, material};
%! assert (discwave_avg (args{:}, 2.7), discwave_avg (args{:}, 2));
%! assert (discwave_avg (args{:}, 1), discwave_avg_reference (args{:}, 1), 1e-12 * prod (material));

## The shapes the arguments may take.
%!test
%! points = [0 0 10; 8 0 10; 3 4 12; 0 0 -5];
%! row = discwave_avg (points, 5, [0.1 150], 0.5, [1 1500], 4);
%! assert (discwave_avg (points, 5, [0.1; 150], 0.5, [1; 1500], 4), row);
%! delay = [5 7; 6 8];
%! H = discwave_avg (points, 5, [0.1 150], delay, [1 1500], 4);
%! assert (H(:,3), discwave_avg (points(3,:), 5, [0.1 150], 7, [1 1500], 4));
%! assert (size (discwave_avg (points, 5, [0.1 10.9], 0, [1 1500], 4)), [10 4]);
%! assert (size (discwave_avg (points, 5, [0.1 0], 0, [1 1500], 4)), [0 4]);
%! assert (size (discwave_avg (zeros (0, 3), 5, [0.1 20], 0, [1 1500], 4)), [20 0]);

## Every check, in the order the module makes them.
%!test
%! p = [0 0 10; 1 1 10];
%! cases = {
%!   {},                                                 "discwave_avg requires 6 input arguments!"
%!   {p, 5, [0.1 20], 0, [1 1500]},                      "discwave_avg requires 6 input arguments!"
%!   {p, [5 5], [0.1 20 3], [0 0 0], [1 1500 2], [1 2]}, "Argument 2 must be a scalar!"
%!   {p, 5, [0.1 20 3], [0 0 0], [1 1500 2], [1 2]},     "Argument 3 must be a vector of length 2!"
%!   {p, 5, [0 20], [0 0 0], [1 1500 2], [1 2]},         "Argument 3 must hold a finite sampling period above 0!"
%!   {p, 5, [-0.1 20], 0, [1 1500], 4},                  "Argument 3 must hold a finite sampling period above 0!"
%!   {p, 5, [NaN 20], 0, [1 1500], 4},                   "Argument 3 must hold a finite sampling period above 0!"
%!   {p, 5, [Inf 20], 0, [1 1500], 4},                   "Argument 3 must hold a finite sampling period above 0!"
%!   {p, 5, [0.1 20], [0 0 0], [1 1500 2], [1 2]},       "Argument 4 must be a scalar or a vector with a length equal to the number of observation points!"
%!   {p, 5, [0.1 20], 0, [1 1500 2], [1 2]},             "Argument 5 must be a vector of length 2!"
%!   {p, 5, [0.1 20], 0, [1 1500], [1 2]},               "Argument 6 must be a scalar!"
%!   {p, 5, [0.1 20], 0, [1 1500], []},                  "Argument 6 must be a scalar!"
%!   {p, 5, [0.1 20], 0, [1 1500], 0},                   "Number of intervals (argument 6) must be larger than one !"
%!   {p, 5, [0.1 20], 0, [1 1500], 0.9},                 "Number of intervals (argument 6) must be larger than one !"
%!   {p, 5, [0.1 20], 0, [1 1500], -3},                  "Number of intervals (argument 6) must be larger than one !"
%!   {p, 5, [0.1 20], 0, [1 1500], NaN},                 "Number of intervals (argument 6) must be larger than one !"
%! };
%! for i = 1:rows (cases)
%!   assert_raises (@() discwave_avg (cases{i,1}{:}), ["discwave_avg: " cases{i,2}]);
%! endfor
%! assert_raises (@() evalin ("base", "[h1, h2] = discwave_avg ([0 0 1], 5, [0.1 2], 0, [1 1500], 2);"),
%!                "discwave_avg: Too many output arguments for discwave_avg!");
