## [steady, first, processor] = time_call (f, n_batches)
## FIRST is the time of the first call of F in this session (which pays for
## loading, planning and fresh pages); STEADY the best of N_BATCHES (seven)
## batches of calls after it, each batch at least 0.2 s long; PROCESSOR the
## processor time of this process per call in that batch, all threads
## together, which other work on the machine does not lengthen.
function [steady, first, processor] = time_call (f, n_batches = 7)
  tic; f (); first = toc;
  tic; f (); once = max (toc, 1e-6);
  per_batch = max (1, ceil (0.2 / once));
  batches = processor_times = zeros (1, n_batches);
  for b = 1:numel (batches)
    start = cputime ();
    tic;
    for i = 1:per_batch
      f ();
    endfor
    batches(b) = toc / per_batch;
    processor_times(b) = (cputime () - start) / per_batch;
  endfor
  [steady, best] = min (batches);
  processor = processor_times(best);
endfunction
