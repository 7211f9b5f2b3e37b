## The transmit events of every maker against the one arrival convention:
## each firing element fires at the arrival of the event's wave at its
## centre (wave_arrival with the event's wave), the earliest at 0; the
## others have weight 0; the receive lists are as the makers promise.

%!test
%! cp = 1540;
%! probe = linear_probe (16, 0.3, [0.27 5]);
%! makers = {
%!   @() plane_wave_events (probe, [-12 0 7], cp, "triangle"),                     16, @(ev, e) true (16, 1)
%!   @() diverging_wave_events (probe, [0 0 -8; 2 0 -15], cp, {"gauss", 1}),       16, @(ev, e) true (16, 1)
%!   @() focused_events (probe, [0 0 10; 2.1 0 20; -5 0 15], cp, 6, {"raised", 1}), 6, @(ev, e) ismember ((1:16)', ev.receive(:,e))
%!   @() fmc_events (probe),                                                       16, @(ev, e) (1:16)' == e
%! };
%! for m = 1:rows (makers)
%!   ev = makers{m,1} ();
%!   assert (rows (ev.receive), makers{m,2});
%!   for e = 1:columns (ev.fire)
%!     firing = makers{m,3} (ev, e);   # the elements that fire (a window may weigh one 0)
%!     assert (all (ev.weight(! firing, e) == 0));
%!     T = wave_arrival (probe.centres, ev.wave{e}, ev.origin(:,e), ev.t0(e), cp);
%!     assert (ev.fire(firing, e), T(firing), 1e-12);
%!     assert (min (ev.fire(firing, e)), 0, 1e-12);
%!   endfor
%! endfor
%! ## The sub-apertures lie nearest their foci, inside the probe.
%! ev = makers{3,1} ();
%! assert (ev.receive(:,3)', 1:6);
%! assert (ev.receive(:,2)', 11:16);
