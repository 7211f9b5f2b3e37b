## Tests of the paste_mt module in Octave, against indexed assignment.

## Random blocks, exactly as indexed assignment writes them.
%!test
%! rand ("twister", 21);
%! for trial = 1:60
%!   M1 = randi (12); N1 = randi (12);
%!   r = sort (randi (M1, 1, 2)); c = sort (randi (N1, 1, 2));
%!   S = rand (r(2) - r(1) + 1 + randi ([0 2]), c(2) - c(1) + 1);
%!   Y = rand (M1, N1);
%!   expected = Y;
%!   expected(r(1):r(2), c(1):c(2)) = S(1:r(2)-r(1)+1, :);
%!   paste_mt (Y, r, c', S, randi (5));
%!   assert (Y, expected);
%! endfor

## The worked example, and a variable sharing the storage sees the copy.
%!test
%! Y = zeros (4, 3);
%! shared = Y;
%! paste_mt (Y, [2 3], [2 3], [1 2; 3 4], 2);
%! assert (Y, [0 0 0; 0 1 2; 0 3 4; 0 0 0]);
%! assert (shared, Y);

## The help text's loops: a result made by zeros is written alone, while
## one set from a literal writes the literal, and a copy its original.
%!test
%! S = [1 2; 3 4];
%! template = zeros (3);
%! for run = 1:2
%!   Y = zeros (3);
%!   assert (Y, zeros (3));
%!   paste_mt (Y, [1 2], [2 3], S, 2);
%!   Z = [0 0 0; 0 0 0; 0 0 0];
%!   assert (Z(1:2, 2:3), (run - 1) * S);
%!   paste_mt (Z, [1 2], [2 3], S, 2);
%! endfor
%! assert ({S, template}, {[1 2; 3 4], zeros(3)});
%! copy = template;
%! paste_mt (copy, [1 2], [2 3], S, 2);
%! assert (template(1:2, 2:3), S);

## Fractional ranges are evaluated before truncation.
%!test
%! cases = {
%!   [1.5 3.2], 2, 1:2
%!   [1.5 3.7], 3, 1:3
%!   [3 3],     1, 3
%!   [2.9 2.1], 0, []
%! };
%! for i = 1:rows (cases)
%!   Y = zeros (5, 2);
%!   S = reshape (1:10, 5, 2);
%!   paste_mt (Y, cases{i,1}, [1 2], S, 1);
%!   expected = zeros (5, 2);
%!   expected(cases{i,3}, :) = S(1:cases{i,2}, :);
%!   if (! isequal (Y, expected))
%!     error ("rows %s: got %s", mat2str (cases{i,1}), mat2str (Y));
%!   endif
%! endfor

## No block columns: nothing written.
%!test
%! Y = ones (3, 4);
%! paste_mt (Y, [1 2], [3 2], zeros (2, 0), 4);
%! assert (Y, ones (3, 4));

## A source sharing the destination's storage, or a slice of it: the result
## of the indexed assignment.
%!test
%! Y = reshape (1:30, 5, 6);
%! expected = Y; expected(2:5, :) = Y(1:4, :);
%! paste_mt (Y, [2 5], [1 6], Y, 2);
%! assert (Y, expected);
%! Y = reshape (1:30, 5, 6);
%! expected = Y; expected(:, 2:6) = Y(:, 1:5);
%! paste_mt (Y, [1 5], [2 6], Y(:, 1:5), 3);
%! assert (Y, expected);
%! Y = reshape (1:30, 5, 6);
%! expected = Y; expected(:, 1:5) = Y(:, 2:6);
%! paste_mt (Y, [1 5], [1 5], Y(:, 2:6), 3);
%! assert (Y, expected);

## Every check, in the order the module makes them.
%!test
%! Y = zeros (4, 3); S = ones (2, 2);
%! cases = {
%!   {Y, [2 3], [2 3], S},                "paste_mt: paste_mt requires 5 input arguments!"
%!   {Y, [2 3], [2 3], S, 1, 1},          "paste_mt: paste_mt requires 5 input arguments!"
%!   {Y, [2 3 4], [2 3], S, 1},           "paste_mt: Argument 2 must be a 2 element vector!"
%!   {Y, 2, [2 3], S, 1},                 "paste_mt: Argument 2 must be a 2 element vector!"
%!   {Y, [0.9 3], [2 3], S, 1},           "paste_mt: Argument 2 must hold row numbers of at least 1!"
%!   {Y, [2 NaN], [2 3], S, 1},           "paste_mt: Argument 2 must hold row numbers of at least 1!"
%!   {Y, [2 5], [2 3], S, 1},             "paste_mt: One element of argument 2 exceeds row dimension of arg 1!"
%!   {Y, [2 3], [2 3 4], S, 1},           "paste_mt: Argument 3 must be a 2 element vector!"
%!   {Y, [2 3], [0 3], S, 1},             "paste_mt: Argument 3 must hold column numbers of at least 1!"
%!   {Y, [2 3], [2 4], S, 1},             "paste_mt: One element of argument 3 exceeds colomn dimension of arg 1!"
%!   {Y, [4 2], [2 3], S, 1},             "paste_mt: Argument 2 must not give a negative number of rows!"
%!   {Y, [1 3], [2 3], S, 1},             "paste_mt: Argument 4 has not the number of rows as given by arg 2!"
%!   {Y, [1+eps 3], [2 3], S, 1},         "paste_mt: Argument 4 has not the number of rows as given by arg 2!"
%!   {Y, [2 3], [1 3], S, 1},             "paste_mt: Argument 4 has not the number of columns as given by arg 3!"
%!   {Y, [2 3], [3 3], S, 1},             "paste_mt: Argument 4 has not the number of columns as given by arg 3!"
%!   {Y, [2 3], [2 3], S, [1 2]},         "paste_mt: Argument 5 must be a scalar!"
%!   {Y, [2 3], [2 3], S, 0.5},           "paste_mt: Argument 5 must be larger or equal to 1 (min number of CPUs)!"
%!   {Y, [2 3], [2 3], S, NaN},           "paste_mt: Argument 5 must be larger or equal to 1 (min number of CPUs)!"
%!   {Y, [2 3], [2 3], S, 1e10},          "paste_mt: Argument 5 must be larger or equal to 1 (min number of CPUs)!"
%! };
%! for i = 1:rows (cases)
%!   before = cases{i,1}{1}; before(1) = before(1);
%!   assert_raises (@() paste_mt (cases{i,1}{:}), cases{i,2});
%!   if (numel (cases{i,1}) >= 1)
%!     assert (cases{i,1}{1}, before);   # nothing written
%!   endif
%! endfor
%! assert_raises (@() evalin ("base", "a = paste_mt (zeros (2), [1 1], [1 1], 1, 1);"),
%!                "paste_mt: Too many output arguments for paste_mt, none required!");

## The class of each argument is tested in the order of the positions: a
## source of the wrong class is refused only after arguments 2 and 3 passed.
%!test
%! Y = zeros (4, 3); S = single (ones (2, 2));
%! assert_raises (@() paste_mt (Y, [2 3 4], [2 3], S, 1), "paste_mt: Argument 2 must be a 2 element vector!");
%! assert_raises (@() paste_mt (Y, [2 3], int8 ([2 3]), S, 1), "paste_mt: Argument 3 must be a real, full double array!");
%! assert_raises (@() paste_mt (Y, [2 3], [2 3], S, "2"), "paste_mt: Argument 4 must be a real, full double array!");
