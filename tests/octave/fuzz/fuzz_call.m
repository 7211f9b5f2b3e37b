## [args, n_out] = fuzz_call (module)
## Draws one call of the module described by MODULE: a valid call with one or
## two arguments replaced by hostile values, valid shapes holding extreme
## numbers, arguments hostile throughout, or too few or too many arguments;
## and a number of results from none to one more than the module gives.
## Calls that would ask for more memory than the machine should give are
## drawn again (see beyond_memory).
function [args, n_out] = fuzz_call (module)
  do
    args = draw_arguments (module);
  until (! beyond_memory (module.name, args))
  ## An argument written in place gets storage of its own, so the module
  ## never writes into a literal of hostile_value or of the generator.
  for j = module.written_in_place(module.written_in_place <= numel (args))
    args(j) = deep_copy (args(j));
  endfor
  n_out = randi ([0 module.max_results + 1]);
  if (rand () < 0.5)
    n_out = min (n_out, module.max_results);
  endif
endfunction

function args = draw_arguments (module)
  args = module.valid_args ();
  switch (randi (5))
    case {1, 2}   # a valid call with hostile values in one or two places
      for j = 1:randi (2)
        args{randi(numel (args))} = hostile_value ();
      endfor
    case 3        # valid shapes holding extreme numbers
      extremes = [NaN, Inf, -Inf, 0, -0, 1e308, -1e308, realmin / 4, 2^31, -2^31, 1e-300];
      for j = 1:numel (args)
        if (isnumeric (args{j}) && ! isempty (args{j}) && rand () < 0.5)
          k = randi (numel (args{j}));
          args{j}(k) = extremes(randi (numel (extremes)));
        endif
      endfor
    case 4        # hostile throughout
      for j = 1:numel (args)
        args{j} = hostile_value ();
      endfor
    case 5        # too few or too many arguments
      n = max (0, numel (args) + randi ([-3 2]));
      args(end+1:n) = {hostile_value()};
      args = args(1:n);
  endswitch
endfunction
