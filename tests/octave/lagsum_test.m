## Tests of the lagsum module in Octave.

## Random points, some beyond the window, against the reference; the
## status tells whether any fell outside.
%!test
%! rand ("seed", 7);
%! n = 400;
%! points = (rand (n, 3) - 0.5) * 60;
%! delay = rand (1, n) * 10;
%! sampling = [0.05 400];
%! [H, status] = lagsum (points, sampling, delay, 1480, "ignore");
%! [expected, expected_status] = lagsum_reference (points, sampling, delay, 1480, -3);
%! assert (H, expected);
%! assert (status, expected_status);
%! assert (status, -3);
%! assert (any (H(:)));
%! ## A single delay for every point, and every point inside.
%! [H, status] = lagsum (points, [0.05 2000], 0, 1480, "warn");
%! assert (H, lagsum_reference (points, [0.05 2000], 0, 1480, -2));
%! assert (status, 0);
%! assert (sum (H), ones (1, n));

## Each level: what reaches the console, and what the call returns.
%!test
%! out_twice = {[0 0 100; 0 0 10; 0 0 -200], [0.1 100], 0, 1500};
%! inside = {[3 4 0; 0 0 10], [0.1 100], [1 0], 1500};
%! lines = "Delay out of bounds (offset = 568 samples)\nDelay out of bounds (offset = 1234 samples)\n";
%! cases = {
%!   out_twice, "warn",   sprintf(lines), -2
%!   out_twice, "ignore", "",             -3
%!   inside,    "warn",   "",              0
%!   inside,    "ignore", "",              0
%!   inside,    "stop",   "",              0
%! };
%! for i = 1:rows (cases)
%!   args = [cases{i,1}, cases(i,2)];
%!   printed = evalc ("[H, status] = lagsum (args{:});");
%!   assert (printed, cases{i,3}, cases{i,2});
%!   assert (status, cases{i,4});
%!   assert (H(68,2), 1);
%! endfor

## "stop", and any call with six arguments: the report of the first point
## outside, then the call fails with an empty message.
%!test
%! args = {[0 0 10; 0 0 100; 0 0 200], [0.1 100], 0, 1500};
%! for extra = {{"stop"}, {"ignore", 1}, {"warn", []}, {5, "stop"}, {"nonsense", {}}, {[], []}}
%!   failed = false;
%!   printed = evalc ("try, lagsum (args{:}, extra{1}{:}); catch err, failed = true; end");
%!   assert (failed);
%!   assert (err.message, " ");
%!   assert (printed, "Delay out of bounds (offset = 568 samples)\n");
%! endfor
%! ## The next call runs normally.
%! [H, status] = lagsum (args{1}(1,:), args{2:4}, "stop");
%! assert ([find(H), status], [68, 0]);

## The shapes the arguments may take.
%!test
%! points = [0 0 10; 0 0 12; 0 0 14; 0 0 16];
%! H = lagsum (points, [0.1; 150], [0 0.1; 0.2 0.3], 1500, "stop");
%! assert (H, lagsum (points, [0.1 150], [0 0.2 0.1 0.3], 1500, "stop"));  # column-major
%! assert (find (H(:,2)), 79);   # 12 mm: 8 us, less 0.2 us, is 78 samples
%! assert (size (lagsum (points, [0.1 10.9], 0, 1500, "ignore")), [10 4]);
%! [H, status] = lagsum (zeros (0, 3), [0.1 20], 0, 1500, "stop");
%! assert (size (H), [20 0]);
%! assert (status, 0);
%! ## Only the distance counts; columns past the third are not read.
%! assert (lagsum ([-3 4 -12 9], [1 20], 0, 1000, "stop"), lagsum ([0 0 13], [1 20], 0, 1000, "stop"));
%! lagsum ([0 0 10], [0.1 80], 0, 1500, "stop");
%! assert (find (ans), 68);

## Every check, in the order the module makes them.
%!test
%! p = [0 0 10; 1 1 10];
%! cases = {
%!   {},                                       "lagsum: lagsum requires 5 or 6 input arguments!"
%!   {p, [0.1 20], 0, 1500},                   "lagsum: lagsum requires 5 or 6 input arguments!"
%!   {p, [0.1 20], 0, 1500, "stop", 1, 2},     "lagsum: lagsum requires 5 or 6 input arguments!"
%!   {[0 0], [0.1 20 1], [0 0 0], [1 2], 3},   "lagsum: Argument 1 must have 3 columns (x, y, z in mm)!"
%!   {p, [0.1 20 1], [0 0 0], [1 2], 3},       "lagsum: Argument 2 must be a vector of length 2!"
%!   {p, [0.1 -1], [0 0 0], [1 2], 3},         "lagsum: Argument 2 must hold a number of samples from 0 to 2147483647!"
%!   {p, [0 20], [0 0 0], [1 2], 3},           "lagsum: Argument 2 must hold a sampling period that is finite and not 0!"
%!   {p, [NaN 20], [0 0 0], [1 2], 3},         "lagsum: Argument 2 must hold a sampling period that is finite and not 0!"
%!   {p, [0.1 20], [0 0 0], [1 2], 3},         "lagsum: Argument 3 must be a scalar or a vector with a length equal to the number of observation points!"
%!   {p, [0.1 20], [0 0], [1 2], 3},           "lagsum: Argument 4 must be a scalar!"
%!   {p, [0.1 20], [0 0], [], 3},              "lagsum: Argument 4 must be a scalar!"
%!   {p, [0.1 20], [0 0], 0, 3},               "lagsum: Argument 4 must be a sound speed that is finite and not 0!"
%!   {p, [0.1 20], [0 0], -Inf, 3},            "lagsum: Argument 4 must be a sound speed that is finite and not 0!"
%!   {p, [0.1 20], [0 0], 1500, 3},            "lagsum: Argument 5 must be a string"
%!   {p, [0.1 20], [0 0], 1500, "Stop"},       "lagsum: Unknown error level!"
%!   {p, [0.1 20], [0 0], 1500, "stop "},      "lagsum: Unknown error level!"
%!   {p, [0.1 20], [0 0], 1500, ""},           "lagsum: Unknown error level!"
%! };
%! for i = 1:rows (cases)
%!   assert_raises (@() lagsum (cases{i,1}{:}), cases{i,2});
%! endfor
%! assert_raises (@() evalin ("base", "[a, b, c] = lagsum ([0 0 1], [0.1 2], 0, 1500, 'stop');"),
%!                "lagsum: Too many output arguments for lagsum!");
