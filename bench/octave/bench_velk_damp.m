## row = bench_velk_damp ()
## 1000 points 20 to 40 mm from the origin, 2048 samples of 0.02 us, each
## window starting three samples before its pulse, 0.5 dB/(cm MHz), against
## the fastest vectorised Octave (checked to agree to 1e-12 first).
function row = bench_velk_damp ()
  points = piston_workload (@(x, y) 0);
  sampling = [0.02 2048];
  material = [1500 0.5];
  delay = (1000 * sqrt (sum (points.^2, 2)) / material(1) - 3 * sampling(1)).';
  args = {points, sampling, delay, material};
  [steady, first] = time_call (@() velk_damp (args{:}));
  [peer_steady, peer_first] = time_call (@() velk_damp_reference (args{:}));
  difference = max (abs (velk_damp (args{:})(:) - velk_damp_reference (args{:})(:)));
  if (! (difference <= 1e-12))
    error ("bench: velk_damp and its peer differ by %g", difference);
  endif
  row = {"velk_damp", "1000 points, 2048 samples of 0.02 us from the pulse", first, steady, ...
         "vectorised Octave, one ifft", peer_first, peer_steady};
endfunction
