## copies = deep_copy (args)
## Copies of the arguments ARGS (a cell array) that own their storage.
## Octave shares storage between copies until one is written; writing one
## element of the copy gives it storage of its own, so a module writing into
## an argument's storage cannot change the copy too.
function copies = deep_copy (args)
  copies = args;
  for j = 1:numel (copies)
    if ((isnumeric (copies{j}) || islogical (copies{j}) || ischar (copies{j})) && ! isempty (copies{j}))
      copies{j}(1) = copies{j}(1);
    endif
  endfor
endfunction
