%ECHOFOCUS_MT  Synthetic aperture focusing on worker threads.
%   OUT = ECHOFOCUS_MT(S, POSITIONS, DELAY, DT, CP, POINTS, A, NCPU)
%
%   The reconstruction of ECHOFOCUS, with the same arguments 1 to 7 and the
%   same values bit for bit, computed on NCPU threads. The observation
%   points are divided into contiguous ranges, thread t (from 0) taking
%   points floor(t*No/NCPU) up to floor((t+1)*No/NCPU); no more threads are
%   started than there are points, since further ones would have nothing
%   to do.
%
%   Arguments
%     S ... A    as for ECHOFOCUS.
%     NCPU       number of threads, truncated toward zero (2.9 gives 2);
%                at least 1.
%
%   Result
%     OUT        No x 1 column, in the units of the samples.
%
%   Ctrl-C stops every thread after its current point; each thread that
%   was still busy prints "Thread for observation points F -> L bailing
%   out!" with the first and last point of its range, and the call fails
%   with "CTRL-C pressed!".
%
%   Example
%     S = randn(1000, 64); P = [linspace(-16, 16, 64)', zeros(64, 2)];
%     [X, Z] = meshgrid(-10:0.2:10, 5:0.2:25);
%     img = echofocus_mt(S, P, 0, 0.025, 1500, [X(:), 0*X(:), Z(:)], 20, 2);
%
%   See also ECHOFOCUS.

%!test
%! randn ("state", 1);
%! S = randn (1000, 64); P = [linspace(-16, 16, 64)', zeros(64, 2)];
%! [X, Z] = meshgrid (-10:0.2:10, 5:0.2:25);
%! args = {S, P, 0, 0.025, 1500, [X(:), 0*X(:), Z(:)], 20};
%! assert (echofocus_mt (args{:}, 2), echofocus (args{:}));

%!error <Argument 8 must be larger or equal to 1 \(min number of CPUs\)!> echofocus_mt (ones (10, 1), [0 0 0], 0, 0.02, 1500, [0 0 5], 10, 0)

%!demo
%! S = randn (1000, 64); P = [linspace(-16, 16, 64)', zeros(64, 2)];
%! [X, Z] = meshgrid (-10:0.2:10, 5:0.2:25);
%! img = echofocus_mt (S, P, 0, 0.025, 1500, [X(:), 0*X(:), Z(:)], 20, 2);
%! imagesc (-10:0.2:10, 5:0.2:25, reshape (img, size (X)))
