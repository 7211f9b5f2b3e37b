%DIVERGING_WAVE_EVENTS  Transmit events of diverging waves from virtual sources.
%   EVENTS = DIVERGING_WAVE_EVENTS(PROBE, SOURCES, CP)
%   EVENTS = DIVERGING_WAVE_EVENTS(PROBE, SOURCES, CP, APOD)
%
%   One event per row of SOURCES (n x 3, mm; virtual sources behind the
%   probe, z < 0, or on it): every element fires at the time the spherical
%   wave from the source reaches its centre, the earliest at 0, weighted by
%   the window APOD (as in PLANE_WAVE_EVENTS), and every element receives.
%
%   Example
%     probe = linear_probe (128, 0.3, [0.27 5]);
%     sources = [linspace(-10, 10, 5)', zeros(5, 1), -20 * ones(5, 1)];
%     events = diverging_wave_events (probe, sources, 1540);
%
%   See also PLANE_WAVE_EVENTS, FOCUSED_EVENTS.
function events = diverging_wave_events (probe, sources, cp, apod = "off")
  if (nargin < 3 || columns (sources) != 3)
    print_usage ();
  endif
  n = rows (sources);
  Ne = rows (probe.centres);
  weights = repmat (element_weights (probe.centres, apod), 1, n);
  events = transmit_events (probe, "diverging", sources', cp, true (Ne, n), weights);
endfunction

%!test
%! probe = linear_probe (4, 0.3, [0.27 5]);
%! ev = diverging_wave_events (probe, [0 0 -10], 1540);
%! d = hypot (probe.centres(:,1), 10);
%! assert (ev.fire, (d - min (d)) * 1000 / 1540, 1e-12);
%! assert (ev.t0, -min (d) * 1000 / 1540, 1e-12);
