## Tests of the velk_damp module in Octave.

## Random points, delays and attenuations against the written spectrum
## computed independently, to 1e-12 of each column's peak; odd and even
## lengths, pulses inside the window and wrapped around it.
%!test
%! rand ("seed", 7);
%! for nt = [1 2 31 256 1000]
%!   n = 40;
%!   points = (rand (n, 3) - 0.5) * 150;
%!   delay = rand (1, n) * 60 - 10;
%!   for alpha = [0 0.3 rand()*5]
%!     args = {points, [0.05 nt], delay, [1400 + 200*rand() alpha]};
%!     H = velk_damp (args{:});
%!     expected = velk_damp_reference (args{:});
%!     assert (size (H), [nt n]);
%!     assert (abs (H - expected) <= 1e-12 * max (abs (expected)));
%!   endfor
%! endfor

## The worked examples: a unit sample one row after the travel time's row,
## wrapped for the larger delay; at the origin it stands at row 1, not 0.
%!test
%! cases = {
%!   ## point        delay   row (from 0)
%!   [1.5 0 0],      0.05,   10
%!   [1.5 0 0],      1.95,   24
%!   [0 0 0],        0,      1
%!   [0 -1.5 0],     1.35,   30
%! };
%! for i = 1:rows (cases)
%!   h = velk_damp (cases{i,1}, [0.1 32], cases{i,2}, [1500 0]);
%!   expected = zeros (32, 1);
%!   expected(cases{i,3} + 1) = 1;
%!   assert (h, expected, 1e-12);
%! endfor

