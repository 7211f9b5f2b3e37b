## The point-wise modules over chunks of points on forked processes
## (map_points in examples/, over the parallel package's parcellfun): the
## same matrix, bit for bit, as one call, for chunk sizes that give one
## point, a ragged last chunk and one chunk.
%!shared P, D, S, positions, G
%! pkg load parallel
%! rand ("seed", 21);
%! P = [(rand (23, 2) - 0.5) * 16, 5 + rand(23, 1) * 35];
%! D = 2 + rand (23, 1) * 8;
%! S = rand (400, 24) - 0.5;
%! positions = [linspace(-8, 8, 24)', zeros(24, 2)];
%! G = [(rand (50, 1) - 0.5) * 16, zeros(50, 1), 2 + rand(50, 1) * 5];

%!test
%! one_call = {
%!   @(i) discwave(P(i,:), 5, [0.025 900], D(i), [1 1500]),              23, 2
%!   @(i) platewave(P(i,:), [10 6], [0.025 900], 4, [1 1500]),           23, 2
%!   @(i) discwave_avg(P(i,:), 1, [0.025 900], D(i), [1 1500], 8),       23, 2
%!   @(i) lagsum(P(i,:), [0.1 400], D(i), 1500, "ignore"),               23, 2
%!   @(i) echofocus(S, positions, 0.1, 0.05, 1500, G(i,:), 6),           50, 1
%!   @(i) echofocus_mt(S, positions, 0.1, 0.05, 1500, G(i,:), 6, 1),     50, 1
%! };
%! for c = 1:rows (one_call)
%!   [fn, n, dim] = one_call{c, :};
%!   expected = fn ((1:n)');
%!   for chunk_points = [1 7 100]
%!     assert (isequal (map_points (fn, n, dim, chunk_points, 2), expected),
%!             sprintf ("%s, chunks of %d", func2str (fn), chunk_points));
%!   endfor
%! endfor
