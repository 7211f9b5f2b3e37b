## The memory a module holds stays flat across many calls, failing and
## valid ones alike: whatever a call allocates, on any path, it gives back.

%!test
%! rand ("twister", 20261208);
%! for spec = module_specs ()
%!   calls = memory_calls (spec, 60, 20);
%!   make_calls (spec.name, calls, 10000);   # the host's own heap settles
%!   before = resident_kib ();
%!   make_calls (spec.name, calls, 10000);
%!   growth = resident_kib () - before;
%!   printf ("memory: %-14s %+d KiB over 10000 calls\n", spec.name, growth);
%!   assert (growth < 128, "%s grew by %d KiB", spec.name, growth);
%! endfor
