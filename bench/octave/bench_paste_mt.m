## row = bench_paste_mt (shared)
## A 4000 x 2000 block pasted into columns 1001 to 3000 of a 4000 x 4000
## matrix on two threads, against Octave's indexed assignment. With SHARED,
## the matrix's storage is shared with another variable, as a function's
## argument is with its caller's: the assignment must copy the whole matrix
## first, while the module writes into the shared storage. Without, the
## assignment works on a matrix of its own (the mean of repeated
## assignments after the copy that makes it its own).
function row = bench_paste_mt (shared)
  rand ("twister", 2);
  Y = rand (4000, 4000);
  S = rand (4000, 2000);
  [module, module_first] = time_call (@() paste_mt (Y, [1 4000], [1001 3000], S, 2));
  if (shared)
    [octave, octave_first] = time_call (@() assign_block (Y, S));
    what = "shared";
  else
    octave_first = assign_block_repeatedly (Y, S, 1);
    octave = assign_block_repeatedly (Y, S, 30);
    what = "own";
  endif
  row = {"paste_mt, 2 threads", sprintf("4000 x 2000 into 4000 x 4000, Y %s", what), module_first, ...
         module, "Y(:, c) = S", octave_first, octave};
endfunction

function Y = assign_block (Y, S)
  Y(:, 1001:3000) = S;
endfunction

## The time of one assignment into a matrix that is already its own.
function seconds = assign_block_repeatedly (Y, S, n)
  Y(1) = Y(1);
  tic;
  for i = 1:n
    Y(:, 1001:3000) = S;
  endfor
  seconds = toc / n;
endfunction
