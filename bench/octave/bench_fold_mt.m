## rows = bench_fold_mt ()
## Every column of a 4096 x 512 matrix convolved with one 64-tap filter, on
## 1 and 2 threads, against conv2 (the same sums, on one thread), and the
## speed-up from one thread to two.
function rows = bench_fold_mt ()
  rand ("twister", 1);
  A = rand (4096, 512);
  h = rand (64, 1) - 0.5;
  ## conv2 adds the same products in an order of its own.
  if (! (max (abs (fold_mt (A, h, 2) - conv2 (A, h))(:)) <= 1e-12 * max (abs (conv2 (A, h))(:))))
    error ("bench: fold_mt and conv2 differ");
  endif
  [one, one_first, one_processor] = time_call (@() fold_mt (A, h, 1));
  [two, two_first, two_processor] = time_call (@() fold_mt (A, h, 2));
  print_processor_time ("fold_mt", one_processor, two_processor);
  [peer, peer_first] = time_call (@() conv2 (A, h));
  workload = "4096 x 512, 64 taps";
  rows = {
    {"fold_mt, 1 thread", workload, one_first, one, "conv2", peer_first, peer}
    {"fold_mt, 2 threads", workload, two_first, two, "conv2", peer_first, peer}
    {"fold_mt, 2 threads", workload, two_first, two, "fold_mt, 1 thread", one_first, one}
  };
endfunction
