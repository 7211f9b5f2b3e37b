## specs = module_specs ()
## For each module: how to draw a valid call, how many results it returns,
## which argument it writes in place, every message it may fail with (as
## regular expressions), and a check of the results of a call that returned.
function specs = module_specs ()
  own = {"must be a real, full double array!$", "must have 3 columns \\(x, y, z in mm\\)!$", ...
         "must hold a number of samples from 0 to 2147483647!$", ...
         ": failed to allocate \\d+ bytes of memory$", ": out of memory"};
  specs = struct ("name", {}, "valid_args", {}, "max_results", {}, "written_in_place", {},
                  "messages", {}, "check_results", {});

  specs(end+1) = struct (
    "name", "discwave",
    "valid_args", @() {random_points(), 5*rand(), [0.1 randi(40)], rand(), [1 1500]},
    "max_results", 1, "written_in_place", [],
    "messages", {[own, literal({
      "discwave: discwave requires 5 input arguments!"
      "discwave: Too many output arguments for discwave!"
      "discwave: Argument 2 must be a scalar!"
      "discwave: Argument 3 must be a vector of length 2!"
      "discwave: Argument 4 must be a scalar or a vector with a length equal to the number of observation points!"
      "discwave: Argument 5 must be a vector of length 2!"})]},
    "check_results", @(args, results, n_out) response_shape (args, results, 3, 1));

  specs(end+1) = struct (
    "name", "platewave",
    "valid_args", @() {random_points(), 10*rand(1, 2), [0.1 randi(40)], rand(), [1 1500]},
    "max_results", 1, "written_in_place", [],
    "messages", {[own, literal({
      "platewave: platewave requires 5 input arguments!"
      "platewave: Too many output arguments for platewave!"
      "platewave: Argument 2 must be a two element vector!"
      "platewave: Argument 3 must be a vector of length 2!"
      "platewave: Argument 4 must be a scalar or a vector with a length equal to the number of observation points!"
      "platewave: Argument 5 must be a vector of length 2!"})]},
    "check_results", @(args, results, n_out) response_shape (args, results, 3, 1));

  ## The valid calls end before any wave arrives (points 20 mm deep or more),
  ## so that a hostile count of intervals such as 2^31 - 1 stays cheap.
  specs(end+1) = struct (
    "name", "discwave_avg",
    "valid_args", @() {random_points() + [0 0 30], 5*rand(), [0.1 randi(40)], rand(), [1 1500], randi(20)},
    "max_results", 1, "written_in_place", [],
    "messages", {[own, literal({
      "discwave_avg: discwave_avg requires 6 input arguments!"
      "discwave_avg: Too many output arguments for discwave_avg!"
      "discwave_avg: Argument 2 must be a scalar!"
      "discwave_avg: Argument 3 must be a vector of length 2!"
      "discwave_avg: Argument 3 must hold a finite sampling period above 0!"
      "discwave_avg: Argument 4 must be a scalar or a vector with a length equal to the number of observation points!"
      "discwave_avg: Argument 5 must be a vector of length 2!"
      "discwave_avg: Argument 6 must be a scalar!"
      "discwave_avg: Number of intervals (argument 6) must be larger than one !"})]},
    "check_results", @(args, results, n_out) response_shape (args, results, 3, 1));

  windows = {"off", "triangle", "gauss", "raised", "simply", "clamped"};
  specs(end+1) = struct (
    "name", "velk_taper",
    "valid_args", @() {windows{randi(numel (windows))}, randi([0 70]), 3*rand()},
    "max_results", 1, "written_in_place", [],
    "messages", {[own, literal({
      "velk_taper: velk_taper requires three input arguments!"
      "velk_taper: velk_taper requires one output argument!"
      "velk_taper: Argument 1 must be a string"
      "velk_taper:  'ud'- (user defined) meaningless for this function!"
      "velk_taper: Unknown apodization level!"
      "velk_taper: Argument 2 must be a scalar!"
      "velk_taper: Argument 2 must be a positive integer!"
      "velk_taper: Argument 3 must be a scalar!"})]},
    "check_results", @(args, results, n_out) weights_shape (args, results));

  specs(end+1) = struct (
    "name", "velk_damp",
    "valid_args", @() {random_points(), [0.1 randi(40)], rand(), [1500 rand()]},
    "max_results", 1, "written_in_place", [],
    "messages", {[own, literal({
      "velk_damp: velk_damp requires 4 input arguments!"
      "velk_damp: velk_damp requires one output argument!"
      "velk_damp: Argument 1 must hold finite coordinates!"
      "velk_damp: Argument 2 must be a vector of length 2!"
      "velk_damp: Argument 2 must hold a number of samples from 1 to 2147483647!"
      "velk_damp: Argument 2 must hold a sampling period that is finite and above 0!"
      "velk_damp: Argument 3 must be a scalar or a vector with a length equal to the number of observation points!"
      "velk_damp: Argument 3 must hold finite delays!"
      "velk_damp: Argument 4 must be a vector of length 2!"
      "velk_damp: Argument 4 must hold a sound speed that is finite and above 0!"
      "velk_damp: Argument 4 must hold a finite attenuation!"}), ...
      "^velk_damp: Observation point \\d+: its travel time lies more than 2147483647 samples from its delay!$", ...
      "^velk_damp: Cannot allocate the work buffers and transform plan for \\d+ samples!$"]},
    "check_results", @(args, results, n_out) response_shape (args, results, 2, 1));

  specs(end+1) = struct (
    "name", "lagsum",
    "valid_args", @() lagsum_args (),
    "max_results", 2, "written_in_place", [],
    "messages", {[own, {"^ $"}, literal({
      "lagsum: lagsum requires 5 or 6 input arguments!"
      "lagsum: Too many output arguments for lagsum!"
      "lagsum: Argument 2 must be a vector of length 2!"
      "lagsum: Argument 2 must hold a sampling period that is finite and not 0!"
      "lagsum: Argument 3 must be a scalar or a vector with a length equal to the number of observation points!"
      "lagsum: Argument 4 must be a scalar!"
      "lagsum: Argument 4 must be a sound speed that is finite and not 0!"
      "lagsum: Argument 5 must be a string"
      "lagsum: Unknown error level!"})]},
    "check_results", @(args, results, n_out) lagsum_results (args, results));

  focus_messages = {
    "Arg 2 must be a (number of transducer positions) x 3 matrix!"
    "Argument 3 (delay(s)) must be a scalar or a vector with a length equal to the number of A-scans!"
    "Argument 4 (temporal sampling period) must be a scalar"
    "Argument 5 (sound speed) must be a scalar!"
    "Argument 7 must be a scalar!"
    "Argument 7 (aperture width) must be a number!"};
  specs(end+1) = struct (
    "name", "echofocus",
    "valid_args", @() focus_args (),
    "max_results", 1, "written_in_place", [],
    "messages", {[own, literal([{
      "echofocus requires 7 input arguments!"
      "Too many output arguments for echofocus!"}; focus_messages], "echofocus: ")]},
    "check_results", @(args, results, n_out) focus_shape (args, results));

  specs(end+1) = struct (
    "name", "echofocus_mt",
    "valid_args", @() [focus_args(), {randi(4)}],
    "max_results", 1, "written_in_place", [],
    "messages", {[own, literal([{
      "echofocus_mt requires 8 input arguments!"
      "Too many output arguments for echofocus_mt!"}; focus_messages; {
      "Argument 8 must be a scalar!"
      "Argument 8 must be larger or equal to 1 (min number of CPUs)!"
      "Argument 6 holds more observation points than can be divided over threads!"}], "echofocus_mt: ")]},
    "check_results", @(args, results, n_out) focus_shape (args, results));
