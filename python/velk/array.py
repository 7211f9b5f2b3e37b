"""Apodization weights of a linear array."""
from . import _arguments as arg
from ._call import call


def taper(window, n, p):
    """Apodization weights of the n elements of a linear array.

    w = velk.taper(window, n, p)

    window  "off" (no weighting: zeros), "triangle", "gauss", "raised",
            "simply" or "clamped"
    n       number of elements (truncated), at least 0
    p       the window's parameter

    Returns w, shape (n,): the weight of element i at w[i], the elements at
    positions 2 (0.5 - i / n) across the array. w is Octave's
    velk_taper(window, n, p) as a vector, bit for bit.

    >>> import velk
    >>> velk.taper("triangle", 8, 0)
    array([0.  , 0.25, 0.5 , 0.75, 1.  , 0.75, 0.5 , 0.25])
    """
    results, _ = call("velk_taper", arg.keyword("window", window), arg.values("n", n),
                      arg.values("p", p))
    return results[0][0]
