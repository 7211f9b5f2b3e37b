## ok = fuzz_all (seed, n_calls, names)
## Runs the fuzz round over the modules NAMES (all by default), N_CALLS calls
## each, from SEED, and reports each failing call. The seed is printed so a
## failure can be replayed: fuzz_all (seed, n_calls, {"module"}).
function ok = fuzz_all (seed, n_calls, names = {})
  specs = module_specs ();
  if (! isempty (names))
    specs = specs(ismember ({specs.name}, names));
  endif
  printf ("fuzz: seed %d, %d calls per module\n", seed, n_calls);
  ok = true;
  for spec = specs
    rand ("twister", seed);
    randn ("twister", seed);
    failures = fuzz_module (spec, n_calls);
    printf ("fuzz: %-14s %d calls, %d failures\n", spec.name, n_calls, numel (failures));
    for i = 1:min (numel (failures), 20)
      printf ("  %s\n", failures{i});
    endfor
    ok = ok && isempty (failures);
  endfor
endfunction
