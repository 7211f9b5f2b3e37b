## modules = module_table (names)
## For each module of modules.def (those in NAMES, or all): how to draw a
## valid call (one of its example calls, example_calls.m), how many results
## it returns, which argument it writes in place, every message it may fail
## with (as regular expressions), and a check of the results of a call that
## returned, with the classes its arguments must have had (classes(args):
## "double", a real full double array, "char" or "any" per position). A
## registered module without an entry here is an error.
function modules = module_table (names = {})
  own = {"must be a real, full double array!$", "must have 3 columns \\(x, y, z in mm\\)!$", ...
         "must hold a number of samples from 0 to 2147483647!$", ...
         "must have at most 2147483647 rows and columns!$", ...
         ": failed to allocate \\d+ bytes of memory$", ": out of memory"};
  entries = struct ("name", {}, "max_results", {}, "written_in_place", {}, "classes", {},
                    "messages", {}, "check_results", {});

  entries(end+1) = struct (
    "name", "discwave",
    "max_results", 1, "written_in_place", [],
    "classes", @doubles,
    "messages", {[own, literal({
      "discwave: discwave requires 5 input arguments!"
      "discwave: Too many output arguments for discwave!"
      "discwave: Argument 2 must be a scalar!"
      "discwave: Argument 3 must be a vector of length 2!"
      "discwave: Argument 4 must be a scalar or a vector with a length equal to the number of observation points!"
      "discwave: Argument 5 must be a vector of length 2!"})]},
    "check_results", @(args, results, n_out, before) response_shape (args, results, 3, 1));

  entries(end+1) = struct (
    "name", "platewave",
    "max_results", 1, "written_in_place", [],
    "classes", @doubles,
    "messages", {[own, literal({
      "platewave: platewave requires 5 input arguments!"
      "platewave: Too many output arguments for platewave!"
      "platewave: Argument 2 must be a two element vector!"
      "platewave: Argument 3 must be a vector of length 2!"
      "platewave: Argument 4 must be a scalar or a vector with a length equal to the number of observation points!"
      "platewave: Argument 5 must be a vector of length 2!"})]},
    "check_results", @(args, results, n_out, before) response_shape (args, results, 3, 1));

  ## The valid calls end before any wave arrives (points 20 mm deep or more),
  ## so that a hostile count of intervals such as 2^31 - 1 stays cheap.
  entries(end+1) = struct (
    "name", "discwave_avg",
    "max_results", 1, "written_in_place", [],
    "classes", @doubles,
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
    "check_results", @(args, results, n_out, before) response_shape (args, results, 3, 1));

  windows = {"off", "triangle", "gauss", "raised", "simply", "clamped"};
  entries(end+1) = struct (
    "name", "platewave_avg",
    "max_results", 1, "written_in_place", [],
    "classes", @doubles,
    "messages", {[own, literal({
      "platewave_avg: platewave_avg requires 6 input arguments!"
      "platewave_avg: Too many output arguments for platewave_avg!"
      "platewave_avg: Argument 2 must be a two element vector!"
      "platewave_avg: Argument 3 must be a vector of length 2!"
      "platewave_avg: Argument 3 must hold a finite sampling period above 0!"
      "platewave_avg: Argument 4 must be a scalar or a vector with a length equal to the number of observation points!"
      "platewave_avg: Argument 5 must be a vector of length 2!"
      "platewave_avg: Argument 5 must hold a sound speed that is finite and above 0!"
      "platewave_avg: Argument 6 must be a scalar!"
      "platewave_avg: Number of intervals (argument 6) must be larger than one !"})]},
    "check_results", @(args, results, n_out, before) response_shape (args, results, 3, 1));

  entries(end+1) = struct (
    "name", "velk_taper",
    "max_results", 1, "written_in_place", [],
    "classes", @(args) [{"char"}, doubles(args(2:end))],
    "messages", {[own, literal({
      "velk_taper: velk_taper requires three input arguments!"
      "velk_taper: velk_taper requires one output argument!"
      "velk_taper: Argument 1 must be a string"
      "velk_taper:  'ud'- (user defined) meaningless for this function!"
      "velk_taper: Unknown apodization level!"
      "velk_taper: Argument 2 must be a scalar!"
      "velk_taper: Argument 2 must be a positive integer!"
      "velk_taper: Argument 3 must be a scalar!"})]},
    "check_results", @(args, results, n_out, before) weights_shape (args, results));

  entries(end+1) = struct (
    "name", "velk_damp",
    "max_results", 1, "written_in_place", [],
    "classes", @doubles,
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
    "check_results", @(args, results, n_out, before) response_shape (args, results, 2, 1));

  entries(end+1) = struct (
    "name", "wave_arrival",
    "max_results", 1, "written_in_place", [],
    "classes", @(args) [doubles(args(1)), {"char"}(numel (args) >= 2), doubles(args(3:end))],
    "messages", {[own, literal({
      "wave_arrival: wave_arrival requires 5 input arguments!"
      "wave_arrival: Too many output arguments for wave_arrival!"
      "wave_arrival: Argument 2 must be a string"
      "wave_arrival: Argument 2 must be \"plane\", \"diverging\" or \"focused\"!"
      "wave_arrival: Argument 3 must be a vector of length 3!"
      "wave_arrival: Argument 4 must be a scalar!"
      "wave_arrival: Argument 5 must be a scalar!"
      "wave_arrival: Argument 5 must be a sound speed that is finite and above 0!"})]},
    "check_results", @(args, results, n_out, before) column_shape (results, rows (args{1})));

  required = struct ("analytic", "1 input argument", "iq", "3 input arguments");
  for signal = {"analytic", "iq"}
    name = signal{1};
    entries(end+1) = struct (
      "name", name,
      "max_results", 1, "written_in_place", [],
      "classes", @doubles,
      "messages", {[own, literal(prefixed ([name ": "], {
        [name " requires " required.(name) "!"]
        ["Too many output arguments for " name "!"]
        "Argument 2 must be a vector of length 2!"
        "Argument 2 must hold a finite demodulation frequency and a finite bandwidth above 0 (MHz)!"
        "Argument 3 must be a vector of length 2!"
        "Argument 3 must hold a finite sampling period above 0 and a finite delay (us)!"})), ...
        {["^" name ": Cannot allocate the transforms of \\d+ samples!$"]}]},
      "check_results", @(args, results, n_out, before) complex_shape (results, size (args{1})));
  endfor

  ## The faults of the worker scheme itself, shared by the threaded modules.
  scheme = {"CTRL-C pressed!", "Failed to allocate memory for thread data!", ...
            "Failed to allocate memory for threads!", "Error when creating a new thread!", ...
            "Error when joining a thread!"};

  for array = {"platewave_array", "discwave_array"}
    name = array{1};
    shape = {"Argument 3 must be a two element vector!", "Argument 3 must be a scalar!"}(1 + strcmp (name, "discwave_array"));
    entries(end+1) = struct (
      "name", name,
      "max_results", 3, "written_in_place", [],
      "classes", @(args) [doubles(args(1:min (6, end))), repmat({"any"}, 1, min (3, max (0, numel (args) - 6))), doubles(args(10:end))],
      "messages", {[own, literal(prefixed ([name ": "], [scheme'; shape; {
        [name " requires 6 to 11 input arguments!"]
        ["Too many output arguments for " name "!"]
        "Argument 2 must be a (number of elements) x 3 matrix!"
        "Argument 2 must hold finite element centres!"
        "Argument 4 must be a vector of length 2!"
        "Argument 4 must hold a finite sampling period above 0!"
        "Argument 5 must be a scalar or a vector with a length equal to the number of observation points!"
        "Argument 6 must be a vector of length 2!"
        "Argument 6 must hold a sound speed that is finite and above 0!"
        "Argument 7 must be \"off\" or a cell {\"x\", F}, {\"y\", F}, {\"xy\", F}, {\"x+y\", F} or {\"ud\", delays}!"
        "Argument 7 must hold a finite focal depth!"
        "Argument 7 must hold one finite fire time per element!"
        "Argument 7 must give finite fire times!"
        "Argument 8 must be \"off\" or a cell {\"x\", theta}, {\"y\", phi} or {\"xy\", theta, phi}!"
        "Argument 8 must hold finite steering angles!"
        "Argument 9 must be \"off\", \"triangle\", \"simply\", \"clamped\" or a cell {\"gauss\", p}, {\"raised\", p} or {\"ud\", weights}!"
        "Argument 9 must hold one finite weight per element!"
        "Argument 9 must hold a finite window parameter!"
        "Argument 9 must give finite weights: a window needs an array of extent above 0!"
        "Argument 10 must be a scalar!"
        "Argument 10 must be 0 (point samples) or a number of intervals of at least 1!"
        "Argument 11 must be a scalar!"
        "Argument 11 must be larger or equal to 1 (min number of CPUs)!"}])), ...
        {["^" name ": Cannot allocate \\d+ samples of scratch for each of \\d+ threads!$"]}]},
      "check_results", @array_results);
  endfor

  entries(end+1) = struct (
    "name", "beamform",
    "max_results", 1, "written_in_place", [],
    "classes", @(args) [{"any"}(numel (args) >= 1), repmat({"any"}, 1, min (2, max (0, numel (args) - 1))), doubles(args(4:min (6, end))), repmat({"any"}, 1, numel (args) >= 7)],
    "messages", {[own, literal(prefixed ("beamform: ", [scheme'; {
      "beamform requires 6 or 7 input arguments!"
      "Too many output arguments for beamform!"
      "Argument 1 must be a real or complex array of doubles or singles!"
      "Argument 1 must hold one column of samples per receive element and event (nt x n_rx x n_events)!"
      "Argument 2 must be a probe: a struct with the field centres (Ne x 3, in mm)!"
      "Argument 2: the probe's centres must be a finite Ne x 3 matrix, Ne >= 1!"
      "Argument 2: the probe's size must be [width height] in mm!"
      "Argument 2: the probe's radius must be a scalar!"
      "Argument 3 must be events: a struct with the fields fire, weight, receive, wave, origin and t0!"
      "Argument 3: the events' receive must be n_rx x n, one column per event!"
      "Argument 3: the events' wave must be a cell of \"plane\", \"diverging\" or \"focused\", one per event!"
      "Argument 3: the events' origin must be a finite 3 x n matrix!"
      "Argument 3: the events' t0 must hold n finite times!"
      "Argument 4 must be [t0 dt], a vector of length 2!"
      "Argument 4 must hold a finite t0 and a finite sampling period above 0!"
      "Argument 5 must be a scalar!"
      "Argument 5 must be a sound speed that is finite and above 0!"
      "Argument 7 must be a struct of options!"
      "Argument 7: interpolation must be \"linear\" or \"nearest\"!"
      "Argument 7: fnumber must be a scalar!"
      "Argument 7: fnumber must be finite and 0 or more!"
      "Argument 7: window must be \"boxcar\", \"hann\" or \"tukey\"!"
      "Argument 7: tx_window must be \"none\", \"boxcar\", \"hann\" or \"tukey\"!"
      "Argument 7: compound must be a scalar!"
      "Argument 7: fd must be a scalar!"
      "Argument 7: fd must be finite!"
      "Argument 7: threads must be a scalar!"
      "Argument 7: threads must be 1 or more!"
      "Argument 7: the options are interpolation, fnumber, window, tx_window, compound, fd and threads!"
      "Argument 7: fd is for I/Q data, which must be complex!"
      "Failed to allocate memory for the scratch of the threads!"}])), ...
      "^beamform: Argument 3: the events' receive must hold element numbers from 1 to \\d+!$"]},
    "check_results", @beamform_shape);

  entries(end+1) = struct (
    "name", "pulse_echo",
    "max_results", 1, "written_in_place", [],
    "classes", @(args) [doubles(args(1:min (2, end))), repmat({"any"}, 1, min (3, max (0, numel (args) - 2))), doubles(args(6:min (8, end))), repmat({"any"}, 1, numel (args) >= 9)],
    "messages", {[own, literal(prefixed ("pulse_echo: ", [scheme'; {
      "pulse_echo requires 8 or 9 input arguments!"
      "Too many output arguments for pulse_echo!"
      "Argument 1 must hold finite coordinates!"
      "Argument 2 must be a scalar or a vector with a length equal to the number of observation points!"
      "Argument 2 must hold finite amplitudes!"
      "Argument 3 must be a probe: a struct with the field centres (Ne x 3, in mm)!"
      "Argument 3: the probe's centres must be a finite Ne x 3 matrix, Ne >= 1!"
      "Argument 3: the probe's size must be [width height] in mm!"
      "Argument 3: the probe's radius must be a scalar!"
      "Argument 3: the probe needs its elements' shape, a finite size [width height] or radius in mm!"
      "Argument 3: the probe's elements must have a size or radius above 0!"
      "Argument 4 must be events: a struct with the fields fire, weight, receive, wave, origin and t0!"
      "Argument 4: the events' receive must be n_rx x n, one column per event!"
      "Argument 4: the events' fire must be a finite Ne x n matrix, one column per event!"
      "Argument 4: the events' weight must be a finite Ne x n matrix, one column per event!"
      "Argument 4: the events' wave must be a cell of \"plane\", \"diverging\" or \"focused\", one per event!"
      "Argument 4: the events' origin must be a finite 3 x n matrix!"
      "Argument 4: the events' t0 must hold n finite times!"
      "Argument 5 must be a finite real vector (the two-way pulse) or a cell of two (the excitation and the impulse response)!"
      "Argument 6 must be a vector of length 2!"
      "Argument 6 must hold a finite sampling period above 0!"
      "Argument 7 must be a scalar!"
      "Argument 7 must be a finite time!"
      "Argument 6: the record must end at a finite time!"
      "Argument 8 must be a vector of length 2!"
      "Argument 8 must hold a sound speed that is finite and above 0!"
      "Argument 8 must hold an attenuation that is finite and 0 or more!"
      "Argument 8: the round trips of the record are beyond the range of doubles!"
      "Argument 5: the pulse is longer than can be held!"
      "Failed to allocate memory for the pulse!"
      "Argument 9 must be a struct of options!"
      "Argument 9: N must be a scalar!"
      "Argument 9: N must be 0 (point samples) or a number of intervals of at least 1!"
      "Argument 9: oversample must be a scalar!"
      "Argument 9: oversample must be a number of steps a sample from 1 to 64!"
      "Argument 9: threads must be a scalar!"
      "Argument 9: threads must be 1 or more!"
      "Argument 9: progress must be a scalar!"
      "Argument 9: the options are N, oversample, threads and progress!"
      "Argument 4 holds more receive channels than can be counted!"
      "Failed to allocate memory for the attenuated pulses!"
      "Cannot plan the transform of the attenuated pulses!"
      "Failed to allocate memory for the scratch of the threads!"}])), ...
      "^pulse_echo: Argument 4: the events' receive must hold element numbers from 1 to \\d+!$", ...
      "^pulse_echo: Event \\d+: the samples from its earliest fire time to the end of the record, with the pulse, are more than can be counted!$"]},
    "check_results", @pulse_echo_shape);

  ## fold_mt keeps its mode from one call to the next and writes argument 4
  ## in place, so results are checked for shape only; the mode a call leaves
  ## is whatever the last five-argument call set.
  entries(end+1) = struct (
    "name", "fold_mt",
    "max_results", 1, "written_in_place", 4,
    "classes", @(args) [doubles(args(1:min (4, end))), repmat({"any"}, 1, numel (args) > 4)],
    "messages", {[own, literal(prefixed ("fold_mt: ", [scheme'; {
      "fold_mt requires 3 to 5 input arguments!"
      "Too many output arguments for fold_mt!"
      "No output arguments required for fold_mt in in-place operating mode!"
      "Arg 4 must be a matrix (not a string)"
      "Non-valid string in arg 5!"
      "Argument 2 must be a vector or have as many columns as argument 1!"
      "Argument 3 must be a scalar!"
      "Argument 3 must be larger or equal to 1 (min number of CPUs)!"
      "Wrong number of rows in argument 4!"
      "Wrong number of columns in argument 4!"
      "Argument 2 makes the result's columns longer than 2147483647 samples!"
      "Failed to allocate memory for a copy of an input that shares storage with the result!"}]))]},
    "check_results", @fold_mt_shape);

  entries(end+1) = struct (
    "name", "paste_mt",
    "max_results", 0, "written_in_place", 1,
    "classes", @doubles,
    "messages", {[own, literal(prefixed ("paste_mt: ", [scheme'; {
      "paste_mt requires 5 input arguments!"
      "Too many output arguments for paste_mt, none required!"
      "Argument 2 must be a 2 element vector!"
      "Argument 2 must hold row numbers of at least 1!"
      "One element of argument 2 exceeds row dimension of arg 1!"
      "Argument 3 must be a 2 element vector!"
      "Argument 3 must hold column numbers of at least 1!"
      "One element of argument 3 exceeds colomn dimension of arg 1!"
      "Argument 2 must not give a negative number of rows!"
      "Argument 4 has not the number of rows as given by arg 2!"
      "Argument 4 has not the number of columns as given by arg 3!"
      "Argument 5 must be a scalar!"
      "Argument 5 must be larger or equal to 1 (min number of CPUs)!"
      "Failed to allocate memory for a copy of argument 4!"}]))]},
    "check_results", @(args, results, n_out, before) paste_mt_block (args, before));

  entries(end+1) = struct (
    "name", "lagsum",
    "max_results", 2, "written_in_place", [],
    "classes", @lagsum_classes,
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
    "check_results", @(args, results, n_out, before) lagsum_results (args, results));

  focus_messages = {
    "Arg 2 must be a (number of transducer positions) x 3 matrix!"
    "Argument 3 (delay(s)) must be a scalar or a vector with a length equal to the number of A-scans!"
    "Argument 4 (temporal sampling period) must be a scalar"
    "Argument 5 (sound speed) must be a scalar!"
    "Argument 7 must be a scalar!"
    "Argument 7 (aperture width) must be a number!"};
  entries(end+1) = struct (
    "name", "echofocus",
    "max_results", 1, "written_in_place", [],
    "classes", @doubles,
    "messages", {[own, literal(prefixed ("echofocus: ", [{
      "echofocus requires 7 input arguments!"
      "Too many output arguments for echofocus!"}; focus_messages]))]},
    "check_results", @(args, results, n_out, before) focus_shape (args, results));

  entries(end+1) = struct (
    "name", "echofocus_mt",
    "max_results", 1, "written_in_place", [],
    "classes", @doubles,
    "messages", {[own, literal(prefixed ("echofocus_mt: ", [scheme'; {
      "echofocus_mt requires 8 input arguments!"
      "Too many output arguments for echofocus_mt!"}; focus_messages; {
      "Argument 8 must be a scalar!"
      "Argument 8 must be larger or equal to 1 (min number of CPUs)!"}]))]},
    "check_results", @(args, results, n_out, before) focus_shape (args, results));

  registered = registered_modules ();
  if (isempty (names))
    names = registered;
  endif
  unknown = setdiff (registered, {entries.name});
  if (! isempty (unknown))
    error ("module_table: no entry for the registered modules %s", strjoin (unknown, ", "));
  endif
  modules = entries(cellfun (@(name) find (strcmp ({entries.name}, name)), names));
  for i = 1:numel (modules)
    calls = example_calls (modules(i).name);
    examples = {calls.args};
    modules(i).valid_args = @() examples{randi(numel (examples))};
    ## The messages as one pattern, matched once per call: a regexp call per
    ## message took about a fifth of the sweep's time with the sanitizers.
    modules(i).message_pattern = strjoin (cellfun (@(m) ["(?:" m ")"], modules(i).messages,
                                                   "UniformOutput", false), "|");
  endfor
