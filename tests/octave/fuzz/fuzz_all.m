## ok = fuzz_all (seed, n_calls, names)
## Runs the fuzz round over the modules NAMES (all by default), N_CALLS calls
## each, from SEED, and reports each failing call. The seed is printed so a
## failure can be replayed: fuzz_all (seed, n_calls, {"module"}).
function ok = fuzz_all (seed, n_calls, names = {})
  modules = module_table (names);
  printf ("fuzz: seed %d, %d calls per module\n", seed, n_calls);
  ok = true;
  for module = modules
    rand ("twister", seed);
    randn ("twister", seed);
    failures = fuzz_module (module, n_calls);
    printf ("fuzz: %-14s %d calls, %d failures\n", module.name, n_calls, numel (failures));
    print_failures (failures);
    ok = ok && isempty (failures);
  endfor
endfunction
