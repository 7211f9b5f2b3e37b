## The long call of the Ctrl-C test for paste_mt (see interrupt_test.sh): a
## 4000 x 3000 block pasted into columns 1001 to 4000 of a 4000 x 4000
## matrix on two threads.
function out = paste_mt_interrupt_case (step, s, outcome, printed)
  persistent S old new
  n_threads = 2;
  if (isempty (S))
    rand ("twister", 6);
    old = rand (4000, 4000);
    S = rand (4000, 3000);
    new = old;
    new(:, 1001:4000) = S;
  endif
  switch (step)
    case "setup"
      Y = old;
      Y(1) = old(1);   # storage of its own, written by the module
      out = struct ("Y", Y);
    case "run"
      paste_mt (s.Y, [1 4000], [1001 4000], S, n_threads);
      out = s;
    case "check"
      out = check_columns_after_interrupt (s.Y(:, 1001:end), old(:, 1001:end), S, 0,
                                           n_threads, outcome, printed,
                                           "paste_mt: thread for column %d -> %d bailing out!");
      if (isempty (out) && ! isequal (s.Y(:, 1:1000), old(:, 1:1000)))
        out = "a column outside the block was written";
      endif
  endswitch
endfunction
