## print_failures (failures)
## Prints the first 20 of the descriptions FAILURES, one indented block each.
function print_failures (failures)
  for i = 1:min (numel (failures), 20)
    printf ("  %s\n", failures{i});
  endfor
endfunction
