## row = bench_fold_mt (n_threads)
## Every column of a 4096 x 512 matrix convolved with one 64-tap filter, on
## N_THREADS threads, against conv2 (which runs on one).
function row = bench_fold_mt (n_threads)
  rand ("twister", 1);
  A = rand (4096, 512);
  h = rand (64, 1) - 0.5;
  module = time_call (@() fold_mt (A, h, n_threads));
  octave = time_call (@() conv2 (A, h));
  row = {sprintf("fold_mt 4096x512, 64 taps, %d thread(s) / conv2", n_threads), module, octave};
endfunction
