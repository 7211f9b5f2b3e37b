"""What the package accepts and refuses, and how: the conversions as a
table of equivalent calls, the refusals as a table of exception and
message, and the in-place arguments that must never be silently copied."""
import numpy as np
import pytest

import velk

P = np.array([[0.0, 0.0, 20.0], [3.0, 1.0, 25.0]])
S = np.arange(12.0).reshape(3, 4)


def discwave(points=P, a=2, sampling=(0.05, 400), delay=10.0, material=(1, 1500)):
    return velk.discwave(points, a, sampling, delay, material)


# Each call must give exactly the bits of the same call with float64 arrays.
EQUIVALENT = [
    ("points as a list", lambda: discwave(points=P.tolist()), discwave),
    ("points as float32", lambda: discwave(points=P.astype(np.float32)),
     lambda: discwave(points=P.astype(np.float32).astype(np.float64))),
    ("points in Fortran order", lambda: discwave(points=np.asfortranarray(P)), discwave),
    ("points as a strided view", lambda: discwave(points=np.repeat(P, 2, axis=0)[::2]), discwave),
    ("one point as a vector", lambda: discwave(points=P[0]), lambda: discwave(points=P[:1])),
    ("integer radius and delays", lambda: discwave(a=np.int16(2), delay=[10, 10]), discwave),
    ("sampling as an array", lambda: discwave(sampling=np.array([[0.05], [400]])), discwave),
    ("signals as integers", lambda: velk.fold(S.astype(np.int64), [1, 2], threads=1),
     lambda: velk.fold(S, [1.0, 2.0], threads=1)),
    ("signals transposed in memory", lambda: velk.fold(np.asfortranarray(S), [1, 2]),
     lambda: velk.fold(S, [1, 2])),
    ("a filter as a column", lambda: velk.fold(S, [[1], [2]]), lambda: velk.fold(S, [1, 2])),
]


@pytest.mark.parametrize("converted, direct", [c[1:] for c in EQUIVALENT],
                         ids=[c[0] for c in EQUIVALENT])
def test_converted_arguments_give_the_same_bits(converted, direct):
    a, b = converted(), direct()
    assert a.shape == b.shape and a.tobytes() == b.tobytes()


def writable_target():
    return np.zeros((3, 5))


def read_only():
    target = np.zeros((3, 5))
    target.flags.writeable = False
    return target


REFUSED = [
    ("complex points", lambda: discwave(points=P + 1j), TypeError, "points must be"),
    ("object points", lambda: discwave(points=[[0, 0, None]]), TypeError, "points must be"),
    ("text as a number", lambda: discwave(a="2"), TypeError, "a must be"),
    ("ragged list", lambda: discwave(points=[[0, 0, 1], [0, 1]]), TypeError, "points must be"),
    ("3 dimensions", lambda: discwave(points=P[None]), ValueError,
     "points must have at most 2 dimensions"),
    ("sampling of 3", lambda: discwave(sampling=(0.05, 400, 1)), ValueError,
     "sampling: Argument 3 must be a vector of length 2!"),
    ("level not text", lambda: velk.lagsum(P, (0.1, 9), 0, 1500, -1), TypeError,
     "level must be a str"),
    ("threads not whole", lambda: velk.fold(S, [1], threads=1.5), TypeError,
     "threads must be an integer"),
    ("mode without out", lambda: velk.fold(S, [1], mode="+="), ValueError,
     'mode "+=" needs an out array'),
    ("filters per row", lambda: velk.fold(S, np.ones((2, 2))), ValueError,
     "filters: Argument 2 must be a vector or have as many rows as argument 1!"),
    ("out too short", lambda: velk.fold(S, [1, 1], out=np.zeros((3, 4))), ValueError,
     "out: Wrong number of columns in argument 4!"),
    ("out of other rows", lambda: velk.fold(S, [1, 1], out=np.zeros((2, 5))), ValueError,
     "out: Wrong number of rows in argument 4!"),
    ("out float32", lambda: velk.fold(S, [1, 1], out=np.zeros((3, 5), np.float32)),
     ValueError, "out must be a writable, C-ordered float64 array"),
    ("out in Fortran order", lambda: velk.fold(S, [1, 1], out=np.zeros((3, 5), order="F")),
     ValueError, "out must be a writable, C-ordered"),
    ("out a strided view", lambda: velk.fold(S, [1, 1], out=np.zeros((6, 5))[::2]),
     ValueError, "out must be a writable, C-ordered"),
    ("target read-only", lambda: velk.paste(read_only(), (0, 1), (0, 1), [[1]]), ValueError,
     "target must be a writable"),
    ("rows past the end", lambda: velk.paste(writable_target(), (2, 4), (0, 1), [[1], [2]]),
     ValueError, "rows must be (start, stop) with 0 <= start < stop <= 3, not (2, 4)"),
    ("empty cols", lambda: velk.paste(writable_target(), (0, 1), (2, 2), [[]]), ValueError,
     "cols must be (start, stop) with 0 <= start < stop <= 5, not (2, 2)"),
    ("rows not integers", lambda: velk.paste(writable_target(), (0.0, 1.0), (0, 1), [[1]]),
     TypeError, "rows must be a pair of integers"),
    ("block of other rows", lambda: velk.paste(writable_target(), (0, 2), (0, 1), [[1]]),
     ValueError, "block: Argument 4 has not the number of rows as given by arg 2!"),
    ("block too narrow", lambda: velk.paste(writable_target(), (0, 1), (0, 3), [[1, 2]]),
     ValueError, "block: Argument 4 has not the number of columns as given by arg 3!"),
    ("no threads", lambda: velk.paste(writable_target(), (0, 1), (0, 1), [[1]], threads=0),
     ValueError, "threads: Argument 5 must be larger or equal to 1 (min number of CPUs)!"),
]


@pytest.mark.parametrize("call, error, message", [r[1:] for r in REFUSED],
                         ids=[r[0] for r in REFUSED])
def test_refused_arguments(call, error, message):
    with pytest.raises(error) as refusal:
        call()
    assert str(refusal.value).startswith(message)


def test_in_place_writes_reach_the_callers_array_and_a_shared_source_is_read_first():
    Y = np.arange(15.0).reshape(3, 5)
    expected = Y.copy()
    expected[1:3, 0:4] = Y[0:2, 1:5]
    velk.paste(Y, (1, 3), (0, 4), Y[0:2, 1:5])  # overlaps the rows it writes
    assert Y.tobytes() == expected.tobytes()

    out = np.ones((3, 5))
    assert velk.fold(S, [1, 1], out=out, mode="+=") is out
    assert out.tobytes() == (1 + velk.fold(S, [1, 1])).tobytes()
