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
      out = "";
      lines = strsplit (strtrim (printed), "\n");
      lines = lines(! cellfun (@isempty, lines));
      No = rows (args{6});
      allowed = arrayfun (@(i) sprintf ("Thread for observation points %d -> %d bailing out!",
                                        floor (i * No / n_threads) + 1, floor ((i + 1) * No / n_threads)),
                          0:n_threads-1, "UniformOutput", false);
      if (strcmp (outcome, "normal"))
        if (! isequal (s.image, expected))
          out = "a normal call gave another image";
        elseif (! isempty (lines))
          out = sprintf ("a normal call printed '%s'", lines{1});
        endif
      elseif (! isempty (s.image))
        out = "a failed call left a result";
      elseif (strcmp (outcome, "outside") && ! isempty (lines))
        out = sprintf ("Octave's own interrupt, yet the module printed '%s'", lines{1});
      elseif (! all (ismember (lines, allowed)) || numel (unique (lines)) < numel (lines))
        out = sprintf ("unexpected bail-out lines: %s", strjoin (lines, " | "));
      endif
  endswitch
endfunction
