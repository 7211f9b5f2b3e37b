## row = bench_echofocus ()
## 2048 samples x 256 A-scans focused at 10000 points, the aperture covering
## every A-scan: echofocus against the same reconstruction in vectorised
## Octave, and echofocus_mt on 1 and 2 threads. Prints the throughput in
## points x A-scans per second and the thread speed-up; returns the row of
## echofocus against Octave.
function row = bench_echofocus ()
  M = 2048; N = 256; n_points = 10000;
  rand ("seed", 5);
  S = rand (M, N) - 0.5;
  positions = [linspace(-20, 20, N)', zeros(N, 2)];
  [X, Z] = meshgrid (linspace (-20, 20, 100), linspace (10, 50, 100));
  points = [X(:), zeros(n_points, 1), Z(:)];
  args = {S, positions, 0, 0.04, 1500, points, 1000};

  module = time_call (@() echofocus (args{:}));
  octave = time_call (@() echofocus_reference (args{:}));
  one = time_call (@() echofocus_mt (args{:}, 1));
  two = time_call (@() echofocus_mt (args{:}, 2));
  pairs = n_points * N;
  printf ("echofocus     %8.1f M points x A-scans/s\n", pairs / module / 1e6);
  printf ("Octave        %8.1f M points x A-scans/s\n", pairs / octave / 1e6);
  printf ("echofocus_mt  %8.1f M points x A-scans/s on 1 thread, %.1f on 2: %.2fx\n",
          pairs / one / 1e6, pairs / two / 1e6, one / two);
  row = {"echofocus, 10000 points x 256 A-scans x 2048", module, octave};
endfunction
