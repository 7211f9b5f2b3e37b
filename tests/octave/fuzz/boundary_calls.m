## cases = boundary_calls (name)
## The boundary sweep's table for module NAME: valid calls over every
## combination of the sizes its kernels count with, each size taken at 0 to
## 3 and, where a kernel works in blocks along it, one below, at and above
## each width (blocks of samples, batches of A-scans or abscissae, vector
## lengths). Observation points are handled one at a time, so their count
## runs from 0 to 3 only.
##
## A case is a struct: args, n_out; expected, a function that computes the
## expected values with a reference (a cell: the results, or the argument
## written in place); tolerance, relative to the largest expected value (0
## asks for equality); check_arg, 0 when expected gives the results, else
## the position of the argument written in place.
function cases = boundary_calls (name)
  rand ("twister", 20261209);
  switch (name)
    case "discwave"
      cases = piston_calls (@discwave_reference, 5);
    case "platewave"
      cases = piston_calls (@platewave_reference, [10 6]);
    case "discwave_avg"
      cases = discwave_avg_calls ();
    case "platewave_avg"
      cases = platewave_avg_calls ();
    case {"platewave_array", "discwave_array"}
      cases = array_calls (name);
    case "wave_arrival"
      cases = wave_arrival_calls ();
    case "beamform"
      cases = beamform_calls ();
    case {"analytic", "iq"}
      cases = signal_calls (name);
    case "pulse_echo"
      cases = pulse_echo_calls ();
    case "velk_damp"
      cases = velk_damp_calls ();
    case "lagsum"
      cases = lagsum_calls ();
    case "velk_taper"
      cases = velk_taper_calls ();
    case "fold_mt"
      cases = fold_mt_calls ();
    case "paste_mt"
      cases = paste_mt_calls ();
    case {"echofocus", "echofocus_mt"}
      cases = focus_calls (strcmp (name, "echofocus_mt"));
    otherwise
      error ("boundary_calls: no table for %s", name);
  endswitch
endfunction

## The largest count an int holds: sizes up to it are valid, and empty
## arrays reach it without allocating.
function n = int_max ()
  n = 2^31 - 1;
endfunction

## 0 to 3, and one below, at and above each width.
function sizes = around (widths)
  sizes = unique ([0:3, widths - 1, widths, widths + 1]);
endfunction

function c = call_case (args, n_out, expected, tolerance, check_arg = 0)
  c = struct ("args", {args}, "n_out", n_out, "expected", expected, "tolerance", tolerance,
              "check_arg", check_arg);
endfunction

## A case whose one result is reference(args{:}).
function c = reference_case (reference, args, tolerance = 1e-12)
  c = call_case (args, 1, @() {reference(args{:})}, tolerance);
endfunction

## Sample counts around the vector lengths a kernel may compute samples in,
## and the batches it may hold samples in.
function nt = sample_counts ()
  nt = around ([2 4 8 16 32 64]);
endfunction

## The sampled pistons: points on the axis, over and beyond the rim 10 mm
## deep, and inside below the plane, in windows that begin before the first
## arrival, the shorter ones ending inside the response; every other case
## gives one delay per point.
function cases = piston_calls (reference, size_arg)
  points = [0 0 10; 5 0 10; 8 0 10; -4 1 -2];
  cases = [];
  for No = 0:3
    for nt = sample_counts ()
      delay = 6.5;
      if (mod (numel (cases), 2))
        delay = 6.5 + 0.1 * (0:No-1);
      endif
      args = {points(1:No, :), size_arg, [0.25 nt], delay, [1 1500]};
      cases = [cases, reference_case(reference, args)];
    endfor
  endfor
  args = {zeros(0, 3), size_arg, [0.25 int_max()], 6.5, [1 1500]};
  cases = [cases, call_case(args, 1, @() {zeros(int_max (), 0)}, 0)];
endfunction

## The averaged piston also over counts of trapezoids around the batch of
## abscissae its edge-wave integral may be formed in. The window begins in
## the plateau on the axis and holds 65 samples of the edge wave beyond the
## rim.
function cases = discwave_avg_calls ()
  points = [0 0 10; 8 0 10; 3 0 10];
  cases = [];
  for No = [0 3]
    for nt = sample_counts ()
      for N = around ([32 64])(2:end)   # 0 is refused
        args = {points(1:No, :), 5, [0.05 nt], 6.9, [1 1500], N};
        cases = [cases, reference_case(@discwave_avg_reference, args)];
      endfor
    endfor
  endfor
  args = {zeros(0, 3), 5, [0.25 int_max()], 6.5, [1 1500], 8};
  cases = [cases, call_case(args, 1, @() {zeros(int_max (), 0)}, 0)];
