## text = describe_call (name, args, n_out)
## One line naming a call by the class and size of each argument.
function text = describe_call (name, args, n_out)
  parts = cellfun (@(a) sprintf ("%s %s", class (a), mat2str (size (a))), args, "UniformOutput", false);
  text = sprintf ("%d = %s(%s)", n_out, name, strjoin (parts, ", "));
endfunction
