## row = bench_velk_damp ()
## 1000 points from 10 to 100 mm deep, 2048 samples, 0.5 dB/(cm MHz).
function row = bench_velk_damp ()
  n = 1000;
  i = (0:n-1)';
  depth = 10 + 90 * i / n;
  points = [5 * cos(i), 5 * sin(i), depth];
  args = {points, [0.05 2048], 0, [1500 0.5]};
  module = time_call (@() velk_damp (args{:}));
  octave = time_call (@() velk_damp_reference (args{:}));
  row = {"velk_damp, 1000 points x 2048 samples", module, octave};
endfunction
