## The long call of the Ctrl-C test for fold_mt (see interrupt_test.sh): an
## in-place "+=" convolution of 384 columns on two threads.
function out = fold_mt_interrupt_case (step, s, outcome, printed)
  persistent A B old new
  n_threads = 2;
  if (isempty (A))
    rand ("twister", 5);
    A = rand (20000, 384);
    B = rand (256, 1) - 0.5;
    old = rand (rows (A) + rows (B) - 1, columns (A));
    new = old + conv2 (A, B);
  endif
  switch (step)
    case "setup"
      Y = old;
      Y(1) = old(1);   # storage of its own, written by the module
      out = struct ("Y", Y);
    case "run"
      fold_mt (A, B, n_threads, s.Y, "+=");
      out = s;
    case "check"
      out = check_columns_after_interrupt (s.Y, old, new, 1e-9, n_threads, outcome, printed,
                                           "fold_mt: thread for column %d -> %d bailing out!");
  endswitch
endfunction
