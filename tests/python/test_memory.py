"""Memory stays flat over many calls of every module, the refused ones and
those that end in a warning or an exception included."""
import resource
import warnings

import numpy as np

import velk
from examples import PYTHON_FORM, load

P = np.array([[0.0, 0.0, 10.0], [2.0, 1.0, 15.0]])
# Every module's example calls, then calls that end early in each way.
CALLS = [lambda c=c: PYTHON_FORM[c["name"]](*c["args"]) for c in load()] + [
    lambda: velk.lagsum(P, (0.05, 100), 0, 1500, "stop"),
    lambda: velk.discwave(P, [2, 2], (0.05, 300), 0, (1, 1500)),
    lambda: velk.discwave(P + 1j, 2, (0.05, 300), 0, (1, 1500)),
    lambda: velk.fold(np.ones((4, 30)), [1, 2, 1], threads=0),
]


def resident_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * resource.getpagesize()


def test_memory_stays_flat_over_ten_thousand_calls_of_each():
    def calls(n):
        for _ in range(n):
            for call in CALLS:
                try:
                    call()
                except (ValueError, TypeError):
                    pass

    with warnings.catch_warnings():
        warnings.simplefilter("ignore", velk.OutOfBoundsWarning)
        calls(1000)
        before = resident_bytes()
        calls(10000)
        growth = resident_bytes() - before
    # A leak of one small block a call would add over a megabyte.
    assert growth < 1 << 20, f"{growth} bytes more after 10000 calls of each"
