## problem = check_columns_after_interrupt (Y, old, new, tol, n_threads, outcome, printed, line_format)
## The check shared by the interrupt cases of modules that write whole
## columns in place on worker threads. Y is the matrix after the call, OLD
## its contents before, NEW what a complete call writes (compared within
## TOL); column j is work item j. Every column must be entirely old or
## entirely new, and within each thread's range the new columns must come
## first (items are done in order). A normal call leaves every column new
## and prints nothing; an interrupted one prints only the bail-out lines of
## threads, LINE_FORMAT filled with a thread's first and last item, each at
## most once; when Octave took the Ctrl-C outside the module nothing is
## printed. Returns "" when all holds, else what does not.
function problem = check_columns_after_interrupt (Y, old, new, tol, n_threads, outcome, printed,
                                                  line_format)
  problem = "";
  W = columns (Y);
  is_new = all (abs (Y - new) <= tol, 1);
  is_old = all (Y == old, 1);
  half = find (! is_new & ! is_old);
  if (! isempty (half))
    problem = sprintf ("column %d is half written", half(1));
    return;
  endif
  lines = strsplit (strtrim (printed), "\n");
  lines = lines(! cellfun (@isempty, lines));
  switch (outcome)
    case "normal"
      if (! all (is_new))
        problem = sprintf ("a normal call left column %d old", find (! is_new, 1));
      elseif (! isempty (lines))
        problem = sprintf ("a normal call printed '%s'", lines{1});
      endif
      return;
    case "outside"
      if (! isempty (lines))
        problem = sprintf ("Octave's own interrupt, yet the module printed '%s'", lines{1});
      endif
      return;
  endswitch
  allowed = {};
  for i = 0:n_threads-1
    first = floor (i * W / n_threads);
    last = floor ((i + 1) * W / n_threads);
    done = is_new(first+1:last);
    if (any (diff (done) > 0))
      problem = sprintf ("thread %d skipped a column before column %d", i, first + find (diff (done) > 0, 1) + 1);
      return;
    endif
    allowed{end+1} = sprintf (line_format, first + 1, last);
  endfor
  for i = 1:numel (lines)
    if (! any (strcmp (lines{i}, allowed)))
      problem = sprintf ("unexpected line '%s'", lines{i});
      return;
    elseif (sum (strcmp (lines{i}, lines)) > 1)
      problem = sprintf ("line '%s' printed twice", lines{i});
      return;
    endif
  endfor
endfunction
