## run_bench ()
## Times every module against the same computation in vectorised Octave, in
## this one Octave run, and prints the ratio. Times are steady-state (see
## time_call).
function run_bench ()
  benches = {@bench_discwave, @bench_platewave, @bench_discwave_avg, @bench_velk_damp, ...
             @() bench_fold_mt(1), @() bench_fold_mt(2), @() bench_paste_mt(true), @() bench_paste_mt(false), ...
             @bench_echofocus};
  printf ("%-52s %12s %12s %9s\n", "computation", "module [ms]", "Octave [ms]", "speed-up");
  for i = 1:numel (benches)
    row = benches{i} ();
    printf ("%-52s %12.3f %12.3f %8.1fx\n", row{1}, 1000 * row{2}, 1000 * row{3}, row{3} / row{2});
  endfor
endfunction
