## Tests of the platewave_avg module in Octave.

## Points inside, on an edge line, beyond a corner and below the plane,
## against the mean of point samples; the foot's quadrant does not matter.
%!test
%! points = [0 0 10; 5 1 10; 7 -5 12; -4 1 -2; 2 2 0.5];
%! args = {points, [10 6], [0.05 400], [6 6 7 0 0], [1 1500], 4};
%! H = platewave_avg (args{:});
%! assert (H, platewave_avg_reference (args{:}), 2e-3 * 1500);
%! mirrored = platewave_avg (points .* [-1 -1 1], args{2:end});
%! assert (mirrored, H, 1e-12 * 1500);

## Every check, in the order the module makes them.
%!test
%! p = [0 0 10; 1 1 10];
%! good = {p, [1 2], [0.1 20], 0, [1 1500], 2};
%! cases = {
%!   {},                                     "platewave_avg requires 6 input arguments!"
%!   [good, {1}],                            "platewave_avg requires 6 input arguments!"
%!   {p, 1, [0.1 20], 0, [1 1500], 2},       "Argument 2 must be a two element vector!"
%!   {p, [1 2], [0.1 20 1], 0, [1 1500], 2}, "Argument 3 must be a vector of length 2!"
%!   {p, [1 2], [0 20], 0, [1 1500], 2},     "Argument 3 must hold a finite sampling period above 0!"
%!   {p, [1 2], [Inf 20], 0, [1 1500], 2},   "Argument 3 must hold a finite sampling period above 0!"
%!   {p, [1 2], [0.1 20], [0 0 0], [1 1500], 2}, "Argument 4 must be a scalar or a vector with a length equal to the number of observation points!"
%!   {p, [1 2], [0.1 20], 0, 1500, 2},       "Argument 5 must be a vector of length 2!"
%!   {p, [1 2], [0.1 20], 0, [1 0], 2},      "Argument 5 must hold a sound speed that is finite and above 0!"
%!   {p, [1 2], [0.1 20], 0, [1 NaN], 2},    "Argument 5 must hold a sound speed that is finite and above 0!"
%!   {p, [1 2], [0.1 20], 0, [1 1500], [1 2]}, "Argument 6 must be a scalar!"
%!   {p, [1 2], [0.1 20], 0, [1 1500], 0.9}, "Number of intervals (argument 6) must be larger than one !"
%! };
%! for i = 1:rows (cases)
%!   assert_raises (@() platewave_avg (cases{i,1}{:}), ["platewave_avg: " cases{i,2}]);
%! endfor
%! assert_raises (@() evalin ("base", "[a, b] = platewave_avg ([0 0 1], [1 1], [0.1 2], 0, [1 1500], 1);"),
%!                "platewave_avg: Too many output arguments for platewave_avg!");
