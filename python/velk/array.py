"""Apodization weights of a linear array."""
from typing import Literal

import numpy as np
from numpy.typing import NDArray

from . import _arguments as arg
from ._call import call

Window = Literal["off", "triangle", "gauss", "raised", "simply", "clamped"]


def taper(window: Window, n: float, p: float) -> NDArray[np.float64]:
    """Apodization weights of the elements of a linear array.

    Element i (from 0) of the n elements sits at ``x = 2 (0.5 - i / n)`` on
    the aperture normalised to [-1, 1], so x runs from 1 down in steps of
    2 / n to -1 + 2 / n; its weight is the window's value there.

    Parameters
    ----------
    window : {"off", "triangle", "gauss", "raised", "simply", "clamped"}
        The window, spelt exactly (case included): "off" all weights 0,
        "triangle" 1 - abs(x), "gauss" exp(-p x^2), "raised"
        p + cos(pi abs(x)) (not halved: 2 at x = 0 for p = 1), "simply"
        1 - x^2, "clamped" (1 - x^2) (1 - abs(x)).
    n : float
        Number of elements, truncated toward zero; 0 or more.
    p : float
        The window's parameter, used by "gauss" and "raised".

    Returns
    -------
    ndarray of float64, shape (n,)
        The weight of element i at index i.

    Raises
    ------
    TypeError
        A window that is not a str, or n or p not a real number.
    ValueError
        A window or n the module refuses: the module's message behind the
        parameter's name (``window: Unknown apodization level!``).

    See Also
    --------
    velk.echofocus : Focusing, whose A-scans such weights may scale.

    Notes
    -----
    The weights are Octave's ``velk_taper(window, n, p)`` as a vector, bit
    for bit.

    Examples
    --------
    >>> import velk
    >>> velk.taper("triangle", 8, 0)
    array([0.  , 0.25, 0.5 , 0.75, 1.  , 0.75, 0.5 , 0.25])
    """
    results, _ = call("velk_taper", arg.keyword("window", window), arg.values("n", n),
                      arg.values("p", p))
    weights: NDArray[np.float64] = results[0][0]
    return weights
