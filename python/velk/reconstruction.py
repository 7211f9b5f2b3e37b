"""Delay-and-sum and synthetic aperture focusing."""
import warnings
from typing import Literal, NamedTuple, Optional, SupportsIndex

import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _arguments as arg
from ._call import call

Level = Literal["stop", "warn", "ignore"]


class OutOfBoundsWarning(UserWarning):
    """A delay outside the output window, reported under the level "warn".

    `velk.lagsum` emits one for each point whose impulse falls outside its
    window, with the module's report as the message, and goes on.

    See Also
    --------
    velk.OutOfBoundsError : The same report under the level "stop".

    Examples
    --------
    >>> import warnings, velk
    >>> with warnings.catch_warnings(record=True) as caught:
    ...     warnings.simplefilter("always")
    ...     _ = velk.lagsum([0, 0, 100], (0.1, 200), 0, 1500, "warn")
    >>> str(caught[0].message)
    'Delay out of bounds (offset = 468 samples)'
    """


class LagsumResult(NamedTuple):
    """The impulse responses of `velk.lagsum` and the status of the call.

    A tuple of two, unpacked as ``H, status = velk.lagsum(...)``, whose
    parts are also its attributes.

    Parameters
    ----------
    response : ndarray of float64, shape (No, nt)
        One row of zeros and ones per point; time runs along axis 1.
    status : int
        0 when every impulse fell inside its window, otherwise the level's
        code: -2 for "warn", -3 for "ignore".

    See Also
    --------
    velk.lagsum : The function that returns it.

    Examples
    --------
    >>> import velk
    >>> result = velk.lagsum([0, 0, 15], (0.1, 300), 0, 1500, "stop")
    >>> result.response.shape, result.status
    ((1, 300), 0)
    """

    response: NDArray[np.float64]
    status: int


def lagsum(points: ArrayLike, sampling: ArrayLike, delay: ArrayLike, cp: float,
           level: Level) -> LagsumResult:
    """Delay-and-sum impulse response at observation points.

    For each point, a unit impulse at the sample nearest to the one-way
    travel time from the origin to the point, d * 1000 / cp us for a
    distance d in mm, on the time axis ``delay + k * dt``: the sample index
    is ``(d * 1000 / cp - delay) / dt`` rounded to the nearest integer,
    halfway cases to the even one (2.5 gives 2, 3.5 gives 4). Only the
    distance from the origin counts, not the signs of x, y and z.

    A travel time outside the nt samples leaves its row zero and is
    reported as "Delay out of bounds (offset = n samples)", with n the
    number of samples past the last one (counted from 1) or the negative
    sample index before the first; an offset beyond the int range is
    reported as the nearest int, and a travel time that is not a number
    counts as before the window.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        Observation points, one ``[x, y, z]`` per row, in mm (one point may
        be given as ``[x, y, z]``).
    sampling : array_like, shape (2,)
        ``(dt, nt)``: the sampling period in us (finite, not 0) and the
        number of samples, truncated toward zero, not negative.
    delay : array_like
        Time of the first sample, in us: one value for every point, or one
        per point (any shape, read in the order of ``np.ravel``).
    cp : float
        Sound speed, in m/s (finite, not 0).
    level : {"stop", "warn", "ignore"}
        What a report does: "stop" raises `velk.OutOfBoundsError`, "warn"
        emits it as an `velk.OutOfBoundsWarning` and goes on, "ignore" goes
        on silently. Spelt exactly, case included.

    Returns
    -------
    response : ndarray of float64, shape (No, nt)
        One row per point, of zeros and ones; time runs along axis 1:
        ``response[i, k]`` is the sample at ``delay[i] + k * dt`` us.
    status : int
        0 when every impulse fell inside its window, otherwise the level's
        code: -2 for "warn", -3 for "ignore".

    Raises
    ------
    velk.OutOfBoundsError
        Under "stop", a travel time outside its window, with the report as
        the message (a ValueError).
    TypeError
        An argument that is not an array of real numbers, or a level that
        is not a str.
    ValueError
        An argument of a shape or value the module refuses: the module's
        message behind the parameter's name (``level: Unknown error
        level!``).
    KeyboardInterrupt
        Ctrl-C, which stops the call between two points.

    See Also
    --------
    velk.LagsumResult : The named tuple returned.
    velk.echofocus : Synthetic aperture focusing of A-scans.
    velk.distributed.lagsum : The same over chunks of points on a cluster.

    Notes
    -----
    ``response[i]`` is column ``i + 1`` of ``H`` and `status` is ``STATUS``
    of Octave's ``[H, STATUS] = lagsum(points, [dt nt], delay, cp, level)``,
    bit for bit.

    Examples
    --------
    >>> import velk
    >>> H, status = velk.lagsum([[0, 0, 15], [0, 0, 30]], (0.1, 300), 0, 1500, "stop")
    >>> [int(h.argmax()) for h in H], status
    ([100, 200], 0)
    """
    H, status, reports = lagsum_with_reports(points, sampling, delay, cp, level)
    for report in reports:
        warnings.warn(report, OutOfBoundsWarning, stacklevel=2)
    return LagsumResult(H, status)


