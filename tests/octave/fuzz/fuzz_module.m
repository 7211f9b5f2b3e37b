## failures = fuzz_module (module, n_calls)
## Calls the module described by MODULE N_CALLS times with arguments drawn by
## fuzz_call, each call judged by judge_call. Returns a cell array of
## descriptions of the calls that went wrong.
function failures = fuzz_module (module, n_calls)
  failures = {};
  for call = 1:n_calls
    [args, n_out] = fuzz_call (module);
    failures = [failures, judge_call(module, args, n_out)];
  endfor
endfunction
