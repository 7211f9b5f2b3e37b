## row = bench_platewave ()
## 1000 points with feet inside, on the edges and outside a 10 x 6 mm
## piston, 1000 samples.
function row = bench_platewave ()
  n = 1000;
  i = (0:n-1)';
  points = [12 * sin(i) .* i / n, 8 * cos(1.3 * i) .* i / n, 10 + 20 * i / n];
  args = {points, [10 6], [0.02 1000], 6, [1 1500]};
  module = time_call (@() platewave (args{:}));
  octave = time_call (@() platewave_reference (args{:}));
  row = {"platewave, 1000 points x 1000 samples", module, octave};
endfunction
