## Every module under hostile arguments, in one Octave process. A short
## round with a fixed seed runs with the suite; a longer one on request:
##   VELK_FUZZ_CALLS=50000 VELK_FUZZ_SEED=123 ctest -R fuzz --output-on-failure

%!test
%! n_calls = str2double (getenv ("VELK_FUZZ_CALLS"));
%! if (isnan (n_calls))
%!   n_calls = 1500;
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
