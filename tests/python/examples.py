"""The modules' example calls (tests/calls/example_calls.m, written as JSON
by the build, VELK_EXAMPLE_CALLS) and, for each module, the Python call that
does what its Octave call does: the parity and memory tests run them."""
import json
import os
import pathlib

import numpy as np
import pytest

import velk


def _value(v):
    """A value as write_example_calls writes it, as Octave holds it."""
    if "double" in v:
        rows, cols, data = v["double"]
        return np.array(data, dtype=np.float64).reshape((rows, cols), order="F")
    if "char" in v:
        return v["char"]
    if "cell" in v:
        return tuple(_value(e) for e in v["cell"][2])
    return {name: _value(field) for name, field in v["struct"].items()}


def load():
    """The example calls: a list of dicts of name, args (Octave's values) and n_out."""
    file = os.environ.get("VELK_EXAMPLE_CALLS")
    if not file or not pathlib.Path(file).exists():
        pytest.skip("VELK_EXAMPLE_CALLS (the build's example_calls.json) is needed")
    calls = json.loads(pathlib.Path(file).read_text())
    for c in calls:
        c["args"] = [_value(v) for v in c["args"]]
    return calls


def _vector(x):
    return np.ravel(x)


def _filters(B):
    """A filter argument of fold_mt as velk.fold takes it: one row or one
    column is one shared filter, else a column per signal."""
    return np.ravel(B) if 1 in B.shape else B.T


def _fold(A, B, n, Y=None, mode="="):
    if Y is None:
        return [velk.fold(A.T, _filters(B), threads=int(n[0, 0])).T]
    out = Y.T.copy()
    velk.fold(A.T, _filters(B), threads=int(n[0, 0]), out=out, mode=mode)
    return [out.T]


def _paste(Y, R, C, S, n):
    target = Y.T.copy()
    (r1, r2), (c1, c2) = _vector(R), _vector(C)
    velk.paste(target, (int(c1) - 1, int(c2)), (int(r1) - 1, int(r2)), S.T, threads=int(n[0, 0]))
    return [target.T]


def _lagsum(points, sampling, delay, cp, level):
    H, status = velk.lagsum(points, _vector(sampling), _vector(delay), cp[0, 0], level)
    return [H.T, np.array([[status]], dtype=np.float64)]


def _focus(S, X, delay, dt, cp, G, width, n=None):
    image = velk.echofocus(S.T, X, _vector(delay), dt[0, 0], cp[0, 0], G, width[0, 0],
                           threads=1 if n is None else int(n[0, 0]))
    return [image[:, None]]


def _option(o):
    return o if isinstance(o, str) else tuple(o)


def _array(function, points, elements, shape, sampling, delay, material, focus="off",
           steer="off", apod="off", intervals=np.zeros((1, 1)), n=None):
    """The array's response only: its fire times and weights are Octave's alone."""
    H = function(points, elements, shape, sampling, delay, material, focus=_option(focus),
                 steer=_option(steer), apod=_option(apod), intervals=int(intervals[0, 0]),
                 threads=None if n is None else int(n[0, 0]))
    return [H.T]


def _probe(fields):
    return velk.Probe(fields["centres"], size=fields.get("size"),
                      receiver=_probe(fields["receiver"]) if "receiver" in fields else None)


def _events(fields):
    return velk.Events(fields["fire"].T, fields["weight"].T,
                       fields["receive"].T.astype(np.int64) - 1, list(fields["wave"]),
                       fields["origin"].T, _vector(fields["t0"]))


def _beamform(data, probe, events, timing, cp, points, options=None):
    options = options or {}
    ev = _events(events)
    n_rx = ev.receive.shape[1]
    image = velk.beamform(
        data.T.reshape(len(ev), n_rx, -1), _probe(probe), ev, timing[0, 0], timing[0, 1],
        cp[0, 0], points, interpolation=options.get("interpolation", "linear"),
        f_number=options.get("fnumber", np.zeros((1, 1)))[0, 0],
        window=options.get("window", "boxcar"), tx_window=options.get("tx_window", "none"),
        compound=bool(options.get("compound", np.ones((1, 1)))[0, 0]),
        threads=int(options["threads"][0, 0]) if "threads" in options else None)
    return [image[:, None] if image.ndim == 1 else image.T]


def _pulse_echo(S, A, probe, events, pulse, sampling, t0, medium, options=None):
    options = options or {}
    ev = _events(events)
    pulse = tuple(pulse) if isinstance(pulse, (list, tuple)) else pulse
    y = velk.pulse_echo(S, A, _probe(probe), ev, pulse, sampling[0, 0], int(sampling[0, 1]),
                        t0[0, 0], medium[0, 0], medium[0, 1],
                        intervals=int(options.get("N", np.full((1, 1), 4))[0, 0]),
                        oversample=(int(options["oversample"][0, 0]) if "oversample" in options
                                    else None),
                        threads=int(options["threads"][0, 0]) if "threads" in options else None,
                        progress=bool(options.get("progress", np.zeros((1, 1)))[0, 0]))
    return [y.reshape(-1, y.shape[-1]).T]


# For each module, its example's arguments -> the Python results in Octave's
# shapes (a response's rows are its samples, a vector is a column).
PYTHON_FORM = {
    "discwave": lambda *a: [velk.discwave(*a).T],
    "platewave": lambda *a: [velk.platewave(*a).T],
    "discwave_avg": lambda *a: [velk.discwave_avg(*a).T],
    "platewave_avg": lambda *a: [velk.platewave_avg(*a).T],
    "velk_damp": lambda *a: [velk.damp(*a).T],
    "fold_mt": _fold,
    "paste_mt": _paste,
    "lagsum": _lagsum,
    "echofocus": _focus,
    "echofocus_mt": _focus,
    "velk_taper": lambda w, n, p: [velk.taper(w, n, p)[:, None]],
    "wave_arrival": lambda p, k, o, t0, cp: [velk.wave_arrival(p, k, o, t0[0, 0], cp[0, 0])[:, None]],
    "platewave_array": lambda *a: _array(velk.platewave_array, *a),
    "discwave_array": lambda *a: _array(velk.discwave_array, *a),
    "beamform": _beamform,
    "analytic": lambda X: [velk.analytic(X.T).T],
    "pulse_echo": _pulse_echo,
    "iq": lambda X, f, t: [velk.iq(X.T, f[0, 0], t[0, 0], t[0, 1], f[0, 1]).T],
}


def registered_modules():
    text = (pathlib.Path(__file__).parents[2] / "modules.def").read_text()
    return [line[len("VELK_MODULE("):].split(",")[0] for line in text.splitlines()
            if line.startswith("VELK_MODULE(")]
