## The long call of the Ctrl-C test for platewave_array (see
## interrupt_test.sh): the field of a focused 128-element array at 6400
## points on two threads. A normal call gives exactly the single-threaded
## result; an interrupted one assigns nothing and prints at most one
## bail-out line per thread, naming the thread's range.
function out = platewave_array_interrupt_case (step, s, outcome, printed)
  persistent args expected
  n_threads = 2;
  if (isempty (args))
    [X, Z] = meshgrid (linspace (-10, 10, 80), linspace (10, 40, 80));
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
      out = "";
      lines = strsplit (strtrim (printed), "\n");
      lines = lines(! cellfun (@isempty, lines));
      No = rows (args{1});
      allowed = arrayfun (@(i) sprintf ("Thread for observation points %d -> %d bailing out!",
                                        floor (i * No / n_threads) + 1, floor ((i + 1) * No / n_threads)),
                          0:n_threads-1, "UniformOutput", false);
      if (strcmp (outcome, "normal"))
        if (! isequal (s.H, expected))
          out = "a normal call gave another result";
        elseif (! isempty (lines))
          out = sprintf ("a normal call printed '%s'", lines{1});
        endif
      elseif (! isempty (s.H))
        out = "a failed call left a result";
      elseif (strcmp (outcome, "outside") && ! isempty (lines))
        out = sprintf ("Octave's own interrupt, yet the module printed '%s'", lines{1});
      elseif (! all (ismember (lines, allowed)) || numel (unique (lines)) < numel (lines))
        out = sprintf ("unexpected bail-out lines: %s", strjoin (lines, " | "));
      endif
  endswitch
endfunction
