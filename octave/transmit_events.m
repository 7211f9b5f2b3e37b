## events = transmit_events (probe, kind, origins, cp, firing, weights)
## The transmit events of PROBE for waves of one KIND ("plane", "diverging"
## or "focused"), one per column of ORIGINS (3 x n: directions for plane
## waves, virtual sources or focal points), made with the arrival convention
## of WAVE_ARRIVAL: in event e, element i of the firing set FIRING(:,e)
## (logical, Ne x n) fires at the wave's arrival at its centre, the earliest
## at 0 (the wave's t0 is set so), with the weight WEIGHTS(i,e); the others
## have weight 0. Every element receives. The event makers
## (PLANE_WAVE_EVENTS, ...) call it; see PLANE_WAVE_EVENTS for the fields.
function events = transmit_events (probe, kind, origins, cp, firing, weights)
  Ne = rows (probe.centres);
  n = columns (origins);
  fire = zeros (Ne, n);
  t0 = zeros (1, n);
  for e = 1:n
    firing_centres = probe.centres(firing(:,e), :);
    t0(e) = -min (wave_arrival (firing_centres, kind, origins(:,e), 0, cp));
    fire(firing(:,e), e) = wave_arrival (firing_centres, kind, origins(:,e), t0(e), cp);
  endfor
  events = struct ("fire", fire, "weight", weights .* firing, "receive", repmat ((1:Ne)', 1, n),
                   "wave", {repmat({kind}, 1, n)}, "origin", origins, "t0", t0);
endfunction

## Two of three elements fire for a source behind the middle one.
%!test
%! probe = struct ("centres", [-1 0 0; 0 0 0; 1 0 0], "size", [0.5 5]);
%! ev = transmit_events (probe, "diverging", [0; 0; -1], 1000, [true; true; false], [2; 3; 4]);
%! assert (ev.fire, [sqrt(2) - 1; 0; 0] * 1, 1e-12);
%! assert (ev.weight, [2; 3; 0]);
%! assert (ev.t0, -1);
