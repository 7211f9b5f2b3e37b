## Sizes beyond the int range the kernels count with: every module refuses
## them with a message naming the argument, before any work. Empty arrays
## make such sizes cheap (zeros (0, 2^31) allocates nothing).

%!test
%! big = 2^31;
%! p = [0 0 10];
%! Y = zeros (4, 3);
%! too_large = " must have at most 2147483647 rows and columns!";
%! cases = {
%!   @() discwave (zeros (0, big), 5, [0.1 20], 0, [1 1500]),                   "discwave: Argument 1"
%!   @() platewave (zeros (0, 3), [5 5], [0.1 20], zeros (0, big), [1 1500]),   "platewave: Argument 4"
%!   @() discwave_avg (zeros (big, 0), 5, [0.1 20], 0, [1 1500], 4),            "discwave_avg: Argument 1"
%!   @() velk_damp (zeros (0, 2^32 + 3), [0.1 20], 0, [1500 0.5]),              "velk_damp: Argument 1"
%!   @() lagsum (zeros (0, 3), [0.1 20], zeros (big, 0), 1500, "stop"),         "lagsum: Argument 3"
%!   @() echofocus (zeros (0, big), zeros (0, 3), 0, 0.05, 1500, p, 5),         "echofocus: Argument 1"
%!   @() echofocus_mt (zeros (10, 1), [0 0 0], 0, 0.05, 1500, zeros (0, big), 5, 2), "echofocus_mt: Argument 6"
%!   @() fold_mt (zeros (0, 2^32 + 3), 1, 1),                                   "fold_mt: Argument 1"
%!   @() fold_mt (zeros (big - 1, 0), 1, 1, zeros (big, 0)),                    "fold_mt: Argument 4"
%!   @() paste_mt (zeros (0, big), [1 1], [1 1], 1, 1),                         "paste_mt: Argument 1"
%!   @() paste_mt (Y, [2 3], [2 3], zeros (0, big), 1),                         "paste_mt: Argument 4"
%! };
%! for i = 1:rows (cases)
%!   assert_raises (cases{i,1}, [cases{i,2} too_large]);
%! endfor
%! assert (Y, zeros (4, 3));
%! ## A length derived from two arguments: M + K - 1 rows of result.
%! assert_raises (@() fold_mt (zeros (big - 1, 0), [1 1], 1),
%!                "fold_mt: Argument 2 makes the result's columns longer than 2147483647 samples!");
%! assert_raises (@() velk_taper ("gauss", big, 1), "velk_taper: Argument 2 must be a positive integer!");
%! ## At the limit itself the sizes are accepted.
%! assert (size (fold_mt (zeros (big - 2, 0), [1 1], 1)), [big - 1, 0]);
