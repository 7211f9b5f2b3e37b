## package_test (tarball, build_modules)
## Installs the Octave package TARBALL with pkg into a temporary prefix and
## package list (never the user's own), loads it, and checks that:
##   - the package installs the modules of modules.def, and each gives the
##     same bits as the module of the same name in BUILD_MODULES (the CMake
##     build's folder) on the same calls: its example calls
##     (example_calls.m) and hostile ones drawn as the fuzz round draws
##     them; results, the argument written in place, error messages and
##     printed text all count;
##   - help shows each module's help file, "demo discwave" runs;
##   - "pkg test velk" passes;
##   - uninstalling leaves no file behind.
## Fails with an error naming the first check that does not hold.
function package_test (tarball, build_modules)
  root = tempname ();
  mkdir (root);
  saved_dir = pwd ();
  unwind_protect
    cd (root);   # pkg test writes its log in the current folder
    pkg ("prefix", fullfile (root, "share"), fullfile (root, "arch"));
    pkg ("local_list", fullfile (root, "local_packages"));
    pkg ("global_list", fullfile (root, "global_packages"));

    addpath (build_modules);   # the example calls make probes with its functions
    modules = module_table ();
    names = {modules.name};
    calls = draw_calls (modules, 20260112, 60);
    check_loaded_from (names, build_modules);
    expected = run_calls (calls);
    rmpath (build_modules);
    clear ("functions");

    pkg ("install", "-local", tarball);
    [~, installed] = cellfun (@fileparts, glob (fullfile (root, "arch", "*", "*", "*.mex")),
                              "UniformOutput", false);
    if (! isequal (sort (installed), sort (names')))
      error ("package_test: the package installs the modules %s, the build %s",
             strjoin (installed', " "), strjoin (names, " "));
    endif
    pkg ("load", "velk");
    check_loaded_from (names, fullfile (root, "arch"));
    got = run_calls (calls);
    check_same_outcomes (calls, expected, got);
    printf ("package_test: %d calls give the same bits from the package as from the build\n",
            numel (calls));

    for name = names
      text = evalc (["help " name{1}]);
      if (isempty (strfind (text, [upper(name{1}) "  "])))
        error ("package_test: help %s does not show its help file:\n%s", name{1}, text);
      endif
    endfor

    warning ("off", "Octave:gnuplot-graphics");
    set (0, "defaultfigurevisible", "off");
    text = evalc ("demo discwave");
    close all;
    if (isempty (strfind (text, "discwave example 1:")) || ! isempty (strfind (text, "failed")))
      error ("package_test: demo discwave did not run:\n%s", text);
    endif

    check_pkg_test (names);

    pkg ("unload", "velk");
    pkg ("uninstall", "-local", "velk");
    left = [glob(fullfile (root, "share", "*")); glob(fullfile (root, "arch", "*"))];
    if (! isempty (left) || ! isempty (pkg ("list")))
      error ("package_test: uninstalling left %s", strjoin (left', ", "));
    endif
    printf ("package_test: installed, loaded, tested and uninstalled %s\n", tarball);
  unwind_protect_cleanup
    cd (saved_dir);
    confirm_recursive_rmdir (false, "local");
    rmdir (root, "s");
  end_unwind_protect
endfunction

## Calls of each module: its example calls, then N hostile ones drawn from
## SEED. Each is a struct of the module's name, the arguments, the number of
## results and the argument written in place.
function calls = draw_calls (modules, seed, n)
  rand ("twister", seed);
  randn ("twister", seed);
  calls = struct ("name", {}, "args", {}, "n_out", {}, "in_place", {});
  for module = modules
    for example = example_calls (module.name)
      calls(end+1) = make_call (module, example.args, example.n_out);
    endfor
    for i = 1:n
      [args, n_out] = fuzz_call (module);
      calls(end+1) = make_call (module, args, n_out);
    endfor
  endfor
endfunction

function call = make_call (module, args, n_out)
  in_place = module.written_in_place(module.written_in_place <= numel (args));
  call = struct ("name", module.name, "args", {args}, "n_out", n_out, "in_place", in_place);
endfunction

## Each call's message (empty when it returned), results, argument written
## in place and printed text, as bits.
function outcomes = run_calls (calls)
  outcomes = cell (size (calls));
  for i = 1:numel (calls)
    args = deep_copy (calls(i).args);
    printed = evalc ("[message, results] = call_module (calls(i).name, args, calls(i).n_out);");
    outcomes{i} = bits ({message, results, args(calls(i).in_place), printed});
  endfor
endfunction

## Doubles as their size and the bit patterns of their elements, so that
## NaNs compare by payload and -0 differs from 0.
function b = bits (x)
  if (iscell (x))
    b = cellfun (@bits, x, "UniformOutput", false);
  elseif (isa (x, "double") && isreal (x))
    b = {size(x), typecast(x(:), "uint64")};
  elseif (isa (x, "double"))
    b = {size(x), typecast(real (x(:)), "uint64"), typecast(imag (x(:)), "uint64")};
  else
    b = x;
  endif
endfunction

function check_same_outcomes (calls, expected, got)
  differ = find (! cellfun (@isequal, expected, got));
  if (! isempty (differ))
    error ("package_test: %d calls differ between the package and the build, the first of %s",
           numel (differ), calls(differ(1)).name);
  endif
endfunction

function check_loaded_from (names, folder)
  for name = names
    file = which (name{1});
    if (! strncmp (file, folder, numel (folder)))
      error ("package_test: %s comes from %s, not from %s", name{1}, file, folder);
    endif
  endfor
endfunction

function check_pkg_test (names)
  text = evalc ("pkg test velk");
  passed = str2double (regexp (text, 'PASS\s+(\d+)', "tokens", "once"));
  failed = str2double (regexp (text, 'FAIL\s+(\d+)', "tokens", "once"));
  tested = cellfun (@(name) ! isempty (regexp (text, [name '\.m\s+pass'], "once")), names);
  if (isempty (passed) || isempty (failed) || failed != 0 || ! all (tested))
    error ("package_test: pkg test velk did not pass:\n%s", text);
  endif
  printf ("package_test: pkg test velk: %d passed\n", passed);
endfunction
