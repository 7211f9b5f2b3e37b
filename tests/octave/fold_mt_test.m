## Tests of the fold_mt module in Octave, against conv2.

## Random shapes, shared and per-column filters, any thread count.
%!test
%! rand ("twister", 11);
%! for trial = 1:40
%!   M = randi ([0 60]); N = randi ([0 9]); K = randi ([1 20]);
%!   A = rand (M, N) - 0.5;
%!   B = rand (K, 1) - 0.5;
%!   if (rand () < 0.5)
%!     B = rand (K, N) - 0.5;
%!   endif
%!   expected = zeros (M + K - 1, N);
%!   for j = 1:N * (M > 0)
%!     expected(:,j) = conv2 (A(:,j), B(:, min (j, end)));
%!   endfor
%!   n = randi (6) + rand ();
%!   Y = fold_mt (A, B, n);
%!   assert (size (Y), [M + K - 1, N]);
%!   assert (Y, expected, 1e-13);
%! endfor

## The filter's shape: a row is one filter, also when its length is N.
%!test
%! A = [1 2; 3 4; 5 6];
%! assert (fold_mt ([1; 2; 3], [1; 1], 1), [1; 3; 5; 3]);
%! assert (fold_mt ([1; 2; 3], [1 1], 1), [1; 3; 5; 3]);
%! assert (fold_mt (A, [1 10], 2), conv2 (A, [1; 10]));
%! assert (fold_mt (A, [1 10; 2 20], 2), [conv2(A(:,1), [1; 2]), conv2(A(:,2), [10; 20])]);
%! assert (fold_mt (ones (3, 3), [1 2 3], 3), conv2 (ones (3, 3), [1; 2; 3]));

## Empty signals and filters.
%!test
%! assert (fold_mt (zeros (0, 2), [1; 2; 3], 1), zeros (2, 2));
%! assert (fold_mt ([1; 2; 3], zeros (0, 1), 1), zeros (2, 1));
%! assert (size (fold_mt (zeros (0, 2), zeros (0, 1), 1)), [0 2]);
%! assert (size (fold_mt (zeros (4, 0), [1; 2], 3)), [5 0]);

## An empty filter gives M - 1 zeros per column, and leaves an in-place
## result as it was under "+=" and "-=", for lengths around the kernel's
## block of eight samples and on one thread or several.
%!test
%! for M = [1 2 7 8 9 15 16 17 24 64 65]
%!   for n = [1 3]
%!     A = rand (M, 3);
%!     assert (fold_mt (A, zeros (0, 1), n), zeros (M - 1, 3));
%!     Y = rand (M - 1, 3); before = Y + 0;
%!     fold_mt (A, zeros (0, 1), n, Y, "+=");
%!     assert (Y, before);
%!     fold_mt (A, zeros (0, 3), n, Y, "-=");
%!     assert (Y, before);
%!     fold_mt (A, zeros (0, 1), n, Y, "=");
%!     assert (Y, zeros (M - 1, 3));
%!   endfor
%! endfor

## In place: "=", "+=", "-=", the mode kept between calls, a numeric fifth
## argument leaving it, and the result seen through every variable that
## shares the storage.
%!test
%! x = [1; 2; 3]; h = [1; 1];
%! Y = [7; 7; 7; 7];
%! fold_mt (x, h, 1, Y, "=");
%! assert (Y, [1; 3; 5; 3]);
%! fold_mt (x, h, 1, Y, "+=");
%! assert (Y, [2; 6; 10; 6]);
%! fold_mt (x, h, 1, Y);
%! assert (Y, [3; 9; 15; 9]);
%! fold_mt (x, h, 1, Y, "-=");
%! assert (Y, [2; 6; 10; 6]);
%! fold_mt (x, h, 1, Y, 42);
%! assert (Y, [1; 3; 5; 3]);
%! shared = Y;
%! fold_mt (x, h, 1, Y);
%! assert (shared, [0; 0; 0; 0]);
%! fold_mt (x, h, 1, Y, "=");

## The safe pattern of the help text: a result made by zeros just before
## the call is written alone and starts afresh on every run, and leaves
## every other variable as it was; a result set from a literal of the code,
## or copied from a variable, writes into that literal or variable too.
%!test
%! A = [1; 2; 3]; B = [1; 1];
%! template = zeros (4, 1);
%! for run = 1:2
%!   Y = zeros (4, 1);
%!   fold_mt (A, B, 1, Y, "+=");
%!   assert (Y, [1; 3; 5; 3]);
%!   Z = [0; 0; 0; 0];
%!   fold_mt (A, B, 1, Z, "+=");
%!   assert (Z, run * [1; 3; 5; 3]);
%! endfor
%! assert ({A, B, template}, {[1; 2; 3], [1; 1], zeros(4, 1)});
%! copy = template;
%! fold_mt (A, B, 1, copy, "=");
%! assert (template, [1; 3; 5; 3]);

