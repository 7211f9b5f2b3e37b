## [outcome, results] = call_module (name, args, n_out)
## Calls module NAME with the arguments ARGS, asking for N_OUT results.
## OUTCOME is the error message of a call that failed, else empty.
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
