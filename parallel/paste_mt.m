%PASTE_MT  Copy of a block into part of a matrix, in place, on threads.
%   PASTE_MT(Y, [R1 R2], [C1 C2], S, N)
%
%   Writes S into rows R1 to R2 and columns C1 to C2 of Y, in Y's own
%   storage: no copy of Y is made (Y(R1:R2, C1:C2) = S would copy a shared
%   Y first). Each block column is one contiguous copy; the block columns
%   are divided among the threads. Returns nothing.
%
%   The write reaches every variable that shares Y's storage. In Octave a
%   copy (Y = Z) shares Z's storage until one of the two is changed, and a
%   variable set from a literal of the code (Y = 0, Y = [0 0]) shares that
%   literal: the write then changes Z, or the literal, and the next run of
%   the same line sets Y to the values written:
%     for i = 1:2, Y = 0; disp(Y), paste_mt(Y, [1 1], [1 1], 5, 1); end
%   prints 0, then 5. Safe: make Y just before the call with ZEROS or
%   another computation, never from a literal or a copy of a variable:
%     for i = 1:2, Y = zeros(1); disp(Y), paste_mt(Y, [1 1], [1 1], 5, 1); end
%   prints 0 both times.
%
%   Arguments
%     Y         M1 x N1 real double matrix, written in place.
%     [R1 R2]   first and last row, 1-based. The first row is fix(R1) and
%               the number of rows fix(R2 - R1 + 1), evaluated before
%               truncation: [1.5 3.2] gives rows 1 and 2, [1.5 3.7] rows 1
%               to 3. [R R-1] copies no row.
%     [C1 C2]   first and last column, 1-based; S must have
%               fix(C2 - C1) + 1 columns.
%     S         the source: at least as many rows as the range; the rows
%               past it are not used. S may share storage with Y (Y itself
%               or a slice of it): the result is then that of the indexed
%               assignment.
%     N         number of threads, truncated toward zero, at least 1; at
%               most one per block column is started.
%
%   Ctrl-C stops the copy after the column each thread is working on; the
%   call then fails with "CTRL-C pressed!", the finished columns copied and
%   the others untouched.
%
%   Example
%     Y = zeros(4, 3);
%     paste_mt(Y, [2 3], [2 3], [1 2; 3 4], 2)   % Y = [0 0 0; 0 1 2; 0 3 4; 0 0 0]
%
%   See also FOLD_MT.

%!test
%! Y = zeros (4, 3);
%! paste_mt (Y, [2 3], [2 3], [1 2; 3 4], 2);
%! assert (Y, [0 0 0; 0 1 2; 0 3 4; 0 0 0]);

%!error <One element of argument 3 exceeds colomn dimension of arg 1!> paste_mt (zeros (4, 3), [2 3], [2 4], ones (2, 3), 1)

%!demo
%! Y = zeros (4, 3);
%! paste_mt (Y, [2 3], [2 3], [1 2; 3 4], 2);
%! disp (Y)                                   # [0 0 0; 0 1 2; 0 3 4; 0 0 0]
