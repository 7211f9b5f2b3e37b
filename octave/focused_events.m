%FOCUSED_EVENTS  Transmit events of beams focused at points, on sub-apertures.
%   EVENTS = FOCUSED_EVENTS(PROBE, FOCI, CP, N_APERTURE)
%   EVENTS = FOCUSED_EVENTS(PROBE, FOCI, CP, N_APERTURE, APOD)
%
%   One event per row of FOCI (n x 3, mm, in front of the probe): the
%   N_APERTURE elements whose centres lie nearest the focus laterally (the
%   aperture kept inside the probe) fire so that their waves meet at the
%   focus, the outermost first at 0, weighted by the window APOD over the
%   sub-aperture (as in PLANE_WAVE_EVENTS, about the sub-aperture's middle);
%   the same
%   elements receive, so RECEIVE is N_APERTURE x n. The wave is the focused
%   one, T0 its arrival at the focus.
%
%   Example
%     probe = linear_probe (128, 0.3, [0.27 5]);
%     x = linspace (-19, 19, 128)';
%     events = focused_events (probe, [x, zeros(128, 1), 30 * ones(128, 1)], 1540, 64);
%
%   See also PLANE_WAVE_EVENTS, BEAMFORM.
function events = focused_events (probe, foci, cp, n_aperture, apod = "off")
  if (nargin < 4 || columns (foci) != 3)
    print_usage ();
  endif
  C = probe.centres;
  Ne = rows (C);
  n = rows (foci);
  if (n_aperture < 1 || n_aperture > Ne || n_aperture != fix (n_aperture))
    error ("focused_events: N_APERTURE must be a whole number from 1 to %d", Ne);
  endif
  firing = false (Ne, n);
  weights = zeros (Ne, n);
  receive = zeros (n_aperture, n);
  for e = 1:n
    [~, order] = sort (hypot (C(:,1) - foci(e,1), C(:,2) - foci(e,2)));
    members = sort (order(1:n_aperture));
    firing(members, e) = true;
    sub = C(members, :);
    weights(members, e) = element_weights (sub - (min (sub, [], 1) + max (sub, [], 1)) / 2, apod);
    receive(:,e) = members;
  endfor
  events = transmit_events (probe, "focused", foci', cp, firing, weights);
  events.receive = receive;
endfunction

%!test
%! probe = linear_probe (8, 0.3, [0.27 5]);
%! ev = focused_events (probe, [0 0 10; 1 0 20], 1540, 4);
%! assert (ev.receive, [3 4 5 6; 5 6 7 8]');
%! d = hypot (probe.centres(3:6,1), 10);
%! assert (ev.fire(3:6,1), (max (d) - d) * 1000 / 1540, 1e-12);
%! assert (ev.weight(:,1)', [0 0 1 1 1 1 0 0]);
