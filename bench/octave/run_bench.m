## run_bench ()
## Times every module against the fastest Octave that gives the same result,
## in this one Octave run: the first call of each in this session and the
## best steady-state time, and their ratio. Prints the machine and its load,
## which the other work on it makes vary; compare ratios within one run.
function run_bench ()
  printf ("machine: %s, %d cores; load average %s\n", cpu_model (), nproc (), load_average ());
  rows = [bench_pistons(); {bench_velk_damp()}; bench_fold_mt(); bench_echofocus();
          {bench_paste_mt(true)}; {bench_paste_mt(false)}; bench_arrays()(:); bench_pulse_echo()(:)];
  ## The phantom job has no peer: its rates are printed as it runs.
  bench_cyst_phantom ();
  printf ("\n%-24s %-60s %21s   %-24s %21s %8s\n", "module", "workload", "first / steady [ms]",
          "peer", "first / steady [ms]", "ratio");
  for i = 1:numel (rows)
    [name, workload, first, steady, peer, peer_first, peer_steady] = rows{i}{:};
    printf ("%-24s %-60s %9.2f / %9.3f   %-24s %9.2f / %9.3f %7.2fx\n", name, workload, ...
            1000 * first, 1000 * steady, peer, 1000 * peer_first, 1000 * peer_steady, ...
            peer_steady / steady);
  endfor
  printf ("load average after the run: %s\n", load_average ());
endfunction

function model = cpu_model ()
  model = "unknown processor";
  text = fileread ("/proc/cpuinfo");
  found = regexp (text, "model name\\s*:\\s*([^\\n]*)", "tokens", "once");
  if (! isempty (found))
    model = found{1};
  endif
endfunction

function text = load_average ()
  text = strtrim (fileread ("/proc/loadavg"));
endfunction
