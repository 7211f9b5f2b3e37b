## The long call of the Ctrl-C test for platewave_array (see
## interrupt_test.sh): the field of a focused 128-element array at 800
## points on two threads, about 0.15 s here and a few seconds in the
## sanitizer build, where setup's single-threaded reference must also fit
## the driver's timeout. A normal call gives exactly the single-threaded
## result; an interrupted one assigns nothing and prints at most one
## bail-out line per thread, naming the thread's range.
function out = platewave_array_interrupt_case (step, s, outcome, printed)
  persistent args expected
  n_threads = 2;
  if (isempty (args))
    [X, Z] = meshgrid (linspace (-10, 10, 40), linspace (10, 40, 20));
    args = {[X(:), zeros(numel (X), 1), Z(:)], linear_array(128, 0.3), [0.27 5], [0.01 3000], ...
            5, [1 1540], {"x", 25}, "off", "triangle", 2};
    expected = platewave_array (args{:}, 1);
  endif
  switch (step)
    case "setup"
      out = struct ("H", []);
    case "run"
      s.H = platewave_array (args{:}, n_threads);
      out = s;
    case "check"
      out = point_threads_outcome (s.H, expected, outcome, printed, rows (args{1}),
                                   n_threads);
  endswitch
endfunction
