## make_calls (name, calls, n)
## Makes N calls of module NAME, going round the set CALLS (see memory_calls);
## a call that fails is let fail.
function make_calls (name, calls, n)
  for k = 1:n
    [args, n_out] = calls{mod (k - 1, rows (calls)) + 1, :};
    call_module (name, args, n_out);
  endfor
endfunction