endfunction

## The averaged rectangle over the sampled pistons' windows and points,
## with one and several parts per piece; the reference is a mean of point
## samples, within 1e-3 of the peak.
function cases = platewave_avg_calls ()
  points = [0 0 10; 5 0 10; 8 0 10; -4 1 -2];
  cases = [];
  for No = 0:3
    for nt = sample_counts ()
      delay = 6.5;
      if (mod (numel (cases), 2))
        delay = 6.5 + 0.1 * (0:No-1);
      endif
      N = 1 + 2 * mod (numel (cases), 3);
      args = {points(1:No, :), [10 6], [0.25 nt], delay, [1 1500], N};
      cases = [cases, reference_case(@platewave_avg_reference, args, 2e-3)];
    endfor
  endfor
  args = {zeros(0, 3), [10 6], [0.25 int_max()], 6.5, [1 1500], 4};
  cases = [cases, call_case(args, 1, @() {zeros(int_max (), 0)}, 0)];
endfunction

## Arrays of 1 to 3 elements over the sampled pistons' points and windows,
## point samples and interval means, on one and two threads, focused and
## steered: the loop over the elements with the module's fire times and
## weights, bit for bit.
function cases = array_calls (name)
  points = [0 0 10; 5 0 10; 8 0 10; -4 1 -2];
  elements = [0 0 0; -1.5 0.5 0; 2 0 0.5];
  shape = {[3 2], 1.5}{1 + strcmp (name, "discwave_array")};
  cases = [];
  for Ne = 1:3
    for No = 0:3
      for nt = sample_counts ()(1:2:end)
        N = mod (numel (cases), 3);
        n = 1 + mod (numel (cases), 2);
        args = {points(1:No, :), elements(1:Ne, :), shape, [0.25 nt], 6.5, [1 1500], ...
                {"x", 12}, {"x", 5}, "off", N, n};
        cases = [cases, call_case(args, 1, @() {array_loop(name, args)}, 0)];
      endfor
    endfor
  endfor
endfunction

## The loop over the elements that the array modules' help gives, with their
## fire times and weights.
function H = array_loop (name, args)
  [~, tau, w] = feval (name, args{:});
  [points, elements, shape, sampling, delay, material] = args{1:6};
  N = args{10};
  single = {{"platewave", "platewave_avg"}, {"discwave", "discwave_avg"}}{1 + strcmp (name, "discwave_array")}{1 + (N > 0)};
  extra = {{}, {N}}{1 + (N > 0)};
  H = zeros (fix (sampling(2)), rows (points));
  for i = 1:rows (elements)
    H = H + w(i) * feval (single, points - elements(i,:), shape, sampling, delay - tau(i), material, extra{:});
  endfor
endfunction

## 0 to 3 points of each kind, against the arrival written out.
function cases = wave_arrival_calls ()
  points = [0 0 10; 5 -1 20; -3 2 30];
  cases = [];
  n = [0.6 0 0.8];
  for No = 0:3
    p = points(1:No, :);
    plane = 0.5 + (n(1) * p(:,1) + n(2) * p(:,2) + n(3) * p(:,3)) * 1000 / 1500;
    diverging = 2 + sqrt (sum ((p - [1 0 -5]).^2, 2)) * 1000 / 1500;
    focused = 9 + sign (p(:,3) - 20 + 0.5) .* sqrt (sum ((p - [0 0 20]).^2, 2)) * 1000 / 1500;
    expected = {plane, diverging, focused};
    expected = cellfun (@(e) reshape (e, No, 1), expected, "UniformOutput", false);
    for k = 1:3
      args = {p, {"plane", "diverging", "focused"}{k}, {n, [1 0 -5], [0 0 20]}{k}, ...
              [0.5 2 9](k), 1500};
      cases = [cases, call_case(args, 1, @() expected(k), 1e-12)];
    endfor
  endfor
endfunction

