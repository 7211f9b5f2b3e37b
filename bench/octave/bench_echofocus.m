## rows = bench_echofocus ()
## 2048 samples x 256 A-scans focused at 10000 points, the aperture covering
## every A-scan: echofocus against the fastest vectorised Octave, echofocus_mt
## on 1 and 2 threads. Prints the point x A-scan pairs per second.
function rows = bench_echofocus ()
  M = 2048; N = 256; n_points = 10000;
  rand ("seed", 5);
  S = rand (M, N) - 0.5;
  positions = [linspace(-20, 20, N)', zeros(N, 2)];
  [X, Z] = meshgrid (linspace (-20, 20, 100), linspace (10, 50, 100));
  points = [X(:), zeros(n_points, 1), Z(:)];
  args = {S, positions, 0, 0.04, 1500, points, 1000};
  if (! isequal (echofocus (args{:}), echofocus_reference (args{:}), echofocus_mt (args{:}, 2)))
    error ("bench: echofocus, echofocus_mt and their peer differ");
  endif
  [single, single_first] = time_call (@() echofocus (args{:}));
  [peer, peer_first] = time_call (@() echofocus_reference (args{:}));
  [one, one_first, one_processor] = time_call (@() echofocus_mt (args{:}, 1));
  [two, two_first, two_processor] = time_call (@() echofocus_mt (args{:}, 2));
  pairs = n_points * N;
  printf ("echofocus pairs per second: %.3g; echofocus_mt %.3g on 1 thread, %.3g on 2\n",
          pairs / single, pairs / one, pairs / two);
  print_processor_time ("echofocus_mt", one_processor, two_processor);
  workload = "2048 x 256 A-scans, 10000 points";
  rows = {
    {"echofocus", workload, single_first, single, "vectorised Octave", peer_first, peer}
    {"echofocus_mt, 2 threads", workload, two_first, two, "echofocus_mt, 1 thread", one_first, one}
  };
endfunction
