## calls = example_calls (names)
## The example calls of the modules NAMES (all by default): valid calls of a
## few points and samples each, the one table the fuzz round, the boundary
## sweep, the memory tests, the Octave package's test, the gateways' test
## and the Python package's parity and memory tests read (the last two
## through write_example_calls). CALLS is a struct array: name, args (a
## cell) and n_out, the number of results to ask for.
##
## Every module of modules.def needs at least one row; its arguments are
## deterministic (no random numbers), so every host sees the same values.
function calls = example_calls (names = {})
  P = [0 0 20; 5 0 10; 3 4 15; -2 1 30];        # inside, beyond the rim, off axis
  S = wave (120, 6);                            # 6 A-scans of 120 samples
  X = [linspace(-5, 5, 6)', zeros(6, 2)];       # their transducer positions
  G = [wave(5, 1) * 4, zeros(5, 1), 4 + abs(wave(5, 1, 2)) * 4];   # image points
  E = [-0.45 0 0; -0.15 0 0; 0.15 0 0; 0.45 0 0];   # the elements of a small array
  probe = linear_probe (4, 0.3, [0.27 5]);      # a probe of those elements
  plane = plane_wave_events (probe, [-5 5], 1540);
  fmc = fmc_events (probe);
  table = {   # module, arguments, number of results
    "discwave",     {P, 5, [0.05 300], 10, [1 1500]}, 1
    "discwave",     {P, 2, [0.1 120], [4 2 5 14], [0.5 1480]}, 1
    "platewave",    {P, [10 6], [0.05 300], 5, [1 1500]}, 1
    "platewave",    {P, [0.3 5], [0.025 200], [12 5 9 19], [1 1540]}, 1
    "discwave_avg", {P, 5, [0.05 300], 10, [1 1500], 8}, 1
    "platewave_avg", {P, [0.27 5], [0.05 300], 5, [1 1540], 4}, 1
    "platewave_avg", {P, [10 6], [0.1 150], [12 5 9 19], [1 1500], 1}, 1
    "velk_damp",    {P, [0.05 64], 6, [1500 0.5]}, 1
    "velk_damp",    {P, [0.1 31], [10 4 8 18], [1540 0.7]}, 1
    "fold_mt",      {wave(40, 5), wave(7, 1, 1), 2}, 1
    "fold_mt",      {wave(40, 5), wave(7, 5, 2), 1, wave(46, 5, 3), "+="}, 0
    "paste_mt",     {wave(9, 7), [2 5], [3 6], wave(5, 4, 1), 2}, 0
    "lagsum",       {P, [0.1 300], 0, 1500, "ignore"}, 2
    "lagsum",       {P, [0.1 200], [10 0 0 2], 1500, "warn"}, 2
    "echofocus",    {S, X, 0, 0.05, 1500, G, 8}, 1
    "echofocus_mt", {S, X, wave(1, 6) * 0.1, 0.05, 1500, G, 8, 2}, 1
    "velk_taper",   {"raised", 12, 0.5}, 1
    "platewave_array", {P, E, [0.27 5], [0.05 300], 5, [1 1540], {"x", 20}, {"x", 10}, "triangle", 0, 2}, 3
    "platewave_array", {P, E(1:2, :), [0.27 5], [0.1 150], [12 5 9 19], [1 1540]}, 1
    "discwave_array",  {P, E, 0.4, [0.05 300], 5, [2 1500], {"xy", 15}, "off", {"gauss", 1}, 2, 1}, 3
    "discwave_array",  {P, E, 0.4, [0.1 150], 0, [1 1500], {"ud", [0 0.1 0.2 0.1]}, {"xy", 5, 5}, {"ud", [1 0.5 0.25 2]}}, 1
    "velk_taper",   {"gauss", 7, 2}, 1
    "wave_arrival", {P, "plane", [sind(10) 0 cosd(10)], 0.5, 1540}, 1
    "wave_arrival", {P, "focused", [1 0 15], 9, 1500}, 1
    "beamform",     {wave(60, 8), probe, plane, [5 0.05], 1540, G}, 1
    "beamform",     {wave(60, 16), probe, fmc, [4 0.04], 1500, G, struct("interpolation", "nearest", "fnumber", 1, "window", "hann", "compound", 0, "threads", 2)}, 1
    "beamform",     {wave(60, 8), probe, plane, [5 0.05], 1540, G, struct("tx_window", "tukey", "window", "boxcar")}, 1
    "analytic",     {wave(33, 3)}, 1
    "iq",           {wave(40, 2), [5 2], [0.05 3]}, 1
    "pulse_echo",   {G, 1, probe, plane, wave(9, 1), [0.05 160], 2, [1540 0], struct("oversample", 2)}, 1
    "pulse_echo",   {G, wave(5, 1), probe, fmc, {wave(5, 1), wave(4, 1, 1)}, [0.04 200], 3, [1500 0.5], struct("N", 0, "oversample", 1, "threads", 2, "progress", 0)}, 1
  };
  calls = struct ("name", table(:, 1)', "args", table(:, 2)', "n_out", table(:, 3)');
  if (! isempty (names))
    calls = calls(ismember ({calls.name}, names));
  endif
endfunction

## r x c values of a slow sine, one column after the other.
function v = wave (r, c, phase = 0)
  v = reshape (sin (0.37 * (1:r*c) + phase), r, c);
endfunction
