## [steady, first] = time_call (f)
## FIRST is the time of the first call of F in this session (which pays for
## loading, planning and fresh pages); STEADY the best of seven batches of
## calls after it, each batch at least 0.2 s long.
function [steady, first] = time_call (f)
  tic; f (); first = toc;
  tic; f (); once = max (toc, 1e-6);
  per_batch = max (1, ceil (0.2 / once));
  batches = zeros (1, 7);
  for b = 1:numel (batches)
    tic;
    for i = 1:per_batch
      f ();
    endfor
    batches(b) = toc / per_batch;
  endfor
  steady = min (batches);
endfunction
