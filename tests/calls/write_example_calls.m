## write_example_calls (file)
## Writes the example calls (example_calls) to FILE as JSON for the tests
## of the other hosts, with the sizes of the results each call gives here:
##   [{"name": ..., "n_out": ..., "args": [value, ...], "results": [[rows, cols], ...]}, ...]
## A value is {"double": [rows, cols, [elements column by column]]},
## {"char": text}, {"cell": [rows, cols, [values]]} or {"struct": {field: value}};
## doubles are written with 17 significant digits, which read back exactly.
function write_example_calls (file)
  calls = example_calls ();
  text = cell (1, numel (calls));
  for i = 1:numel (calls)
    c = calls(i);
    ## Written before the call, which may write into an argument in place.
    args = strjoin (cellfun (@encoded, c.args, "UniformOutput", false), ", ");
    results = cell (1, c.n_out);
    [results{:}] = feval (c.name, c.args{:});
    ## A result of more dimensions is written as the matrix a module
    ## creates before giving it its shape: its trailing dimensions as columns.
    sizes = cellfun (@(r) sprintf ("[%d, %d]", rows (r), prod (size (r)(2:end))), results,
                     "UniformOutput", false);
    text{i} = sprintf ("{\"name\": \"%s\", \"n_out\": %d, \"args\": [%s], \"results\": [%s]}",
                       c.name, c.n_out, args, strjoin (sizes, ", "));
  endfor
  f = fopen (file, "w");
  fputs (f, ["[\n" strjoin(text, ",\n") "\n]\n"]);
  fclose (f);
endfunction

function s = encoded (v)
  if (ischar (v))
    s = sprintf ("{\"char\": \"%s\"}", strrep (strrep (v, "\\", "\\\\"), "\"", "\\\""));
  elseif (iscell (v))
    s = sprintf ("{\"cell\": [%d, %d, [%s]]}", size (v),
                 strjoin (cellfun (@encoded, v(:)', "UniformOutput", false), ", "));
  elseif (isstruct (v))
    names = fieldnames (v);
    fields = cellfun (@(n) sprintf ("\"%s\": %s", n, encoded (v.(n))), names',
                      "UniformOutput", false);
    s = sprintf ("{\"struct\": {%s}}", strjoin (fields, ", "));
  elseif (isa (v, "double") && isreal (v) && ! issparse (v) && ndims (v) == 2)
    s = sprintf ("{\"double\": [%d, %d, [%s]]}", size (v),
                 strjoin (arrayfun (@(x) sprintf ("%.17g", x), v(:)', "UniformOutput", false), ", "));
  else
    error ("write_example_calls: cannot write a %s %s", mat2str (size (v)), class (v));
  endif
endfunction