## A failing five-argument call has still set the mode.
%!test
%! Y = zeros (4, 1);
%! assert_raises (@() fold_mt ([1; 2; 3], [1; 1], 0, Y, "-="),
%!                "fold_mt: Argument 3 must be larger or equal to 1 (min number of CPUs)!");
%! Y(:) = 10;
%! fold_mt ([1; 2; 3], [1; 1], 1, Y);
%! assert (Y, [9; 7; 5; 7]);
%! fold_mt ([1; 2; 3], [1; 1], 1, Y, "=");

## In place on threads, per-column filters, "+=" on random data.
%!test
%! rand ("twister", 12);
%! A = rand (300, 23); B = rand (17, 23); Y0 = rand (316, 23);
%! Y = Y0; Y(1) = Y0(1);
%! fold_mt (A, B, 4, Y, "+=");
%! expected = Y0;
%! for j = 1:23
%!   expected(:,j) += conv2 (A(:,j), B(:,j));
%! endfor
%! assert (Y, expected, 1e-12);
%! fold_mt (A, B, 1, Y, "=");

## Inputs that are slices of the matrix written: the result of the inputs
## as passed, as conv2 gives it.
%!test
%! Y = reshape (1:40, 5, 8);
%! A = Y(:, 1:4);
%! expected = 3 * A;
%! fold_mt (Y(:, 1:4), 3, 2, Y(:, 3:6), "=");
%! assert (Y(:, 3:6), expected);

## The CPU count is truncated toward zero.
%!test
%! A = rand (10, 5);
%! assert (fold_mt (A, [1; 2], 2.9), conv2 (A, [1; 2]), 1e-15);
%! assert (fold_mt (A, [1; 2], 1e3), conv2 (A, [1; 2]), 1e-15);

## A call with no output variable still gives its result, in ans.
%!test
%! fold_mt ([1; 2; 3], [1; 1], 1);
%! assert (ans, [1; 3; 5; 3]);

## Every check, in the order the module makes them.
%!test
%! x = [1; 2; 3]; h = [1; 1]; Y = zeros (4, 1);
%! cases = {
%!   {x, h},                     "fold_mt: fold_mt requires 3 to 5 input arguments!"
%!   {x, h, 1, Y, "=", 1},       "fold_mt: fold_mt requires 3 to 5 input arguments!"
%!   {x, h, 1, "abcd"},          "fold_mt: Arg 4 must be a matrix (not a string)"
%!   {x, h, 1, Y, "= "},         "fold_mt: Non-valid string in arg 5!"
%!   {x, h, 1, Y, ""},           "fold_mt: Non-valid string in arg 5!"
%!   {x, h, 1, Y, "*="},         "fold_mt: Non-valid string in arg 5!"
%!   {x, h, 1, "abcd", "="},     "fold_mt: Arg 4 must be a matrix (not a string)"
%!   {[x x x], ones(2, 2), 1},   "fold_mt: Argument 2 must be a vector or have as many columns as argument 1!"
%!   {x, h, [1 2]},              "fold_mt: Argument 3 must be a scalar!"
%!   {x, h, []},                 "fold_mt: Argument 3 must be a scalar!"
%!   {x, h, 0.5},                "fold_mt: Argument 3 must be larger or equal to 1 (min number of CPUs)!"
%!   {x, h, NaN},                "fold_mt: Argument 3 must be larger or equal to 1 (min number of CPUs)!"
%!   {x, h, 1e10},               "fold_mt: Argument 3 must be larger or equal to 1 (min number of CPUs)!"
%!   {x, h, -Inf},               "fold_mt: Argument 3 must be larger or equal to 1 (min number of CPUs)!"
%!   {x, h, 1, zeros(3, 1)},     "fold_mt: Wrong number of rows in argument 4!"
%!   {x, h, 1, zeros(4, 2)},     "fold_mt: Wrong number of columns in argument 4!"
%!   {x, h, 1, zeros(4, 2), "="}, "fold_mt: Wrong number of columns in argument 4!"
%!   {zeros(0, 1), zeros(0, 1), 1, zeros(0, 1)}, "fold_mt: Wrong number of rows in argument 4!"
%! };
%! for i = 1:rows (cases)
%!   assert_raises (@() fold_mt (cases{i,1}{:}), cases{i,2});
%! endfor
%! assert_raises (@() evalin ("base", "[a, b] = fold_mt ([1; 2], 1, 1);"),
%!                "fold_mt: Too many output arguments for fold_mt!");
%! assert_raises (@() evalin ("base", "a = fold_mt ([1; 2], 1, 1, [0; 0]);"),
%!                "fold_mt: No output arguments required for fold_mt in in-place operating mode!");
%! assert_raises (@() evalin ("base", "a = fold_mt ([1; 2], 1, 1, [0; 0], \"+=\");"),
%!                "fold_mt: No output arguments required for fold_mt in in-place operating mode!");
%! fold_mt (x, h, 1, Y, "=");