endfunction

function args = lagsum_args ()
  points = random_points ();
  levels = {"ignore", "warn", "stop"};
  args = {points, [0.1 randi(40)], rand(), 1500, levels{randi(3)}};
  if (rand () < 0.2)
    args{end+1} = rand ();
  endif
endfunction

function problem = lagsum_results (args, results)
  problem = response_shape (args, results, 2, 1);
  if (isempty (problem) && numel (results) == 2
      && ! (isa (results{2}, "double") && isscalar (results{2}) && any (results{2} == [0 -2 -3])))
    problem = sprintf ("returned status %s", disp (results{2}));
  endif
endfunction

function args = focus_args ()
  N = randi ([0 4]);
  delays = {rand(), rand(1, N)};
  args = {rand(randi ([0 30]), N), (rand (N, 3) - 0.5) * 10, delays{randi(2)}, 0.05, 1500, ...
          random_points(), 10 * rand()};
endfunction

## One value per observation point, as a column of real doubles.
function problem = focus_shape (args, results)
  problem = "";
  if (isempty (results))
    return;
  endif
  out = results{1};
  expected = [rows(args{6}), 1];
  if (! isa (out, "double") || ! isreal (out) || ! isequal (size (out), expected))
    problem = sprintf ("returned a %s %s, expected double %s", class (out), mat2str (size (out)),
                       mat2str (expected));
  endif
endfunction

function points = random_points ()
  points = (rand (randi ([0 4]), 3) - 0.5) * 20;
endfunction

function patterns = literal (messages, prefix = "")
  patterns = cellfun (@(m) ["^" regexptranslate("escape", [prefix m]) "$"], messages', "UniformOutput", false);
endfunction

## A response: fix(nt) rows, one column per observation point, real doubles.
function problem = response_shape (args, results, sampling_position, points_position)
  problem = "";
  if (isempty (results))
    return;
  endif
  expected = [fix(args{sampling_position}(2)), rows(args{points_position})];
  H = results{1};
  if (! isa (H, "double") || ! isreal (H) || ! isequal (size (H), expected))
    problem = sprintf ("returned a %s %s, expected double %s", class (H), mat2str (size (H)),
                       mat2str (expected));
  endif
endfunction

## Weights: one column of fix(N) real doubles.
function problem = weights_shape (args, results)
  problem = "";
  if (isempty (results))
    return;
  endif
  expected = [fix(args{2}), 1];
  w = results{1};
  if (! isa (w, "double") || ! isreal (w) || ! isequal (size (w), expected))
    problem = sprintf ("returned a %s %s, expected double %s", class (w), mat2str (size (w)),
                       mat2str (expected));
  endif
endfunction
