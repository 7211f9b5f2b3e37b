## How Octave's values reach a module, through one module for all: the
## classes the adaptor refuses where a real, full double array is read (every
## module reads its numeric arguments through the same helpers, and the fuzz
## round refuses any call that returned having read another class), and the
## counts of samples the helpers refuse.

%!test
%! p = [0 0 10];
%! cases = {
%!   {int32(p), 5, [0.1 20], 0, [1 1500]},        "discwave: Argument 1 must be a real, full double array!"
%!   {[0 0], 5, [0.1 20], 0, [1 1500]},           "discwave: Argument 1 must have 3 columns (x, y, z in mm)!"
%!   {p, single(5), [0.1 20], 0, [1 1500]},       "discwave: Argument 2 must be a real, full double array!"
%!   {p, {5}, [0.1 20], 0, [1 1500]},             "discwave: Argument 2 must be a real, full double array!"
%!   {p, struct("a", 5), [0.1 20], 0, [1 1500]},  "discwave: Argument 2 must be a real, full double array!"
%!   {p, @sin, [0.1 20], 0, [1 1500]},            "discwave: Argument 2 must be a real, full double array!"
%!   {p, 5, {0.1 20}, 0, [1 1500]},               "discwave: Argument 3 must be a real, full double array!"
%!   {p, 5, "ab", 0, [1 1500]},                   "discwave: Argument 3 must be a real, full double array!"
%!   {p, 5, [0.1 20], true, [1 1500]},            "discwave: Argument 4 must be a real, full double array!"
%!   {p, 5, [0.1 20], 0, [1 1500] + 1i},          "discwave: Argument 5 must be a real, full double array!"
%!   {p, 5, [0.1 20], 0, sparse([1 1500])},       "discwave: Argument 5 must be a real, full double array!"
%!   {sparse(p), 5, [0.1 20], 0, [1 1500]},       "discwave: Argument 1 must be a real, full double array!"
%!   {p, 5, [0.1 -1], 0, [1 1500]},               "discwave: Argument 3 must hold a number of samples from 0 to 2147483647!"
%!   {p, 5, [0.1 NaN], 0, [1 1500]},              "discwave: Argument 3 must hold a number of samples from 0 to 2147483647!"
%!   {p, 5, [0.1 Inf], 0, [1 1500]},              "discwave: Argument 3 must hold a number of samples from 0 to 2147483647!"
%!   {p, 5, [0.1 2^31], 0, [1 1500]},             "discwave: Argument 3 must hold a number of samples from 0 to 2147483647!"
%! };
%! for i = 1:rows (cases)
%!   assert_raises (@() discwave (cases{i,1}{:}), cases{i,2});
%! endfor
