## failures = fuzz_module (spec, n_calls)
## Calls the module described by SPEC N_CALLS times with arguments drawn at
## random: valid calls with one or two arguments replaced by hostile values,
## valid shapes holding extreme numbers, arguments hostile throughout, and
## too few and too many arguments and results. Each call must either return results of
## the documented shape or fail with one of the module's own messages, and
## must leave every argument it does not write in place as it was.
## Returns a cell array of descriptions of the calls that did not.
function failures = fuzz_module (spec, n_calls)
  failures = {};
  for call = 1:n_calls
    args = spec.valid_args ();
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
    n_out = randi ([0 spec.max_results + 1]);
    if (rand () < 0.5)
      n_out = min (n_out, spec.max_results);
    endif

    ## An argument written in place gets storage of its own, so the module
    ## never writes into a literal of hostile_value or of the generator.
    for j = spec.written_in_place(spec.written_in_place <= numel (args))
      args(j) = deep_copy (args(j));
    endfor
    before = deep_copy (args);
    [outcome, results] = call_module (spec.name, args, n_out);
    what = describe_call (spec.name, args, n_out);
    if (ischar (outcome))
      if (! any (cellfun (@(pattern) ! isempty (regexp (outcome, pattern, "once")), spec.messages)))
        failures{end+1} = sprintf ("%s\n    failed with a message of no module's: %s", what, outcome);
      endif
    else
      problem = spec.check_results (args, results, n_out);
      if (! isempty (problem))
        failures{end+1} = sprintf ("%s\n    %s", what, problem);
      endif
    endif
    for j = setdiff (1:numel (args), spec.written_in_place)
      if (! isequaln (args{j}, before{j}) || ! strcmp (class (args{j}), class (before{j})))
        failures{end+1} = sprintf ("%s\n    changed argument %d", what, j);
      endif
    endfor
  endfor
endfunction

function copies = deep_copy (args)
  ## Octave shares storage between copies until one is written; writing one
  ## element of the copy gives it storage of its own, so a module writing
  ## into an argument's storage cannot change the copy too.
  copies = args;
  for j = 1:numel (copies)
    if ((isnumeric (copies{j}) || islogical (copies{j}) || ischar (copies{j})) && ! isempty (copies{j}))
      copies{j}(1) = copies{j}(1);
    endif
  endfor
endfunction

function [outcome, results] = call_module (name, args, n_out)
  results = cell (1, n_out);
  outcome = [];
  try
    if (n_out == 0)
      feval (name, args{:});
    else
      [results{:}] = feval (name, args{:});
    endif
  catch err
    outcome = err.message;
  end_try_catch
endfunction

function text = describe_call (name, args, n_out)
  parts = cellfun (@(a) sprintf ("%s %s", class (a), mat2str (size (a))), args, "UniformOutput", false);
  text = sprintf ("%d = %s(%s)", n_out, name, strjoin (parts, ", "));
endfunction
