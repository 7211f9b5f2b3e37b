%FMC_EVENTS  Full-matrix capture: every element fires alone.
%   EVENTS = FMC_EVENTS(PROBE)
%
%   One event per element: element e fires at time 0 with weight 1, the
%   others not at all, and every element receives. Its wave is the
%   diverging wave of a source at the element's centre (see
%   PLANE_WAVE_EVENTS for the fields).
%
%   Example
%     events = fmc_events (linear_probe (64, 0.3, [0.27 5]));
%
%   See also PLANE_WAVE_EVENTS, BEAMFORM.
function events = fmc_events (probe)
  Ne = rows (probe.centres);
  events = transmit_events (probe, "diverging", probe.centres', 1540, logical (eye (Ne)),
                            ones (Ne));
endfunction

%!test
%! probe = linear_probe (3, 0.3, [0.27 5]);
%! ev = fmc_events (probe);
%! assert (ev.weight, eye (3));
%! assert (ev.fire, zeros (3));
%! assert (ev.origin, probe.centres');
