## [problems, results, outcome] = judge_call (module, args, n_out)
## Calls the module described by MODULE with ARGS, asking for N_OUT results,
## and judges the outcome: the call must either fail with one of the
## module's own messages or return results that pass the module's check, and
## must leave every argument it does not write in place as it was. PROBLEMS
## is a cell array of descriptions of what went wrong, empty when nothing did
## (a call that returned must also have been given arguments of the classes
## the module reads, module.classes);
## RESULTS and OUTCOME are those of call_module.
function [problems, results, outcome] = judge_call (module, args, n_out)
  problems = {};
  before = deep_copy (args);
  [outcome, results] = call_module (module.name, args, n_out);
  if (ischar (outcome))
    if (isempty (regexp (outcome, module.message_pattern, "once")))
      problems{end+1} = sprintf ("failed with a message of no module's: %s", outcome);
    endif
  else
    problem = module.check_results (args, results, n_out, before);
    if (! isempty (problem))
      problems{end+1} = problem;
    endif
    ## A call that returned read every argument as what it must be.
    classes = module.classes (before);
    for j = 1:numel (before)
      if (! has_class (before{j}, classes{j}))
        problems{end+1} = sprintf ("accepted a %s as argument %d, which must be %s",
                                   class (before{j}), j, classes{j});
      endif
    endfor
  endif
  for j = 1:numel (args)
    if (! any (j == module.written_in_place)
        && (! isequaln (args{j}, before{j}) || ! strcmp (class (args{j}), class (before{j}))))
      problems{end+1} = sprintf ("changed argument %d", j);
    endif
  endfor
  if (! isempty (problems))
    what = describe_call (module.name, args, n_out);
    problems = cellfun (@(p) sprintf ("%s\n    %s", what, p), problems, "UniformOutput", false);
  endif
endfunction

function yes = has_class (value, expected)
  switch (expected)
    case "double"
      yes = isa (value, "double") && isreal (value) && ! issparse (value);
    case "char"
      yes = ischar (value);
    otherwise
      yes = true;
  endswitch
endfunction
