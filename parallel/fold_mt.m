%FOLD_MT  Convolution of every column of a matrix with a filter, on threads.
%   Y = FOLD_MT(A, B, N)
%   FOLD_MT(A, B, N, Y)
%   FOLD_MT(A, B, N, Y, MODE)
%
%   Column j of the result is the full convolution of column j of A with
%   the filter: the one filter in B, or column j of B. The sums are direct
%   (no transform): sample m is A(i,j)*B(m-i+1) added up in increasing i,
%   each partial sum rounded to double.
%
%   The three-argument form returns the result. The in-place forms write it
%   into Y, which must be a real double matrix of M+K-1 rows and N columns,
%   and return nothing: MODE "=" overwrites Y, "+=" adds the convolution to
%   what Y holds, "-=" subtracts it. The mode is kept from one call to the
%   next: a four-argument call, or a five-argument one whose MODE is not
%   text, uses the mode last set ("=" until one is set).
%
%   Y is written in its own storage, not copied first, so the write reaches
%   every variable that shares it. In Octave a copy (Y = Z) shares Z's
%   storage until one of the two is changed, and a variable set from a
%   literal of the code (Y = 0, Y = [0; 0]) shares that literal: the write
%   then changes Z, or the literal, and the next run of the same line sets
%   Y to the values written. Safe: make Y just before the call with ZEROS
%   or another computation, never from a literal or a copy of a variable:
%     Y = zeros(rows(A) + numel(B) - 1, columns(A));   % B one filter
%     fold_mt(A, B, 2, Y, "+=");
%
%   Arguments
%     A     M x N matrix, one signal per column (any unit).
%     B     the filter: a vector of K taps (a row is always one filter, also
%           when its length is N), or a K x N matrix with one filter per
%           column of A.
%     N     number of threads, truncated toward zero, at least 1; at most
%           one thread per column is started, none for one column or N < 2.
%     Y     (M+K-1) x N matrix written in place.
%     MODE  "=", "+=" or "-=".
%
%   Result
%     Y     (M+K-1) x N matrix, in the unit of A times that of B.
%
%   Ctrl-C stops the call after the column each thread is working on; the
%   call then fails with "CTRL-C pressed!". In place, the finished columns
%   hold their new values and the others their old ones.
%
%   Example
%     t = (0:199)' * 0.02;                     % us
%     pulse = sin(2*pi*5*t(1:40)) .* hanning(40);
%     h = randn(200, 16);                      % 16 impulse responses
%     y = fold_mt(h, pulse, 2);                % 239 x 16
%     fold_mt(h, pulse / 2, 2, y, "+=");       % y holds 1.5 times the echo
%
%   See also PASTE_MT, CONV2.

## The example: the three-argument form returns the convolution, "+=" adds
## a second one in place. The mode is set by each call that names it.
%!test
%! randn ("state", 1);
%! t = (0:199)' * 0.02;
%! pulse = sin (2*pi*5*t(1:40)) .* hanning (40);
%! h = randn (200, 16);
%! y = fold_mt (h, pulse, 2);
%! assert (size (y), [239 16]);
%! assert (y, conv2 (h, pulse), 1e-12 * max (abs (y(:))));
%! fold_mt (h, pulse / 2, 2, y, "+=");
%! assert (y, 1.5 * conv2 (h, pulse), 1e-12 * max (abs (y(:))));

%!error <Argument 2 must be a vector or have as many columns as argument 1!> fold_mt (ones (5, 3), ones (2, 2), 1)

%!demo
%! t = (0:199)' * 0.02;                       # us
%! pulse = sin (2*pi*5*t(1:40)) .* hanning (40);
%! h = randn (200, 16);                       # 16 impulse responses
%! y = fold_mt (h, pulse, 2);                 # 239 x 16
%! fold_mt (h, pulse / 2, 2, y, "+=");        # y holds 1.5 times the echo
%! plot (y(:,1))
