%PLANE_WAVE_EVENTS  Transmit events of plane waves at angles.
%   EVENTS = PLANE_WAVE_EVENTS(PROBE, ANGLES, CP)
%   EVENTS = PLANE_WAVE_EVENTS(PROBE, ANGLES, CP, APOD)
%
%   One event per angle of ANGLES (degrees, in the x-z plane, positive
%   towards +x): every element fires at the time the plane wave of
%   direction [sin(a) 0 cos(a)] reaches its centre, the earliest at 0, with
%   the weights of the window APOD over the whole aperture (an apodization
%   of PLATEWAVE_ARRAY: "off", the default, "triangle", {"gauss", P}, ...),
%   and every element receives.
%
%   The fields of EVENTS, n events of a probe of Ne elements:
%     FIRE     Ne x n fire times, us.
%     WEIGHT   Ne x n transmit weights (0: the element does not fire).
%     RECEIVE  n_rx x n receive elements, indices into the receiving probe.
%     WAVE     1 x n cell of the wave's kind: "plane", "diverging" or
%              "focused".
%     ORIGIN   3 x n: a plane wave's unit direction, a diverging wave's
%              virtual source, a focused wave's focal point, mm.
%     T0       1 x n: a plane wave's arrival at the origin, a diverging
%              wave's departure from its source, a focused wave's arrival
%              at its focus, us.
%   The arrival of event e's wave at a point p is WAVE_ARRIVAL (p,
%   WAVE{e}, ORIGIN(:,e), T0(e), CP); an echo from p reaches receive
%   element j at that arrival plus |p - centre_j| * 1000 / CP.
%
%   Example
%     probe = linear_probe (128, 0.3, [0.27 5]);
%     events = plane_wave_events (probe, linspace (-15, 15, 11), 1540);
%
%   See also FMC_EVENTS, DIVERGING_WAVE_EVENTS, FOCUSED_EVENTS, WAVE_ARRIVAL.
function events = plane_wave_events (probe, angles, cp, apod = "off")
  if (nargin < 3)
    print_usage ();
  endif
  angles = angles(:)';
  origins = [sind(angles); zeros(size (angles)); cosd(angles)];
  Ne = rows (probe.centres);
  weights = repmat (element_weights (probe.centres, apod), 1, numel (angles));
  events = transmit_events (probe, "plane", origins, cp, true (Ne, numel (angles)), weights);
endfunction

## The wave of 0 degrees fires every element at once; one of 10 degrees
## fires the elements from -x to +x, each as the wave reaches it.
%!test
%! probe = linear_probe (8, 0.3, [0.27 5]);
%! ev = plane_wave_events (probe, [0 10], 1540);
%! assert (ev.fire(:,1), zeros (8, 1));
%! x = probe.centres(:,1);
%! assert (ev.fire(:,2), (x - x(1)) * sind (10) * 1000 / 1540, 1e-12);
%! assert (ev.t0, [0, -x(1) * sind(10) * 1000 / 1540], 1e-12);
%! assert (ev.receive, repmat ((1:8)', 1, 2));
