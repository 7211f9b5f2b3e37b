## row = bench_discwave ()
## 1000 points over inside, rim and outside of the piston, 1000 samples.
function row = bench_discwave ()
  n = 1000;
  i = (0:n-1)';
  r = 12 * i / n;
  points = [r .* cos(i), r .* sin(i), 10 + 20 * i / n];
  args = {points, 5, [0.02 1000], 6, [1 1500]};
  module = time_call (@() discwave (args{:}));
  octave = time_call (@() discwave_reference (args{:}));
  row = {"discwave, 1000 points x 1000 samples", module, octave};
endfunction
