"""The Python event makers give the events of Octave's, on the same probe."""
import numpy as np
import pytest

import velk
from conftest import read_matrix

CASES = [
    ("plane", lambda p: velk.plane_wave_events(p, [-12, 0, 7], 1540, "triangle"),
     "plane_wave_events (probe, [-12 0 7], 1540, 'triangle')"),
    ("diverging", lambda p: velk.diverging_wave_events(p, [[0, 0, -8], [2, 0, -15]], 1540,
                                                       ("gauss", 1.0)),
     "diverging_wave_events (probe, [0 0 -8; 2 0 -15], 1540, {'gauss', 1})"),
    ("focused", lambda p: velk.focused_events(p, [[0, 0, 10], [2.1, 0, 20]], 1540, 6,
                                              ("raised", 1.0)),
     "focused_events (probe, [0 0 10; 2.1 0 20], 1540, 6, {'raised', 1})"),
    ("fmc", velk.fmc_events, "fmc_events (probe)"),
]
FIELDS = ("fire", "weight", "receive", "origin", "t0")


@pytest.fixture(scope="module")
def octave_events(octave):
    lines = ["probe = linear_probe (16, 0.3, [0.27 5]);"]
    for name, _, call in CASES:
        lines.append(f"ev = {call};")
        for f in FIELDS:
            lines.append(f"x = ev.{f}; fid = fopen ('{name}_{f}.bin', 'w'); "
                         "fwrite (fid, [size(x)'; x(:)], 'double'); fclose (fid);")
    return octave("\n".join(lines))


@pytest.mark.parametrize("name, make, _", CASES, ids=[c[0] for c in CASES])
def test_events_as_octave_makes_them(octave_events, name, make, _):
    events = make(velk.linear_probe(16, 0.3, (0.27, 5)))
    octave_form = events.octave()
    for f in FIELDS:
        expected = read_matrix(octave_events / f"{name}_{f}.bin")
        got = np.atleast_2d(octave_form[f]).reshape(expected.shape)
        np.testing.assert_allclose(got, expected, rtol=0, atol=1e-12, err_msg=f)
    assert set(events.wave) == {"diverging" if name == "fmc" else name}


@pytest.mark.parametrize("which, rows", [(0, [0]), (2, [2]), (-1, [2]), (np.int64(1), [1]),
                                         (slice(1, None), [1, 2]),
                                         (slice(None, None, -1), [2, 1, 0]), (slice(5, 9), [])])
def test_events_select_rows(which, rows):
    events = velk.focused_events(velk.linear_probe(16, 0.3, (0.27, 5)),
                                 [[0, 0, 10], [2.1, 0, 20], [-3, 0, 15]], 1540, 6)
    chosen = events[which]
    assert len(chosen) == len(rows)
    for f in FIELDS:
        np.testing.assert_array_equal(getattr(chosen, f), getattr(events, f)[rows], err_msg=f)
    assert chosen.wave == [events.wave[r] for r in rows]


@pytest.mark.parametrize("which, error", [(3, IndexError), (-4, IndexError), (1.0, TypeError)])
def test_events_refuse_a_missing_event(which, error):
    with pytest.raises(error):
        velk.fmc_events(velk.linear_probe(3, 0.3, (0.27, 5)))[which]