## Points around the groups the beamformer forms (64 a group, in vectors
## of 2 to 8), channels of 0 to 3 samples and around the lengths the
## interpolation reads past, 1 to 3 receive elements, 1 or 2 events.
function cases = beamform_calls ()
  probe = linear_probe (3, 0.3, [0.27 5]);
  cases = [];
  for No = around ([8 64])
    points = [linspace(-1, 1, No)', zeros(No, 1), linspace(0.2, 1.2, No)'];
    for nt = [0:3, 16]
      for n_rx = 1:3
        events = plane_wave_events (probe, [-4 6](1:1 + (n_rx == 2)), 1500);
        events.receive = events.receive(1:n_rx, :);
        data = sin (0.3 * (1:nt * n_rx * numel (events.t0))');
        data = reshape (data, nt, n_rx * numel (events.t0));
        args = {data, probe, events, [0.05 0.1], 1500, points};
        cases = [cases, reference_case(@beamform_reference, args)];
      endfor
    endfor
  endfor
endfunction

## Scatterers around the blocks between two looks at Ctrl-C (64), record
## lengths from 0, one to three receive channels of one or two events, the
## sums on the record's grid, twice as fine, and as fine as the pulse needs.
function cases = pulse_echo_calls ()
  cases = [];
  probe = linear_probe (3, 0.3, [0.27 5]);
  for Ns = around (64)
    S = [linspace(-1, 1, Ns)', zeros(Ns, 1), linspace(2, 3, Ns)'];
    for nt = [0:3, 16]
      for n_rx = 1:3
        events = plane_wave_events (probe, [-4 6](1:1 + (n_rx == 2)), 1500);
        events.receive = events.receive(1:n_rx, :);
        options = {struct("N", 2, "oversample", 1), struct("N", 2, "oversample", 2), struct("N", 2)}{n_rx};
        args = {S, 1 + 0.1 * (1:Ns)', probe, events, [1 -0.5 0.25], [0.1 nt], 2.5, [1500 0], options};
        cases = [cases, reference_case(@pulse_echo_reference, args, 1e-11)];
      endfor
    endfor
  endfor
endfunction

## Transform lengths from 0, odd and even, around powers of two; 0 to 3
## columns. iq's I/Q data is the analytic signal mixed down, low-pass
## filtered; at a bandwidth beyond the Nyquist frequency nothing is cut.
function cases = signal_calls (name)
  cases = [];
  for nt = around ([4 8 16])
    for n = 0:3
      X = reshape (cos (0.7 * (1:nt * n)'), nt, n);
      if (strcmp (name, "analytic"))
        cases = [cases, reference_case(@analytic_reference, {X})];
      else
        mix = @(X) analytic_reference (X) .* exp (-2i * pi * 3 * (0.5 + 0.1 * (0:nt - 1)'));
        cases = [cases, call_case({X, [3 100], [0.1 0.5]}, 1, @() {mix(X)}, 1e-12)];
      endif
    endfor
  endfor
endfunction

## Transform lengths from 1, odd and even, around powers of two.
function cases = velk_damp_calls ()
  points = [0 0 10; 3 0 10; 0 4 12];
  cases = [];
  for No = 0:3
    for nt = around ([4 8 16 32])(2:end)   # 0 is refused
      args = {points(1:No, :), [0.1 nt], 6.5, [1500 0.5]};
      cases = [cases, reference_case(@velk_damp_reference, args)];
    endfor
  endfor
endfunction

## Points whose travel times fall on samples 0 to 20, so that every window
## has some inside and some beyond; "ignore" returns the status without a
## console line.
function cases = lagsum_calls ()
  d = 0.15 * [0 1 3 5 7 8 9 16 20];   # mm: 0.15 mm is one sample
  points = d' .* [1 0 0; 0 1 0; 0 0 1; 0.6 0.8 0; 0 0.6 0.8; 0.8 0 0.6; 1 0 0; 0 0 -1; 0 1 0];
  cases = [];
  for No = 0:3
    for nt = sample_counts ()
      cases = [cases, lagsum_case({points(1:No, :), [0.1 nt], 0, 1500, "ignore"})];
    endfor
  endfor
  args = {zeros(0, 3), [0.1 int_max()], 0, 1500, "ignore"};
  cases = [cases, call_case(args, 2, @() {zeros(int_max (), 0), 0}, 0)];
endfunction

function c = lagsum_case (args)
  c = call_case (args, 2, @() nthargout (1:2, @lagsum_reference, args{1:4}, -3), 0);
endfunction

## Every window over element counts around the vector lengths.
function cases = velk_taper_calls ()
  windows = {"off", "triangle", "gauss", "raised", "simply", "clamped"};
  p = 1.5;
  cases = [];
  for N = around ([2 4 8 16 32])
    for w = 1:numel (windows)
      cases = [cases, call_case({windows{w}, N, p}, 1, @() {weights(w, N, p)}, 1e-14)];
    endfor
  endfor
endfunction

## Window w's weights at the N positions 2 (0.5 - i/N), from 1 down.
function weight = weights (w, N, p)
  r = abs (2 * (0.5 - (0:N-1)' / N));
  all_windows = {zeros(N, 1), 1 - r, exp(-(p * r .* r)), p + cos(pi * r), 1 - r.^2, ...
                 (1 - r.^2) .* (1 - r)};
  weight = all_windows{w};
endfunction

## Signals and filters around the kernel's blocks of samples, shared and
## per-column filters, on the calling thread and on workers; in place, the
## three modes in turn over the same lengths.
function cases = fold_mt_calls ()
  cases = [];
  threads = [1 2 4];
  modes = {"=", "+=", "-="};
  kept = [0 1 1];          # the previous contents, in each mode
  added = [1 1 -1];        # and the convolution
  for M = around ([8 16 32 64])   # blocks of 8 samples, or of 8 vectors
    for K = around (8)
      for N = [0 1 3]
        A = rand (M, N) - 0.5;
        for B = {rand(K, 1) - 0.5, rand(K, N) - 0.5}   # a row is a column to the kernel
          n = threads(mod (numel (cases), 3) + 1);
          cases = [cases, reference_case(@convolved, {A, B{1}, n})];
        endfor
      endfor
      A = rand (M, 3) - 0.5;
      B = rand (K, 3) - 0.5;
      if (M > 0 || K > 0)   # else the result would have -1 rows
        Y0 = rand (size (convolved (A, B)));
        m = mod (numel (cases), 3) + 1;   # each mode over a third of the sizes
        expected = @() {kept(m) * Y0 + added(m) * convolved(A, B)};
        cases = [cases, call_case({A, B, threads(m), Y0 + 0, modes{m}}, 0, expected, 1e-12, 4)];
      endif
    endfor
  endfor
  A = zeros (int_max (), 0);
  cases = [cases, reference_case(@convolved, {A, 1, 2}, 0)];
endfunction

## Column j of A convolved with its filter, the filter taken as the module
## takes it: one row is one filter, else one column is one filter, else
## column j of B is column j's.
function C = convolved (A, B, ~)
  [M, N] = size (A);
  if (rows (B) == 1)
    B = B(:);
  endif
  K = rows (B);
  C = zeros (max (M + K - 1, 0), N);
  if (M == 0 || K == 0)
    return;
  endif
  for j = 1:N
    C(:, j) = conv2 (A(:, j), B(:, min (j, end)));
  endfor
endfunction

## Blocks of 0 to 9 rows and 0 to 5 columns at two offsets, from sources
## with and without spare rows, on one to seven threads.
function cases = paste_mt_calls ()
  cases = [];
  threads = [1 2 7];
  col0 = 1;
  for nrows = around (8)
    for ncols = 0:5
      for row0 = [1 3]
        Y = rand (row0 + nrows + 1, col0 + ncols + 1);
        S = rand (nrows + 2 * mod (ncols, 2), ncols);
        args = {Y, [row0 + 1, row0 + nrows], [col0 + 1, col0 + ncols], S, ...
                threads(mod (numel (cases), 3) + 1)};
        cases = [cases, call_case(args, 0, @() {pasted(Y, row0, col0, S, nrows)}, 0, 1)];
      endfor
    endfor
  endfor
  ## A block of no rows, whose source may have no rows: only the source's
  ## columns are checked.
  Y = rand (4, 6);
  cases = [cases, call_case({Y, [3 2], [2 4], zeros(0, 3), 2}, 0, @() {Y}, 0, 1)];
endfunction

function Y = pasted (Y, row0, col0, S, nrows)
  Y(row0 + (1:nrows), col0 + (1:columns (S))) = S(1:nrows, :);
endfunction

## A-scans of 0 to 9 samples (only samples 2 to M - 2 are read), counts of
## A-scans around the batches the kernel may handle them in, 0 to 3 image
## points. The geometry puts the two-way travel times on samples 4 to 12.
function cases = focus_calls (threaded)
  points = [-0.1 0 0.15; 0.05 0 0.2; 0.1 0 0.25];
  cases = [];
  for M = around (8)
    for N = around ([64 256])
      S = rand (M, N) - 0.5;
      positions = [linspace(-0.3, 0.3, N)', zeros(N, 1), 0.01 * mod((1:N)', 3)];
      delay = 0;
      if (mod (N, 2))
        delay = 0.02 * mod (0:N-1, 4);
      endif
      for No = [0 1 3]
        args = {S, positions, delay, 0.05, 1500, points(1:No, :), 1};
        expected = @() {echofocus_reference(args{1:7})};
        if (threaded)
          args{8} = 1 + mod (numel (cases), 5);
        endif
        cases = [cases, call_case(args, 1, expected, 1e-12)];
      endfor
    endfor
  endfor
  args = {zeros(int_max (), 0), zeros(0, 3), 0, 0.05, 1500, points, 1, 2}(1:7 + threaded);
  cases = [cases, call_case(args, 1, @() {zeros(rows (points), 1)}, 0)];
endfunction