endfunction

function problem = lagsum_results (args, results)
  problem = response_shape (args, results, 2, 1);
  if (isempty (problem) && numel (results) == 2
      && ! (isa (results{2}, "double") && isscalar (results{2}) && any (results{2} == [0 -2 -3])))
    problem = sprintf ("returned status %s", disp (results{2}));
  endif
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

## One value per image point, per event when not compounded, complex for
## complex channel data.
function problem = beamform_shape (args, results, n_out, before)
  problem = "";
  if (isempty (results))
    return;
  endif
  B = results{1};
  images = [1, numel(args{3}.t0)];
  compound = numel (args) < 7 || ! isfield (args{7}, "compound") || args{7}.compound;
  expected = [rows(args{6}), images(1 + ! compound)];
  if (! isa (B, "double") || isreal (B) == iscomplex (args{1}) || ! isequal (size (B), expected))
    problem = sprintf ("returned a %s %s, expected %s", class (B), mat2str (size (B)), mat2str (expected));
  endif
endfunction

## nt x n_rx x n_events real doubles.
function problem = pulse_echo_shape (args, results, n_out, before)
  problem = "";
  if (isempty (results))
    return;
  endif
  Y = results{1};
  expected = [fix(args{6}(2)), size(args{4}.receive)];
  if (! isa (Y, "double") || ! isreal (Y) || ! isequal (size (Y, 1:3), expected))
    problem = sprintf ("returned a %s %s, expected double %s", class (Y), mat2str (size (Y)),
                       mat2str (expected));
  endif
