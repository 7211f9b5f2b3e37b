## The long call of the Ctrl-C test for echofocus_mt (see interrupt_test.sh):
## 100000 image points from 128 A-scans on two threads. A normal call gives
## exactly the single-threaded image; an interrupted one assigns nothing and
## prints at most one bail-out line per thread, naming the thread's range.
function out = echofocus_mt_interrupt_case (step, s, outcome, printed)
  persistent args expected
  n_threads = 2;
  if (isempty (args))
    rand ("twister", 7);
    N = 128;
    [X, Z] = meshgrid (linspace (-10, 10, 400), linspace (10, 30, 250));
    args = {rand(2048, N) - 0.5, [linspace(-16, 16, N)', zeros(N, 2)], 0, 0.025, 1500, ...
            [X(:), zeros(numel (X), 1), Z(:)], 20};
    expected = echofocus (args{:});
  endif
  switch (step)
    case "setup"
      out = struct ("image", []);
    case "run"
      s.image = echofocus_mt (args{:}, n_threads);
      out = s;
    case "check"
      out = point_threads_outcome (s.image, expected, outcome, printed, rows (args{6}),
                                   n_threads);
  endswitch
endfunction
