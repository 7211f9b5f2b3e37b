## Tests of the echofocus and echofocus_mt modules in Octave.

## Random A-scans against the reference; echofocus_mt gives the same bits as
## echofocus for any thread count, more threads than points included.
%!test
%! rand ("seed", 11);
%! M = 300; N = 60; n_points = 250;
%! S = rand (M, N) - 0.5;
%! positions = [linspace(-15, 15, N)', (rand (N, 1) - 0.5) * 4, (rand (N, 1) - 0.5) * 2];
%! points = [(rand (n_points, 1) - 0.5) * 36, (rand (n_points, 1) - 0.5) * 4, 2 + rand(n_points, 1) * 10];
%! dt = 0.05; cp = 1480;
%! for delay = {0.4, (rand (N, 1) - 0.5) * 0.5, reshape((rand (N, 1) - 0.5) * 0.5, 6, 10)}
%!   for a = [8, 40, 0, -1]
%!     args = {S, positions, delay{1}, dt, cp, points, a};
%!     out = echofocus (args{:});
%!     expected = echofocus_reference (args{:});
%!     assert (size (out), [n_points 1]);
%!     assert (out, expected, -1e-12);
%!     if (a == 40)
%!       assert (nnz (out) > 0.9 * n_points);
%!     elseif (a < 0)
%!       assert (out, zeros (n_points, 1));
%!     endif
%!     for n = [1 2 3 7 n_points + 5]
%!       assert (isequal (echofocus_mt (args{:}, n), out), sprintf ("n = %d, a = %g", n, a));
%!     endfor
%!   endfor
%! endfor

## A few point scatterers seen by a transducer moved along x: the focused
## image peaks within one grid step of each of them.
%!test
%! cp = 1500; dt = 0.02; M = 4000; fc = 3;
%! positions = [(-20:0.5:20)', zeros(81, 2)];
%! scatterers = [-8 0 20; 0 0 30; 10 0 25];
%! t = (0:M-1)' * dt;
%! S = zeros (M, rows (positions));
%! for n = 1:rows (positions)
%!   for s = 1:rows (scatterers)
%!     t0 = 2 * norm (scatterers(s,:) - positions(n,:)) / cp * 1000;
%!     S(:,n) += cos (2 * pi * fc * (t - t0)) .* exp (-((t - t0) * fc / 0.8).^2);
%!   endfor
%! endfor
%! step = 0.25;
%! [X, Z] = meshgrid (-15:step:15, 15:step:35);
%! image = reshape (echofocus_mt (S, positions, 0, dt, cp, [X(:), zeros(numel (X), 1), Z(:)], 20, 2), size (X));
%! for s = 1:rows (scatterers)
%!   near = abs (X - scatterers(s,1)) <= 3 & abs (Z - scatterers(s,3)) <= 3;
%!   [peak, at] = max (image(:) .* near(:));
%!   assert (abs ([X(at), Z(at)] - scatterers(s,[1 3])) <= step + 1e-9, sprintf ("scatterer %d", s));
%!   assert (peak > 10 * median (abs (image(:))));
%! endfor

## Two A-scans recorded at the same place with the same samples count twice.
%!test
%! rand ("seed", 3);
%! S = rand (200, 1);
%! points = [0 0 5; 1 0 6; 0 1 3];
%! one = echofocus (S, [0 0 0], 0, 0.05, 1500, points, 10);
%! two = echofocus ([S S], [0 0 0; 0 0 0], 0, 0.05, 1500, points, 10);
%! assert (two, 2 * one);
%! assert (all (one != 0));

## Sizes: no points, and the thread counts the module reads.
%!test
%! S = rand (50, 2);
%! P = [0 0 0; 1 0 0];
%! assert (size (echofocus (S, P, 0, 0.05, 1500, zeros (0, 3), 5)), [0 1]);
%! assert (size (echofocus_mt (S, P, 0, 0.05, 1500, zeros (0, 3), 5, 3)), [0 1]);
%! assert (size (echofocus_mt (S, P, [0 0], 0.05, 1500, [0 0 1], 5, 2.9)), [1 1]);
%! echofocus_mt (S, P, 0, 0.05, 1500, [0 0 1; 0 0 2], 5, 1);
%! assert (size (ans), [2 1]);

## Every check, in the order the modules make them.
%!test
%! S = zeros (10, 2);
%! P = [0 0 0; 1 0 0];
%! p = [0 0 1];
%! cases = {
%!   {S, [0 0 0], 0, 1, 1, p, 1},           "Arg 2 must be a (number of transducer positions) x 3 matrix!"
%!   {S, [P, P], 0, 1, 1, p, 1},            "Arg 2 must be a (number of transducer positions) x 3 matrix!"
%!   {S, P, [0 0 0], 1, 1, p, 1},           "Argument 3 (delay(s)) must be a scalar or a vector with a length equal to the number of A-scans!"
%!   {S, P, [], [1 1], 1, p, 1},            "Argument 3 (delay(s)) must be a scalar or a vector with a length equal to the number of A-scans!"
%!   {S, P, [0; 0], [1 1], [1 1], p, 1},    "Argument 4 (temporal sampling period) must be a scalar"
%!   {S, P, 0, 1, [1 1], [0 0], [1 1]},     "Argument 5 (sound speed) must be a scalar!"
%!   {S, P, 0, 1, 1, [0 0], [1 1]},         "Argument 6 must have 3 columns (x, y, z in mm)!"
%!   {S, P, 0, 1, 1, p, [1 1]},             "Argument 7 must be a scalar!"
%!   {S, P, 0, 1, 1, p, NaN},               "Argument 7 (aperture width) must be a number!"
%! };
%! for i = 1:rows (cases)
%!   assert_raises (@() echofocus (cases{i,1}{:}), ["echofocus: " cases{i,2}]);
%!   assert_raises (@() echofocus_mt (cases{i,1}{:}, 0), ["echofocus_mt: " cases{i,2}]);
%! endfor
%! good = {S, P, 0, 1, 1, p, 1};
%! assert_raises (@() echofocus (good{1:6}), "echofocus: echofocus requires 7 input arguments!");
%! assert_raises (@() echofocus (good{:}, 2), "echofocus: echofocus requires 7 input arguments!");
%! assert_raises (@() echofocus_mt (good{:}), "echofocus_mt: echofocus_mt requires 8 input arguments!");
%! assert_raises (@() evalin ("base", "[a, b] = echofocus (zeros (4, 1), [0 0 0], 0, 1, 1, [0 0 1], 1);"),
%!                "echofocus: Too many output arguments for echofocus!");
%! assert_raises (@() evalin ("base", "[a, b] = echofocus_mt (zeros (4, 1), [0 0 0], 0, 1, 1, [0 0 1], 1, 1);"),
%!                "echofocus_mt: Too many output arguments for echofocus_mt!");
%! cpus = {[1 2], "Argument 8 must be a scalar!"; [], "Argument 8 must be a scalar!";
%!         0.5, "Argument 8 must be larger or equal to 1 (min number of CPUs)!";
%!         NaN, "Argument 8 must be larger or equal to 1 (min number of CPUs)!";
%!         1e10, "Argument 8 must be larger or equal to 1 (min number of CPUs)!";
%!         -Inf, "Argument 8 must be larger or equal to 1 (min number of CPUs)!"};
%! for i = 1:rows (cpus)
%!   assert_raises (@() echofocus_mt (good{:}, cpus{i,1}), ["echofocus_mt: " cpus{i,2}]);
%! endfor
