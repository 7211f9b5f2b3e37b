## row = bench_discwave_avg ()
## 1000 points over inside, rim and outside of the piston, 1000 samples,
## 16 trapezoids per sample on the edge wave.
function row = bench_discwave_avg ()
  n = 1000;
  i = (0:n-1)';
  r = 12 * i / n;
  points = [r .* cos(i), r .* sin(i), 10 + 20 * i / n];
  args = {points, 5, [0.02 1000], 6, [1 1500], 16};
  module = time_call (@() discwave_avg (args{:}));
  octave = time_call (@() discwave_avg_reference (args{:}));
  row = {"discwave_avg, 1000 points x 1000 samples, N = 16", module, octave};
endfunction
