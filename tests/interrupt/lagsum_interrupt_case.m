## The long call of the Ctrl-C test for lagsum (see interrupt_test.sh):
## 100000 points, every one inside the window. The call returns its result
## or fails as a whole, so after it the variable holds either the complete
## response or nothing.
function out = lagsum_interrupt_case (step, s, outcome, printed)
  persistent points expected
  if (isempty (points))
    rand ("twister", 6);
    points = [rand(1e5, 2) * 10, 20 + rand(1e5, 1) * 10];
    expected = lagsum (points, [0.1 100], 12, 1500, "ignore");
  endif
  switch (step)
    case "setup"
      out = struct ("H", []);
    case "run"
      s.H = lagsum (points, [0.1 100], 12, 1500, "ignore");
      out = s;
    case "check"
      out = "";
      if (! isempty (strtrim (printed)))
        out = sprintf ("printed '%s'", strtrim (printed));
      elseif (strcmp (outcome, "normal") && ! isequal (s.H, expected))
        out = "a normal call gave another response";
      elseif (! strcmp (outcome, "normal") && ! isempty (s.H))
        out = "a failed call left a result";
      endif
  endswitch
endfunction
