## yes = beyond_memory (name, args)
## Whether the call NAME(ARGS{:}) asks for a result larger than the machine
## should be made to hold. The pool's counts reach 2^31 - 1, and so do the
## sides of empty arrays; a module that returns one double per count unit
## would then ask for 16 GB, which the host may grant and the machine then
## run out of. The rounds test how arguments are handled, not how much
## memory there is: such calls are left out, and so are those whose work
## would take minutes (a count of trapezoids in the millions for a window
## that holds an edge wave).
function yes = beyond_memory (name, args)
  max_elements = 2^27;   # 1 GB of doubles
  yes = false;
  switch (name)
    case "velk_taper"   # N x 1 weights
      yes = numel (args) >= 2 && isnumeric (args{2}) && isscalar (args{2}) ...
            && real (double (args{2})) >= max_elements;
    case "discwave_avg"   # 2 N evaluations per sample of the edge wave
      yes = numel (args) >= 6 && isnumeric (args{6}) && ! isempty (args{6}) ...
            && real (double (args{6}(1))) > 1e5;
    case {"platewave_array", "discwave_array"}   # the same per element
      yes = numel (args) >= 10 && isnumeric (args{10}) && ! isempty (args{10}) ...
            && real (double (args{10}(1))) > 1e5;
    case "fold_mt"      # (M + K - 1) x N, M x N signals and filters of K taps
      if (numel (args) == 3)
        [M, N] = size (args{1});
        K = rows (args{2});
        if (K == 1)
          K = numel (args{2});
        endif
        ## Sizes beyond what an int counts must be refused before any work.
        yes = (M + K - 1) * N >= max_elements && max ([M + K - 1, N]) <= intmax ("int32");
      endif
  endswitch
endfunction
