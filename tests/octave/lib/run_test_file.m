## ok = run_test_file (file)
## Runs the %! blocks of FILE and tells whether every one passed.
function ok = run_test_file (file)
  [n_passed, n_tests] = test (file, "quiet", stdout);
  printf ("%s: %d of %d passed\n", file, n_passed, n_tests);
  ok = n_tests > 0 && n_passed == n_tests;
endfunction
