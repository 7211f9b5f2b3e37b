## calls = memory_calls (module, n_drawn, n_valid)
## A fixed set of calls of the module described by MODULE for the memory checks:
## N_DRAWN calls drawn by fuzz_call (most of them fail, each on its own path)
## and N_VALID valid calls. Row i holds the arguments and the result count.
function calls = memory_calls (module, n_drawn, n_valid)
  calls = cell (n_drawn + n_valid, 2);
  for i = 1:n_drawn
    [calls{i, 1}, calls{i, 2}] = fuzz_call (module);
  endfor
  for i = n_drawn + (1:n_valid)
    calls(i, :) = {module.valid_args(), 1};
  endfor
endfunction
