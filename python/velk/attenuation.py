"""The impulse response of propagation through an attenuating medium."""
import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _arguments as arg
from ._call import call


def damp(points: ArrayLike, sampling: ArrayLike, delay: ArrayLike,
         medium: ArrayLike) -> NDArray[np.float64]:
    """Impulse response of a medium with attenuation linear in frequency.

    For each point, the response of propagation from the origin to the
    point (distance r) through a medium whose attenuation grows linearly
    with frequency: a pulse that arrives at the travel time r / cp, damped
    by exp(-alpha f r) and spread by the dispersion that a causal medium
    with this attenuation must have. It is built on the FFT grid of the
    window and brought back to time by an inverse FFT, so its samples sum
    to 1 (zero frequency passes unattenuated) and a pulse that falls
    outside the window wraps around it.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        Observation points, one ``[x, y, z]`` per row, in mm; finite (one
        point may be given as ``[x, y, z]``).
    sampling : array_like, shape (2,)
        ``(dt, nt)``: the sampling period in us (above 0) and the number of
        samples, truncated toward zero (10.9 gives 10), at least 1.
    delay : array_like
        Time of the first sample, in us: one value for every point, or one
        per point (any shape, read in the order of ``np.ravel``); finite.
    medium : array_like, shape (2,)
        ``(cp, alpha)``: the sound speed in m/s (above 0) and the
        attenuation coefficient in dB/(cm MHz) (1 dB/(cm MHz) is taken as
        1/86860 Np/(m Hz)).

    Returns
    -------
    ndarray of float64, shape (No, nt)
        The impulse response at each point, one point per row,
        dimensionless (each row sums to 1); time runs along axis 1:
        ``H[i, k]`` is the sample at ``delay[i] + k * dt`` us.

    Raises
    ------
    TypeError
        An argument that is not an array of real numbers.
    ValueError
        An argument of a shape or value the module refuses: the module's
        message behind the parameter's name (``medium: Argument 4 must hold
        a finite attenuation!``).
    MemoryError
        The transform's workspace cannot be had.

    See Also
    --------
    velk.discwave : The spatial impulse response of a circular piston.
    velk.distributed.damp : The same over chunks of points on a cluster.

    Notes
    -----
    The pulse stands at sample K, ``K = fix((1000 r / cp - delay) / dt +
    1)`` taken modulo nt: one sample after that of the travel time. With
    alpha = 0 the row is a unit sample there. ``H[i]`` is column ``i + 1``
    of Octave's ``velk_damp(points, [dt nt], delay, [cp alpha])``; the
    transform is planned by timing, so the last bit of a sample may differ
    between two processes.

    Examples
    --------
    >>> import velk
    >>> H = velk.damp([[0, 0, 30], [0, 0, 60]], (0.025, 256), [18, 38], (1500, 0.5))
    >>> H.shape
    (2, 256)
    >>> [round(float(h.sum()), 6) for h in H]
    [1.0, 1.0]
    """
    results, _ = call("velk_damp", arg.points("points", points), arg.values("sampling", sampling),
                      arg.values("delay", delay), arg.values("medium", medium))
    return results[0]
