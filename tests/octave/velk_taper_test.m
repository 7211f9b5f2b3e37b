## Tests of the velk_taper module in Octave.

## The windows for N = 4 (positions 1, 0.5, 0, -0.5) and N = 1 (position 1).
%!test
%! c = cos (pi / 2);   # the raised window's cos(pi |x|) at |x| = 1/2
%! cases = {
%!   "triangle", 4, 7,  [0; 0.5; 1; 0.5]
%!   "gauss",    4, 1,  [0.36787944117144233; 0.7788007830714049; 1; 0.7788007830714049]
%!   "gauss",    4, 0,  [1; 1; 1; 1]
%!   "raised",   4, 1,  [0; 1 + c; 2; 1 + c]
%!   "raised",   4, -2, [-3; -2 + c; -1; -2 + c]
%!   "simply",   4, 1,  [0; 0.75; 1; 0.75]
%!   "clamped",  4, 1,  [0; 0.375; 1; 0.375]
%!   "off",      5, 1,  zeros(5, 1)
%!   "triangle", 1, 1,  0
%!   "simply",   1, 1,  0
%!   "clamped",  1, 1,  0
%!   "gauss",    1, 3,  exp(-3)
%!   "raised",   1, 3,  2
%!   "gauss",    0, 1,  zeros(0, 1)
%!   "triangle", 3.9, 1, [0; 2/3; 2/3]
%!   "triangle", -0.5, 1, zeros(0, 1)
%! };
%! for i = 1:rows (cases)
%!   [window, N, p, expected] = cases{i,:};
%!   w = velk_taper (window, N, p);
%!   assert (size (w), size (expected));
%!   assert (w, expected, 4 * eps);
%! endfor

## A longer array: positions from 1 down by 2/N, not symmetric about 0.
%!test
%! N = 64;
%! x = 2 * (0.5 - (0:N-1)' / N);
%! assert (velk_taper ("clamped", N, 0), (1 - x.^2) .* (1 - abs (x)), 4 * eps);
%! assert (velk_taper ("gauss", N, 2.5), exp (-2.5 * x.^2), 4 * eps);

## Every check, in the order the module makes them; keywords are matched
## whole and case included, and only text is compared.
%!test
%! cases = {
%!   {},                        "velk_taper requires three input arguments!"
%!   {"off", 4},                "velk_taper requires three input arguments!"
%!   {4, [1 2], [1 2]},         "Argument 1 must be a string"
%!   {{"off"}, 4, 1},           "Argument 1 must be a string"
%!   {"ud", [1 2], [1 2]},      " 'ud'- (user defined) meaningless for this function!"
%!   {"Triangle", 4, 1},        "Unknown apodization level!"
%!   {"triangle ", 4, 1},       "Unknown apodization level!"
%!   {"tri", 4, 1},             "Unknown apodization level!"
%!   {"", 4, 1},                "Unknown apodization level!"
%!   {"OFF", 4, 1},             "Unknown apodization level!"
%!   {repmat("x", 1, 100), 4, 1}, "Unknown apodization level!"
%!   {"gauss", [1 2], [1 2]},   "Argument 2 must be a scalar!"
%!   {"gauss", [], 1},          "Argument 2 must be a scalar!"
%!   {"gauss", -1, [1 2]},      "Argument 2 must be a positive integer!"
%!   {"gauss", NaN, 1},         "Argument 2 must be a positive integer!"
%!   {"gauss", 4, [1 2]},       "Argument 3 must be a scalar!"
%! };
%! for i = 1:rows (cases)
%!   assert_raises (@() velk_taper (cases{i,1}{:}), ["velk_taper: " cases{i,2}]);
%! endfor
%! assert_raises (@() evalin ("base", "[w1, w2] = velk_taper ('off', 2, 1);"),
%!                "velk_taper: velk_taper requires one output argument!");
