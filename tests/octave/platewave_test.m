## Tests of the platewave module in Octave.

%!shared ab, material
%! ab = [10 6];
%! material = [0.5 1480];

## Random feet inside, outside, on the edge lines and on the corners, above,
## in and below the piston's plane, against the four corner rectangles,
## within 1e-12 cp (the module's arc cosine is a vector one).
%!test
%! rand ("seed", 7);
%! n = 240;
%! x = (rand (n, 1) - 0.5) * 24;
%! y = (rand (n, 1) - 0.5) * 16;
%! x(1:40) = 5 * sign (x(1:40));            # on an edge line x = +-a/2
%! y(41:80) = -3;                           # on the edge line y = -b/2
%! x(81:100) = -5;  y(81:100) = 3;          # on a corner
%! z = (rand (n, 1) - 0.1) * 25;
%! z(1:2:100) = 0;                          # in the plane: samples at tz = 0
%! delay = (rand (1, n) - 0.2) * 4;
%! delay(1:2:100) = 0;
%! for sampling = {[0.05 900], [0.4 120]}
%!   H = platewave ([x y z], ab, sampling{1}, delay, material);
%!   expected = platewave_reference ([x y z], ab, sampling{1}, delay, material);
%!   assert (size (H), [sampling{1}(2) n]);
%!   assert (all (isfinite (H(:))));
%!   assert (H, expected, 1e-12 * material(2));
%! endfor

## Mirrored points give the same column; the velocity does not enter.
%!test
%! p = [3.5 2.25 12];
%! H = platewave (p, ab, [0.02 600], 6, material);
%! assert (platewave (p .* [-1 1 1], ab, [0.02 600], 6, material), H);
%! assert (platewave (p .* [1 -1 1], ab, [0.02 600], 6, material), H);
%! assert (platewave (p .* [-1 -1 1], ab, [0.02 600], 6, [-9 1480]), H);

## Physical check: over the whole response, the time integral of a column
## is the integral of 1 / (2 pi R) over the piston's surface. The sum over
## samples misses up to dt cp of the jump at tz: under 1e-3 here.
%!test
%! dt = 0.0005;
%! nt = 16000;
%! m = 1000;                                 # midpoint rule on m x m cells
%! [u, w] = meshgrid (((1:m) - 0.5) / m - 0.5);
%! for p = [2 -1 8; 4 1 10; 7 4 8; 1 9 12]'   # inside (centre, off centre), outside
%!   R = sqrt ((u(:) * ab(1) - p(1)).^2 + (w(:) * ab(2) - p(2)).^2 + p(3)^2) / 1000;
%!   surface = sum (1 ./ (2 * pi * R)) * (ab(1) * ab(2) / 1e6) / m^2;
%!   delay = p(3) / 1.48 - 1;
%!   H = platewave (p', ab, [dt nt], delay, material);
%!   assert (H(end), 0);
%!   assert (sum (H) * dt / 1e6, surface, -1e-3);
%! endfor

## The shapes the arguments may take.
%!test
%! points = [0 0 10; 8 0 10; 3 4 12; 0 0 -5];
%! row = platewave (points, ab, [0.1 150], 0.5, material);
%! assert (platewave (points, ab', [0.1; 150], 0.5, material'), row);
%! delay = [5 7; 6 8];
%! H = platewave (points, ab, [0.1 150], delay, material);
%! assert (H, platewave (points, ab, [0.1 150], delay(:)', material));
%! assert (H(:,3), platewave (points(3,:), ab, [0.1 150], 7, material));
%! assert (size (platewave (points, ab, [0.1 10.9], 0, material)), [10 4]);
%! assert (size (platewave (points, ab, [0.1 0], 0, material)), [0 4]);
%! assert (size (platewave (zeros (0, 3), ab, [0.1 20], 0, material)), [20 0]);

## Every check, in the order the module makes them.
%!test
%! p = [0 0 10; 1 1 10];
%! m = "platewave: ";
%! cases = {
%!   {},                                              "platewave requires 5 input arguments!"
%!   {p, ab, [0.1 20], 0},                            "platewave requires 5 input arguments!"
%!   {p, 5, [0.1 20 3], [0 0 0], [1 1500 2]},         "Argument 2 must be a two element vector!"
%!   {p, ones(2), [0.1 20 3], [0 0 0], [1 1500 2]},   "Argument 2 must be a two element vector!"
%!   {p, [1 2 3], [0.1 20], 0, [1 1500]},             "Argument 2 must be a two element vector!"
%!   {p, ab, [0.1 20 3], [0 0 0], [1 1500 2]},        "Argument 3 must be a vector of length 2!"
%!   {p, ab, 0.1, [0 0 0], [1 1500 2]},               "Argument 3 must be a vector of length 2!"
%!   {p, ab, [0.1 20], [0 0 0], [1 1500 2]},          "Argument 4 must be a scalar or a vector with a length equal to the number of observation points!"
%!   {p, ab, [0.1 20], [0 0], [1 1500 2]},            "Argument 5 must be a vector of length 2!"
%!   {p, ab, [0.1 20], [0 0], 1500},                  "Argument 5 must be a vector of length 2!"
%!   {p, ab, [0.1 -1], 0, [1 1500]},                  "Argument 3 must hold a number of samples from 0 to 2147483647!"
%! };
%! for i = 1:rows (cases)
%!   assert_raises (@() platewave (cases{i,1}{:}), [m cases{i,2}]);
%! endfor
%! assert_raises (@() evalin ("base", "[h1, h2] = platewave ([0 0 1], [2 2], [0.1 2], 0, [1 1500]);"),
%!                "platewave: Too many output arguments for platewave!");
