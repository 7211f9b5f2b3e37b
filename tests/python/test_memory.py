"""Memory stays flat over many calls of every module, the refused ones and
those that end in a warning or an exception included."""
import resource
import warnings

import numpy as np
import pytest

import velk

P = np.array([[0.0, 0.0, 10.0], [2.0, 1.0, 15.0]])
S = np.ones((4, 30))
CALLS = [
    lambda: velk.discwave(P, 2, (0.05, 300), 0, (1, 1500)),
    lambda: velk.platewave(P, (4, 2), (0.05, 300), 0, (1, 1500)),
    lambda: velk.discwave_avg(P, 2, (0.05, 300), 0, (1, 1500), 4),
    lambda: velk.damp(P, (0.05, 64), 5, (1500, 0.5)),
    lambda: velk.lagsum(P, (0.05, 100), 0, 1500, "warn"),
    lambda: velk.lagsum(P, (0.05, 100), 0, 1500, "stop"),
    lambda: velk.echofocus(S, np.zeros((4, 3)), 0, 0.05, 1500, P, 5, threads=2),
    lambda: velk.fold(S, [1, 2, 1], threads=2),
    lambda: velk.fold(S, [1, 2, 1], threads=2, out=np.zeros((4, 31))),
    lambda: velk.paste(np.zeros((6, 40)), (1, 5), (2, 30), S, threads=2),
    lambda: velk.taper("gauss", 16, 0.5),
    lambda: velk.discwave(P, [2, 2], (0.05, 300), 0, (1, 1500)),
    lambda: velk.discwave(P + 1j, 2, (0.05, 300), 0, (1, 1500)),
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
