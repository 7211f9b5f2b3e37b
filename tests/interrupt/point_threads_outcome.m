## problem = point_threads_outcome (result, expected, outcome, printed, No, n_threads)
## The check of a Ctrl-C case whose module spreads No observation points
## over N_THREADS threads from one queue: a normal call gives EXPECTED and
## prints nothing; an interrupted one leaves no RESULT and prints at most one
## bail-out line per thread, naming the thread's range; Octave's own
## interrupt ("outside") prints nothing. "" when all holds.
function problem = point_threads_outcome (result, expected, outcome, printed, No, n_threads)
  problem = "";
  lines = strsplit (strtrim (printed), "\n");
  lines = lines(! cellfun (@isempty, lines));
  allowed = arrayfun (@(i) sprintf ("Thread for observation points %d -> %d bailing out!",
                                    floor (i * No / n_threads) + 1, floor ((i + 1) * No / n_threads)),
                      0:n_threads-1, "UniformOutput", false);
  if (strcmp (outcome, "normal"))
    if (! isequal (result, expected))
      problem = "a normal call gave another result";
    elseif (! isempty (lines))
      problem = sprintf ("a normal call printed '%s'", lines{1});
    endif
  elseif (! isempty (result))
    problem = "a failed call left a result";
  elseif (strcmp (outcome, "outside") && ! isempty (lines))
    problem = sprintf ("Octave's own interrupt, yet the module printed '%s'", lines{1});
  elseif (! all (ismember (lines, allowed)) || numel (unique (lines)) < numel (lines))
    problem = sprintf ("unexpected bail-out lines: %s", strjoin (lines, " | "));
  endif
endfunction
