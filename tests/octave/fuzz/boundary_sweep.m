## ok = boundary_sweep (names, check_values)
## Runs the boundary sweep over the modules NAMES (all by default): every
## valid call of boundary_calls, whose results must equal the reference's
## (unless CHECK_VALUES is false, where a reference would cost too much),
## then every argument of each of the module's example calls resized over
## the boundary sizes, each call judged by judge_call (but for those that
## ask for more memory than the machine should give), and last the first
## example call once more, which must give the bits it gave before the
## sweep. Reports each failing call.
function ok = boundary_sweep (names = {}, check_values = true)
  sizes = [0:3, 7:9];   # rows and columns of a resized argument
  modules = module_table (names);
  ok = true;
  for module = modules
    cases = boundary_calls (module.name);
    bases = example_calls (module.name);
    before = outcome_bits (module, bases(1));
    failures = {};
    for c = cases
      failures = [failures, judge_case(module, c, check_values)];
    endfor
    n_resized = 0;
    for b = bases
      for args = resized_calls (b.args, sizes)
        args = args{1};
        if (beyond_memory (module.name, args))
          continue;
        endif
        written = module.written_in_place(module.written_in_place <= numel (args));
        args(written) = deep_copy (args(written));   # never the base's own storage
        failures = [failures, judge_call(module, args, b.n_out)];
        ++n_resized;
      endfor
    endfor
    if (! isequal (outcome_bits (module, bases(1)), before))
      failures{end+1} = sprintf ("%s\n    gives other bits after the sweep than before",
                                 describe_call (module.name, bases(1).args, bases(1).n_out));
    endif
    printf ("sweep: %-14s %4d sized calls, %4d resized, %d failures\n", module.name,
            numel (cases), n_resized, numel (failures));
    print_failures (failures);
    ok = ok && isempty (failures);
  endfor
endfunction

## The outcome of the call C (a struct of args and n_out) as bits: its
## message, its results and the arguments it writes in place.
function b = outcome_bits (module, c)
  args = deep_copy (c.args);
  [message, results] = call_module (module.name, args, c.n_out);
  written = args(module.written_in_place(module.written_in_place <= numel (args)));
  b = cellfun (@(x) typecast (x(:), "uint64"), [results, written], "UniformOutput", false);
  b = {message, b};
endfunction

## A valid call: judged as any call, then it must not have been refused and,
## when CHECK_VALUES holds, must give the expected values.
function problems = judge_case (module, c, check_values)
  args = c.args;
  if (c.check_arg)
    args(c.check_arg) = deep_copy (args(c.check_arg));   # written by this call alone
  endif
  [problems, results, outcome] = judge_call (module, args, c.n_out);
  if (ischar (outcome))
    problems{end+1} = sprintf ("refused a valid call: %s", outcome);
  elseif (check_values)
    if (c.check_arg)
      results = args(c.check_arg);
    endif
    all_expected = c.expected ();
    for i = 1:numel (all_expected)
      [got, expected] = deal (results{i}, all_expected{i});
      if (! isequal (size (got), size (expected)))
        problems{end+1} = sprintf ("result %d is %s, expected %s", i, mat2str (size (got)),
                                   mat2str (size (expected)));
      elseif (any (abs (got(:) - expected(:)) > c.tolerance * max (abs (expected(:)))))
        problems{end+1} = sprintf ("result %d differs from the reference by up to %g", i,
                                   max (abs (got(:) - expected(:))));
      endif
    endfor
  endif
  if (! isempty (problems))
    what = describe_call (module.name, args, c.n_out);
    problems = cellfun (@(p) sprintf ("%s\n    %s", what, p), problems, "UniformOutput", false);
  endif
endfunction
