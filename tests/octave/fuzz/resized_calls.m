## calls = resized_calls (args, sizes)
## Calls made from the argument list ARGS by giving one array argument at a
## time every shape r x c with r and c in SIZES, and the empty shapes whose
## other side reaches or passes the largest int (0 x 2^31 and the like,
## which hold no element). A resized argument keeps the class of the
## original and repeats its elements in order. Returns a cell array of
## argument lists.
function calls = resized_calls (args, sizes)
  [r, c] = ndgrid (sizes, sizes);
  huge = [2^31 - 1, 2^31, 2^32 + 3];
  shapes = [r(:), c(:); zeros(3, 1), huge'; huge', zeros(3, 1)];
  calls = {};
  for j = find (cellfun (@(a) isnumeric (a) || ischar (a), args))
    for s = 1:rows (shapes)
      resized = args;
      resized{j} = cycled (args{j}, shapes(s, 1), shapes(s, 2));
      calls{end+1} = resized;
    endfor
  endfor
endfunction

## An r x c array of the class of A holding A's elements over and over
## (zeros when A has none).
function b = cycled (a, r, c)
  if (r * c == 0 || isempty (a))
    b = resize (a([]), r, c);
  else
    b = reshape (a(mod (0:r*c-1, numel (a)) + 1), r, c);
  endif
endfunction
