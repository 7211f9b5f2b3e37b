## Every module over the boundary sizes of its arguments, in one Octave
## process (see fuzz/boundary_sweep.m): valid calls over every combination
## of the sizes its kernels count with, against the references, then each
## argument of a valid call resized in turn. One module by hand:
##   boundary_sweep ({"fold_mt"})
## The sanitizer builds, where the references would take too long, check
## the shapes and messages only (VELK_SWEEP_VALUES=0).

%!test
%! assert (boundary_sweep ({}, ! strcmp (getenv ("VELK_SWEEP_VALUES"), "0")));
