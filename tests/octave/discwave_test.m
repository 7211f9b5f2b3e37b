## Tests of the discwave module in Octave.

%!shared a, material, sampling
%! a = 6;
%! material = [0.5 1480];
%! sampling = [0.05 900];

## Random points inside, outside and over the rim against the closed form,
## within 1e-12 v cp (the module's arc cosine is a vector one).
%!test
%! rand ("seed", 42);
%! n = 300;
%! r = [rand(n/3,1)*a*0.99; a + rand(n/3,1)*10; a*ones(n/3,1)];
%! phi = rand (n, 1) * 2 * pi;
%! points = [r.*cos(phi), r.*sin(phi), (rand (n, 1) - 0.1) * 25];
%! delay = rand (1, n) * 2;
%! H = discwave (points, a, sampling, delay, material);
%! expected = discwave_reference (points, a, sampling, delay, material);
%! assert (size (H), [900 n]);
%! assert (all (isfinite (H(:))));
%! assert (H, expected, 1e-12 * abs (prod (material)));

## A point on the axis: v cp on the plateau, zero elsewhere.
%!test
%! H = discwave ([0 0 10], 5, [0.1 200], 0, [2 1500]);
%! k = (0:199)';
%! on_plateau = k >= 67 & k <= 74;
%! assert (H(on_plateau), repmat (3000, 8, 1));
%! assert (H(! on_plateau), zeros (192, 1));

## Over the rim in the plane of the piston: half the plateau at t = 0.
%!assert (discwave ([5 0 0], 5, [0.1 1], 0, [1 1500]), 750, 1e-9)

## The shapes the arguments may take.
%!test
%! points = [0 0 10; 8 0 10; 3 4 12; 0 0 -5];
%! row = discwave (points, 5, [0.1 150], 0.5, [1 1500]);
%! assert (discwave (points, 5, [0.1; 150], 0.5, [1; 1500]), row);
%! delay = [0.5 0.7; 0.6 0.8];
%! H = discwave (points, 5, [0.1 150], delay, [1 1500]);
%! assert (H, discwave (points, 5, [0.1 150], delay(:)', [1 1500]));
%! assert (H(:,3), discwave (points(3,:), 5, [0.1 150], 0.7, [1 1500]));  # column-major
%! assert (H(:,2), discwave (points(2,:), 5, [0.1 150], 0.6, [1 1500]));
%! assert (size (discwave (points, 5, [0.1 10.9], 0, [1 1500])), [10 4]);
%! assert (size (discwave (points, 5, [0.1 -0.5], 0, [1 1500])), [0 4]);
%! assert (size (discwave (zeros (0, 3), 5, [0.1 20], 0, [1 1500])), [20 0]);
%! assert (size (discwave ([], 5, [0.1 20], 0, [1 1500])), [20 0]);
%! ## Columns past the third are not read.
%! assert (discwave ([points, ones(4, 2)], 5, [0.1 150], 0.5, [1 1500]), row);

## A call with no output variable still gives its result, in ans.
%!test
%! discwave ([0 0 10], 5, [0.1 80], 0, [2 1500]);
%! assert (size (ans), [80 1]);
%! assert (ans(70), 3000);

## Every check, in the order the module makes them.
%!test
%! p = [0 0 10; 1 1 10];
%! cases = {
%!   {},                                          "discwave: discwave requires 5 input arguments!"
%!   {p, 5, [0.1 20], 0, [1 1500], 1},            "discwave: discwave requires 5 input arguments!"
%!   {p, [5 5], [0.1 20], [0 0 0], [1 1500 2]},   "discwave: Argument 2 must be a scalar!"
%!   {p, 5, [0.1 20 3], [0 0 0], [1 1500 2]},     "discwave: Argument 3 must be a vector of length 2!"
%!   {p, 5, [0.1 20; 1 2], [0 0 0], [1 1500 2]},  "discwave: Argument 3 must be a vector of length 2!"
%!   {p, 5, 0.1, [0 0 0], [1 1500 2]},            "discwave: Argument 3 must be a vector of length 2!"
%!   {p, 5, [0.1 20], [0 0 0], [1 1500 2]},       "discwave: Argument 4 must be a scalar or a vector with a length equal to the number of observation points!"
%!   {p, 5, [0.1 20], [], [1 1500 2]},            "discwave: Argument 4 must be a scalar or a vector with a length equal to the number of observation points!"
%!   {p, 5, [0.1 20], [0 0], [1 1500 2]},         "discwave: Argument 5 must be a vector of length 2!"
%!   {p, 5, [0.1 20], [0 0], 1500},               "discwave: Argument 5 must be a vector of length 2!"
%! };
%! for i = 1:rows (cases)
%!   assert_raises (@() discwave (cases{i,1}{:}), cases{i,2});
%! endfor
%! assert_raises (@() evalin ("base", "[h1, h2] = discwave ([0 0 1], 5, [0.1 2], 0, [1 1500]);"),
%!                "discwave: Too many output arguments for discwave!");