endfunction

## A double array of the given size: complex, or real where every
## imaginary part is 0 (Octave narrows such a result).
function problem = complex_shape (results, expected)
  problem = "";
  if (! isempty (results) && ! (isa (results{1}, "double")
                                && isequal (size (results{1}), expected)))
    problem = sprintf ("returned a %s %s, expected double %s", class (results{1}),
                       mat2str (size (results{1})), mat2str (expected));
  endif
endfunction

## Octave puts the module's name before its messages.
function texts = prefixed (prefix, messages)
  texts = cellfun (@(m) [prefix m], messages, "UniformOutput", false);
endfunction

function patterns = literal (messages)
  patterns = cellfun (@(m) ["^" regexptranslate("escape", m) "$"], messages', "UniformOutput", false);
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

## A call that returned was given a filter of one row, one column or one
## column per signal; the three-argument form returns (M + K - 1) x N, K the
## filter's length, and the in-place forms wrote into a matrix of that size.
function problem = fold_mt_shape (args, results, n_out, before)
  problem = "";
  [M, N] = size (before{1});
  B = before{2};
  if (rows (B) == 1)
    K = numel (B);
  elseif (columns (B) == 1 || columns (B) == N)
    K = rows (B);
  else
    problem = sprintf ("accepted a %s filter for %s signals", mat2str (size (B)), mat2str ([M N]));
    return;
  endif
  expected = [max(M + K - 1, 0), N];
  if (numel (before) > 3)
    if (! isequal (size (before{4}), expected))
      problem = sprintf ("wrote into a %s matrix, expected %s", mat2str (size (before{4})),
                         mat2str (expected));
    endif
  elseif (! isempty (results))
    Y = results{1};
    if (! isa (Y, "double") || ! isreal (Y) || ! isequal (size (Y), expected))
      problem = sprintf ("returned a %s %s, expected double %s", class (Y), mat2str (size (Y)),
                         mat2str (expected));
    endif
  endif
endfunction

## A paste_mt call that returned was a valid one and wrote the block of S
## into Y, as indexed assignment does, and nothing else.
function problem = paste_mt_block (args, before)
  problem = "";
  [Y, R, C, S] = before{1:4};
  row0 = fix (R(1) - 1); nrows = fix (R(2) - R(1) + 1);
  col0 = fix (C(1) - 1); ncols = fix (C(2) - C(1)) + 1;
  if (row0 < 0 || col0 < 0 || nrows < 0 || row0 + nrows > rows (Y) || col0 + ncols > columns (Y)
      || rows (S) < nrows || columns (S) != ncols)
    problem = sprintf ("accepted the block %s x %s of a %s source for a %s destination",
                       mat2str (R), mat2str (C), mat2str (size (S)), mat2str (size (Y)));
    return;
  endif
  Y(row0 + (1:nrows), col0 + (1:ncols)) = S(1:nrows, :);
  if (! isequaln (args{1}, Y))
    problem = "wrote other values than indexed assignment would";
  endif
endfunction


## Every argument a real, full double array.
function c = doubles (args)
  c = repmat ({"double"}, 1, numel (args));
endfunction

## With a sixth argument, the fifth and sixth are not read.
function c = lagsum_classes (args)
  c = [doubles(args(1:min (4, end))), {"char", "any"}(1:numel (args) - 4)];
  if (numel (args) == 6)
    c{5} = "any";
  endif
endfunction

## The response, and the fire times and weights: one per element.
function problem = array_results (args, results, n_out, before)
  problem = response_shape (args, results, 4, 1);
  for r = 2:numel (results)
    if (isempty (problem) && ! (isa (results{r}, "double") && isequal (size (results{r}), [rows(args{2}), 1])))
      problem = sprintf ("returned a %s %s as result %d", class (results{r}), mat2str (size (results{r})), r);
    endif
  endfor
endfunction

## One column of N real doubles.
function problem = column_shape (results, N)
  problem = "";
  if (! isempty (results) && ! (isa (results{1}, "double") && isreal (results{1})
                                && isequal (size (results{1}), [N 1])))
    problem = sprintf ("returned a %s %s, expected double [%d 1]", class (results{1}),
                       mat2str (size (results{1})), N);
  endif
endfunction
