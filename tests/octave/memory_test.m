## The heap a module's calls hold stays flat across many calls, failing and
## valid ones alike: whatever a call allocates, on any path, it gives back.
## Octave's own heap use varies a little from call to call, so the calls run
## in five rounds of 2000 after a warm-up and the median growth of a round
## must stay below half a byte per call; a leak adds to every round.

%!test
%! addpath (getenv ("VELK_TEST_FIXTURES"));
%! rand ("twister", 20261208);
%! for module = module_table ()
%!   calls = memory_calls (module, 60, 20);
%!   make_calls (module.name, calls, 10000);   # the host's own caches settle
%!   in_use = heap_in_use ();
%!   for round = 1:5
%!     make_calls (module.name, calls, 2000);
%!     in_use(end+1) = heap_in_use ();
%!   endfor
%!   growth = diff (in_use);
%!   printf ("memory: %-14s %s bytes in rounds of 2000 calls\n", module.name, mat2str (growth));
%!   assert (median (growth) < 1024, "%s holds %d bytes more per 2000 calls", module.name, median (growth));
%! endfor