## 0.5 dB/(cm MHz) over 50 mm: a low, wide pulse peaking at row 9.
%!test
%! h = velk_damp ([0 0 50], [0.1 32], 32.5, [1500 0.5]);
%! assert (h(9:13).', [0.0474 0.5107 0.2400 0.0726 0.0435], 5e-5);
%! assert (h(8), -0.0077, 5e-5);
%! [~, peak] = max (h);
%! assert (peak - 1, 9);
%! assert (sum (h), 1, 1e-12);

## The physics without the phase: the magnitude of each column's spectrum
## is exp(-alpha R f) at every bin below Nyquist, with alpha in Np/(m Hz),
## and the samples sum to one.
%!test
%! rand ("seed", 11);
%! dt = 0.04;
%! for nt = [64 101]
%!   points = [0 0 0; 0 0 20; 30 40 0; (rand (5, 3) - 0.5) * 200];
%!   alpha = 0.8;
%!   H = velk_damp (points, [dt nt], 5, [1540 alpha]);
%!   R = sqrt (sum (points.^2, 2)).' / 1000;
%!   bins = (0:ceil (nt/2) - 1).';
%!   f = bins / (nt * dt * 1e-6);
%!   spectrum = abs (fft (H));
%!   assert (spectrum(bins + 1,:), exp (-(alpha / 86860) * f * R), 1e-12);
%!   assert (sum (H), ones (1, rows (points)), 1e-12);
%! endfor

## One sample: no bin at all, every column is 1.
%!assert (velk_damp ([0 0 10; 5 5 5], [0.1 1], [2 -3], [1500 2]), [1 1])

## The shapes the arguments may take.
%!test
%! points = [0 0 10; 8 0 10; 3 4 12; 0 0 -5];
%! row = velk_damp (points, [0.1 150], 0.5, [1500 0.5]);
%! assert (velk_damp (points, [0.1; 150], 0.5, [1500; 0.5]), row);
%! delay = [0.5 0.7; 0.6 0.8];
%! H = velk_damp (points, [0.1 150], delay, [1500 0.5]);
%! assert (H, velk_damp (points, [0.1 150], delay(:).', [1500 0.5]));
%! assert (H(:,2), velk_damp (points(2,:), [0.1 150], 0.6, [1500 0.5]));  # column-major
%! assert (H(:,3), velk_damp (points(3,:), [0.1 150], 0.7, [1500 0.5]));
%! assert (size (velk_damp (points, [0.1 10.9], 0, [1500 0.5])), [10 4]);
%! assert (size (velk_damp (zeros (0, 3), [0.1 20], 0, [1500 0.5])), [20 0]);
%! assert (size (velk_damp ([], [0.1 20], 0, [1500 0.5])), [20 0]);
%! ## Columns past the third are not read.
%! assert (velk_damp ([points, NaN(4, 2)], [0.1 150], 0.5, [1500 0.5]), row);
%! ## Neither is delay data beyond one value when one value is given.
%! velk_damp ([0 0 10], [0.1 20], 0, [1500 0.5]);
%! assert (size (ans), [20 1]);

## Every check, in the order the module makes them.
%!test
%! p = [0 0 10; 1 1 10];
%! cases = {
%!   {},                                          "velk_damp requires 4 input arguments!"
%!   {p, [0.1 20], 0, [1500 0.5], 1},             "velk_damp requires 4 input arguments!"
%!   {[0 0], [0.1 20], 0, [1500 0.5]},            "Argument 1 must have 3 columns (x, y, z in mm)!"
%!   {[0 0 NaN], [0.1 20 3], 0, [1500 0.5 1]},    "Argument 1 must hold finite coordinates!"
%!   {[0 -Inf 1], [0.1 20], 0, [1500 0.5]},       "Argument 1 must hold finite coordinates!"
%!   {p, [0.1 20 3], [0 0 0], [1500 0.5 1]},      "Argument 2 must be a vector of length 2!"
%!   {p, [0.1 20; 1 2], [0 0 0], [1500 0.5 1]},   "Argument 2 must be a vector of length 2!"
%!   {p, [0.1 0.9], [0 0 0], [1500 0.5 1]},       "Argument 2 must hold a number of samples from 1 to 2147483647!"
%!   {p, [0.1 -3], 0, [1500 0.5]},                "Argument 2 must hold a number of samples from 1 to 2147483647!"
%!   {p, [0.1 NaN], 0, [1500 0.5]},               "Argument 2 must hold a number of samples from 1 to 2147483647!"
%!   {p, [0.1 2^31], 0, [1500 0.5]},              "Argument 2 must hold a number of samples from 1 to 2147483647!"
%!   {p, [0 20], [0 0 0], [1500 0.5 1]},          "Argument 2 must hold a sampling period that is finite and above 0!"
%!   {p, [-0.1 20], 0, [1500 0.5]},               "Argument 2 must hold a sampling period that is finite and above 0!"
%!   {p, [Inf 20], 0, [1500 0.5]},                "Argument 2 must hold a sampling period that is finite and above 0!"
%!   {p, [0.1 20], [0 0 0], [1500 0.5 1]},        "Argument 3 must be a scalar or a vector with a length equal to the number of observation points!"
%!   {p, [0.1 20], [], [1500 0.5]},               "Argument 3 must be a scalar or a vector with a length equal to the number of observation points!"
%!   {p, [0.1 20], [1 NaN], [1500 0.5 1]},        "Argument 3 must hold finite delays!"
%!   {p, [0.1 20], -Inf, [1500 0.5]},             "Argument 3 must hold finite delays!"
%!   {p, [0.1 20], 0, [1500 0.5 1]},              "Argument 4 must be a vector of length 2!"
%!   {p, [0.1 20], [0 0], 1500},                  "Argument 4 must be a vector of length 2!"
%!   {p, [0.1 20], 0, [0 0.5]},                   "Argument 4 must hold a sound speed that is finite and above 0!"
%!   {p, [0.1 20], 0, [-1500 0.5]},               "Argument 4 must hold a sound speed that is finite and above 0!"
%!   {p, [0.1 20], 0, [NaN 0.5]},                 "Argument 4 must hold a sound speed that is finite and above 0!"
%!   {p, [0.1 20], 0, [1500 Inf]},                "Argument 4 must hold a finite attenuation!"
%!   {[0 0 1; 1e200 0 0], [0.1 20], 0, [1500 0]}, "Observation point 2: its travel time lies more than 2147483647 samples from its delay!"
%!   {[0 0 1; 0 0 1], [1e-10 20], [0.6 -1], [1500 0]}, "Observation point 2: its travel time lies more than 2147483647 samples from its delay!"
%! };
%! for i = 1:rows (cases)
%!   assert_raises (@() velk_damp (cases{i,1}{:}), ["velk_damp: " cases{i,2}]);
%! endfor
%! assert_raises (@() evalin ("base", "[h1, h2] = velk_damp ([0 0 1], [0.1 2], 0, [1500 0]);"),
%!                "velk_damp: velk_damp requires one output argument!");
