## rows = bench_pistons ()
## The three pistons on their workload (see piston_workload) against the
## fastest vectorised Octave for the same result; the averaged one with 16
## trapezoids per sample. Each module's result is checked against its peer's
## to 1e-12 v cp first.
function rows = bench_pistons ()
  disc = @(x, y) max (hypot (x, y) - 5, 0);
  plate = @(x, y) hypot (max (abs (x) - 5, 0), max (abs (y) - 3, 0));
  [points, delay, sampling, material] = piston_workload (disc);
  disc_args = {points, 5, sampling, delay, material};
  [points, delay] = piston_workload (plate);
  plate_args = {points, [10 6], sampling, delay, material};
  workload = "1000 points, 1000 samples of 0.01 us from the first arrival";
  rows = {
    compare("discwave", workload, @discwave, @discwave_reference, disc_args, material)
    compare("platewave", workload, @platewave, @platewave_reference, plate_args, [1 material(2)])
    compare("discwave_avg", [workload ", N = 16"], @discwave_avg, @discwave_avg_reference, [disc_args {16}], material)
  };
endfunction

function row = compare (name, workload, module, peer, args, material)
  [steady, first] = time_call (@() module (args{:}));
  [peer_steady, peer_first] = time_call (@() peer (args{:}));
  difference = max (abs (module (args{:})(:) - peer (args{:})(:))) / prod (material);
  if (! (difference <= 1e-12))
    error ("bench: %s and its peer differ by %g v cp", name, difference);
  endif
  row = {name, workload, first, steady, "vectorised Octave", peer_first, peer_steady};
endfunction
