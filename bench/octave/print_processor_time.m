## print_processor_time (name, one, two)
## The processor time of a call on 1 and on 2 threads. When the second thread
## adds no work, the two agree, and a speed-up below 2 comes from threads
## waiting for a processor that other work holds.
function print_processor_time (name, one, two)
  printf ("%s processor time per call: %.2f ms on 1 thread, %.2f ms on 2 (%.2fx)\n",
          name, 1000 * one, 1000 * two, two / one);
endfunction
