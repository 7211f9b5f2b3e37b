## seconds = time_call (f)
## Steady-state time of one call of F: one warm-up call (which pays for fresh
## pages and first loads), then the median of batches of at least 0.2 s.
function seconds = time_call (f)
  f ();
  tic; f (); once = max (toc, 1e-6);
  per_batch = max (1, ceil (0.2 / once));
  batches = zeros (1, 5);
  for b = 1:numel (batches)
    tic;
    for i = 1:per_batch
      f ();
    endfor
    batches(b) = toc / per_batch;
  endfor
  seconds = median (batches);
endfunction