def lagsum_with_reports(points: ArrayLike, sampling: ArrayLike, delay: ArrayLike, cp: float,
                        level: Level) -> tuple[NDArray[np.float64], int, list[str]]:
    """Compute lagsum's response and status, and return its reports as texts.

    For a caller that emits the out-of-bounds reports elsewhere (in
    another thread or process than the one that computed) instead of as
    warnings here.

    Parameters
    ----------
    points, sampling, delay, cp, level
        As for `lagsum`.

    Returns
    -------
    response : ndarray of float64, shape (No, nt)
        As for `lagsum`.
    status : int
        As for `lagsum`.
    reports : list of str
        The reports that `lagsum` would emit as warnings, in the order of
        the points.

    Raises
    ------
    velk.OutOfBoundsError, TypeError, ValueError, KeyboardInterrupt
        As for `lagsum`.

    See Also
    --------
    velk.lagsum : The same with the reports as warnings.
    """
    results, reports = call("lagsum", arg.points("points", points),
                            arg.values("sampling", sampling), arg.values("delay", delay),
                            arg.values("cp", cp), arg.keyword("level", level), n_results=2)
    return results[0], int(results[1][0, 0]), list(reports)


def echofocus(scans: ArrayLike, positions: ArrayLike, delay: ArrayLike, dt: float, cp: float,
              points: ArrayLike, width: float, *,
              threads: Optional[SupportsIndex] = None) -> NDArray[np.float64]:
    """Synthetic aperture focusing of pulse-echo A-scans, on worker threads.

    Each image point sums, over the A-scans whose transducer lies within
    the lateral distance width / 2 of the point (the edge included,
    measured in x and y only), the A-scan's value at the two-way travel
    time from the transducer to the point. With R the distance in mm and
    tau the A-scan's delay, the fractional sample position is
    ``D = (2 R / cp * 1000 - 2 tau) / dt``, k is D rounded to the nearest
    integer (halfway cases to the even one) and ``f = D - k``: the A-scan
    adds ``(1 - |f|) s[k]`` and then ``|f|`` times its neighbour on the
    side of D, ``s[k + 1]`` for f >= 0 or ``s[k - 1]`` for f < 0. Only
    ``2 <= k <= M - 2`` contributes, and a D that is not finite or lies
    beyond the int range (cp or dt 0, for example) adds nothing.

    Parameters
    ----------
    scans : array_like, shape (N, M)
        The A-scans, one per row, M samples each, sampled every `dt`; time
        runs along axis 1 (one A-scan may be given as a vector).
    positions : array_like, shape (N, 3)
        Transducer positions, one ``[x, y, z]`` per A-scan, in mm.
    delay : array_like
        Time of the first sample of the A-scans, in us: one value for all,
        or one per A-scan (any shape, read in the order of ``np.ravel``).
    dt : float
        Sampling period, in us.
    cp : float
        Sound speed, in m/s.
    points : array_like, shape (No, 3)
        Image points, one ``[x, y, z]`` per row, in mm.
    width : float
        Aperture width, in mm (not NaN; below 0 nothing counts).
    threads : int, optional
        Worker threads, at least 1 (default: every core); the image is the
        same, bit for bit, for any count.

    Returns
    -------
    ndarray of float64, shape (No,)
        The image, one value per point, in the unit of the samples.

    Raises
    ------
    TypeError
        An argument that is not an array of real numbers, or threads that
        is not an integer.
    ValueError
        An argument of a shape or value the module refuses: the module's
        message behind the parameter's name (``width: Argument 7 (aperture
        width) must be a number!``).
    MemoryError
        The worker threads cannot be started.
    KeyboardInterrupt
        Ctrl-C, which stops the call once each thread has finished its
        current point.

    See Also
    --------
    velk.lagsum : Delay-and-sum impulse responses at points.
    velk.distributed.echofocus : The same over chunks of points on a cluster.

    Notes
    -----
    The image is Octave's ``echofocus(scans.', positions, delay, dt, cp,
    points, width)``, or ``echofocus_mt(..., threads)``, as a vector, bit
    for bit.

    Examples
    --------
    >>> import numpy as np, velk
    >>> scans = np.ones((3, 100))
    >>> velk.echofocus(scans, [[-1, 0, 0], [0, 0, 0], [1, 0, 0]], 0, 0.1, 1500,
    ...                [[0, 0, 3], [5, 0, 3]], 4, threads=2)   # 3 A-scans, then none
    array([3., 0.])
    """
    results, _ = call("echofocus_mt", arg.signals("scans", scans),
                      arg.points("positions", positions), arg.values("delay", delay),
                      arg.values("dt", dt), arg.values("cp", cp), arg.points("points", points),
                      arg.values("width", width), arg.threads(threads))
    image: NDArray[np.float64] = results[0][0]
    return image
