## kib = resident_kib ()
## The resident memory of this Octave process in KiB, as the kernel counts it.
function kib = resident_kib ()
  status = fileread ("/proc/self/status");
  kib = str2double (regexp (status, 'VmRSS:\s*(\d+)', "tokens", "once"){1});
endfunction
