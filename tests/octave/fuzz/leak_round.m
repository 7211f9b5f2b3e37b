## leak_round (seed, n_drawn)
## Calls every module N_DRAWN times with arguments drawn by fuzz_call, and a
## few valid times, so that every path a call can end on, failing or not,
## has run before the process exits and the leak checker looks at the heap.
function leak_round (seed = 20261208, n_drawn = 300)
  rand ("twister", seed);
  for module = module_table ()
    calls = memory_calls (module, n_drawn, 20);
    make_calls (module.name, calls, rows (calls));
    printf ("leaks: %-14s %d calls\n", module.name, rows (calls));
  endfor
endfunction
