## failures = fuzz_module (module, n_calls)
## Calls the module described by MODULE N_CALLS times with arguments drawn by
## fuzz_call. Each call must either return results of the documented shape
## or fail with one of the module's own messages, and must leave every
## argument it does not write in place as it was.
## Returns a cell array of descriptions of the calls that did not.
function failures = fuzz_module (module, n_calls)
  failures = {};
  for call = 1:n_calls
    [args, n_out] = fuzz_call (module);
    before = deep_copy (args);
    [outcome, results] = call_module (module.name, args, n_out);
    what = describe_call (module.name, args, n_out);
    if (ischar (outcome))
      if (! any (cellfun (@(pattern) ! isempty (regexp (outcome, pattern, "once")), module.messages)))
        failures{end+1} = sprintf ("%s\n    failed with a message of no module's: %s", what, outcome);
      endif
    else
      problem = module.check_results (args, results, n_out);
      if (! isempty (problem))
        failures{end+1} = sprintf ("%s\n    %s", what, problem);
      endif
    endif
    for j = setdiff (1:numel (args), module.written_in_place)
      if (! isequaln (args{j}, before{j}) || ! strcmp (class (args{j}), class (before{j})))
        failures{end+1} = sprintf ("%s\n    changed argument %d", what, j);
      endif
    endfor
  endfor
endfunction

function text = describe_call (name, args, n_out)
  parts = cellfun (@(a) sprintf ("%s %s", class (a), mat2str (size (a))), args, "UniformOutput", false);
  text = sprintf ("%d = %s(%s)", n_out, name, strjoin (parts, ", "));
endfunction
