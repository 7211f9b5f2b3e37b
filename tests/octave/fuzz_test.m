## Every module under hostile arguments, in one Octave process. A short
## round with a fixed seed runs with the suite; a longer one on request:
##   VELK_FUZZ_CALLS=50000 VELK_FUZZ_SEED=123 ctest -R fuzz --output-on-failure

%!test
%! n_calls = str2double (getenv ("VELK_FUZZ_CALLS"));
%! if (isnan (n_calls))
%!   n_calls = str2double (getenv ("VELK_FUZZ_ROUND_CALLS"));   # the build's own round
%! endif
%! seed = str2double (getenv ("VELK_FUZZ_SEED"));
%! if (isnan (seed))
%!   seed = 20261208;
%! endif
%! assert (fuzz_all (seed, n_calls));

## The process survived the round and still computes right.
%!test
%! points = [0 0 10; 6 0 10; 5 0 0; 2 -3 -4];
%! args = {points, 5, [0.05 400], [0 0.5 0 1], [1 1500]};
%! assert (discwave (args{:}), discwave_reference (args{:}), -1e-12);

## fold_mt and paste_mt still compute right; fold_mt's mode is whatever the
## round's last five-argument call left, so it is set first.
%!test
%! Y = zeros (4, 2);
%! fold_mt ([1 1; 2 2; 3 3], [1; 1], 2, Y, "=");
%! assert (Y, [1 1; 3 3; 5 5; 3 3]);
%! paste_mt (Y, [2 3], [1 2], [7 8; 9 10], 2);
%! assert (Y, [1 1; 7 8; 9 10; 3 3]);
