"""Spatial impulse responses of flat pistons at observation points."""
import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _arguments as arg
from ._call import call


def discwave(points: ArrayLike, a: float, sampling: ArrayLike, delay: ArrayLike,
             material: ArrayLike) -> NDArray[np.float64]:
    """Spatial impulse response of a flat circular piston, times its velocity.

    The piston of radius `a` lies in the plane z = 0, centred on the
    origin, and moves with the uniform normal velocity v. The response at
    a point is in closed form: v cp on the plateau of a point in front of
    the piston, the edge wave (v cp / pi) acos(q) between the arrivals from
    the nearest and the farthest point of the rim, zero elsewhere. A point
    exactly over the rim counts as outside; z keeps its sign, so a point
    below the plane of the piston sees the plateau at once.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        Observation points, one ``[x, y, z]`` per row, in mm (one point may
        be given as ``[x, y, z]``).
    a : float
        Radius of the piston, in mm (a radius of 0 or less gives zeros).
    sampling : array_like, shape (2,)
        ``(dt, nt)``: the sampling period in us and the number of samples,
        truncated toward zero (10.9 gives 10), not negative.
    delay : array_like
        Time of the first sample, in us: one value for every point, or one
        per point (any shape, read in the order of ``np.ravel``).
    material : array_like, shape (2,)
        ``(v, cp)``: the normal velocity of the piston's surface in m/s
        and the sound speed in m/s.

    Returns
    -------
    ndarray of float64, shape (No, nt)
        The response at each point, one point per row, in m^2/s^2 (v times
        the spatial impulse response in m/s); time runs along axis 1:
        ``H[i, k]`` is the sample at ``delay[i] + k * dt`` us.

    Raises
    ------
    TypeError
        An argument that is not an array of real numbers.
    ValueError
        An argument of a shape or value the module refuses: the module's
        message behind the parameter's name (``a: Argument 2 must be a
        scalar!``).

    See Also
    --------
    velk.discwave_avg : The same response averaged over each sampling interval.
    velk.platewave : The response of a rectangular piston.
    velk.distributed.discwave : The same over chunks of points on a cluster.

    Notes
    -----
    ``H[i]`` is column ``i + 1`` of Octave's
    ``discwave(points, a, [dt nt], delay, [v cp])``, bit for bit.

    Examples
    --------
    >>> import velk
    >>> H = velk.discwave([[0, 0, 20], [8, 0, 20]], 5, (0.025, 800), 12, (1, 1500))
    >>> H.shape
    (2, 800)
    >>> float(H[0].max())      # on the axis: the plateau v cp
    1500.0
    >>> float(velk.discwave([0, 0, 20], 5, (0.025, 800), 12, (2, 1500)).max())
    3000.0
    """
    results, _ = call("discwave", arg.points("points", points), arg.values("a", a),
                      arg.values("sampling", sampling), arg.values("delay", delay),
                      arg.values("material", material))
    return results[0]


def platewave(points: ArrayLike, size: ArrayLike, sampling: ArrayLike, delay: ArrayLike,
              material: ArrayLike) -> NDArray[np.float64]:
    """Spatial impulse response of a flat rectangular piston.

    The piston lies in the plane z = 0, centred on the origin, its width
    along x and its height along y. The response at a point is built from
    the four rectangles that have a corner at the foot of the perpendicular
    from the point, added with signs so that together they make the
    piston: cp for a point whose foot lies inside, from the arrival z / cp
    until the nearest edge's wave arrives, then falling to 0 by the arrival
    from the farthest corner. Unlike `discwave`, the response carries no
    factor v. It is the same at (x, y, z), (-x, y, z), (x, -y, z) and
    (-x, -y, z); a foot exactly on an edge counts as inside.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        Observation points, one ``[x, y, z]`` per row, in mm (one point may
        be given as ``[x, y, z]``).
    size : array_like, shape (2,)
        ``(width, height)``: the sides of the rectangle along x and along
        y, in mm.
    sampling : array_like, shape (2,)
        ``(dt, nt)``: the sampling period in us and the number of samples,
        truncated toward zero (10.9 gives 10), not negative.
    delay : array_like
        Time of the first sample, in us: one value for every point, or one
        per point (any shape, read in the order of ``np.ravel``).
    material : array_like, shape (2,)
        ``(v, cp)``: the normal velocity of the piston's surface in m/s
        (not used: the response carries no factor v) and the sound speed in
        m/s.

    Returns
    -------
    ndarray of float64, shape (No, nt)
        The spatial impulse response at each point, one point per row, in
        m/s; time runs along axis 1: ``H[i, k]`` is the sample at
        ``delay[i] + k * dt`` us. Summed over time (times dt in seconds), a
        row gives the integral of 1 / (2 pi R) over the piston's surface, R
        being the distance from the point.

    Raises
    ------
    TypeError
        An argument that is not an array of real numbers.
    ValueError
        An argument of a shape or value the module refuses: the module's
        message behind the parameter's name (``size: Argument 2 must be a
        two element vector!``).

    See Also
    --------
    velk.discwave : The response of a circular piston.
    velk.distributed.platewave : The same over chunks of points on a cluster.

    Notes
    -----
    ``H[i]`` is column ``i + 1`` of Octave's
    ``platewave(points, [width height], [dt nt], delay, [v cp])``, bit for
    bit.

    Examples
    --------
    >>> import velk
    >>> H = velk.platewave([[0, 0, 20], [3, 2, 20]], (10, 6), (0.025, 600), 12, (1, 1500))
    >>> H.shape
    (2, 600)
    >>> float(H[0].max())      # in front of the piston: the plateau cp
    1500.0
    """
    results, _ = call("platewave", arg.points("points", points), arg.values("size", size),
                      arg.values("sampling", sampling), arg.values("delay", delay),
                      arg.values("material", material))
    return results[0]


def discwave_avg(points: ArrayLike, a: float, sampling: ArrayLike, delay: ArrayLike,
                 material: ArrayLike, n_intervals: float) -> NDArray[np.float64]:
    """Circular piston response averaged over each sampling interval.

    The piston and points of `discwave`, but each sample is the mean of the
    response over its sampling interval, ``[t - dt/2, t + dt/2]`` around
    the sample's time t, instead of the response at t. The plateau v cp is
    integrated exactly, the edge wave (v cp / pi) acos(q) with the
    trapezoidal rule over `n_intervals` intervals. The lower end of an
    interval is clamped at time zero while the mean still divides by the
    whole dt, and an interval that ends before time zero gives 0. Where the
    response changes faster than dt (near the axis, far from the piston)
    point samples miss it; the averages keep its time integral.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        Observation points, one ``[x, y, z]`` per row, in mm (one point may
        be given as ``[x, y, z]``).
    a : float
        Radius of the piston, in mm (a radius of 0 or less gives zeros).
    sampling : array_like, shape (2,)
        ``(dt, nt)``: the sampling period in us (finite, above 0) and the
        number of samples, truncated toward zero, not negative.
    delay : array_like
        Time of the first sample's centre, in us: one value for every
        point, or one per point (any shape, read in the order of
        ``np.ravel``).
    material : array_like, shape (2,)
        ``(v, cp)``: the normal velocity of the piston's surface in m/s
        and the sound speed in m/s.
    n_intervals : float
        Number of trapezoids for the edge wave in each interval, truncated
        toward zero (2.7 gives 2), at least 1.

    Returns
    -------
    ndarray of float64, shape (No, nt)
        The averaged response at each point, one point per row, in m^2/s^2
        (v times the spatial impulse response in m/s); time runs along axis
        1: ``H[i, k]`` is the mean over the interval centred on
        ``delay[i] + k * dt`` us.

    Raises
    ------
    TypeError
        An argument that is not an array of real numbers.
    ValueError
        An argument of a shape or value the module refuses: the module's
        message behind the parameter's name (``n_intervals: Number of
        intervals (argument 6) must be larger than one !``).

    See Also
    --------
    velk.discwave : The response sampled at the samples' times.
    velk.distributed.discwave_avg : The same over chunks of points on a cluster.

    Notes
    -----
    ``H[i]`` is column ``i + 1`` of Octave's
    ``discwave_avg(points, a, [dt nt], delay, [v cp], n_intervals)``, bit
    for bit.

    Examples
    --------
    >>> import velk
    >>> H = velk.discwave_avg([[0, 0, 32]], 1, (0.025, 100), 20, (1, 1500), 20)
    >>> H.shape
    (1, 100)
    >>> round(float(H.sum() * 0.025), 1)   # the time integral, m^2/s^2 us
    15.6
    """
    results, _ = call("discwave_avg", arg.points("points", points), arg.values("a", a),
                      arg.values("sampling", sampling), arg.values("delay", delay),
                      arg.values("material", material), arg.values("n_intervals", n_intervals))
    return results[0]



def platewave_avg(points: ArrayLike, size: ArrayLike, sampling: ArrayLike, delay: ArrayLike,
                  material: ArrayLike, n_intervals: float) -> NDArray[np.float64]:
    """Rectangular flat piston response averaged over each sampling interval.

    The piston and points of `platewave`, but each sample is the mean of the
    response over its sampling interval, ``[t - dt/2, t + dt/2]`` around the
    sample's time t, instead of the response at t. The plateaus are
    integrated exactly; each edge wave, split at the arrival times that fall
    inside the interval, in closed form but for a small smooth rest, which
    the two-point Gauss rule takes over `n_intervals` parts of each piece.
    The lower end of an interval is clamped at time zero while the mean
    still divides by the whole dt. Where an arrival is shorter than dt (a
    small element, a far point), point samples miss part of it; the averages
    keep its time integral. Like `platewave`'s, the response carries no
    factor v.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        Observation points, one ``[x, y, z]`` per row, in mm (one point may
        be given as ``[x, y, z]``).
    size : array_like, shape (2,)
        ``(width, height)``: the sides of the rectangle along x and along
        y, in mm.
    sampling : array_like, shape (2,)
        ``(dt, nt)``: the sampling period in us (finite, above 0) and the
        number of samples, truncated toward zero, not negative.
    delay : array_like
        Time of the first sample's centre, in us: one value for every point,
        or one per point (any shape, read in the order of ``np.ravel``).
    material : array_like, shape (2,)
        ``(v, cp)``: the normal velocity of the piston's surface in m/s (not
        used) and the sound speed in m/s (finite, above 0).
    n_intervals : float
        Parts of each piece for the edge waves' rest, truncated toward zero
        (2.7 gives 2), at least 1. The error against the exact mean falls
        as the fourth power of the parts: below 1e-5 of the peak with 1,
        1e-7 with 4.

    Returns
    -------
    ndarray of float64, shape (No, nt)
        The averaged response at each point, one point per row, in m/s;
        time runs along axis 1: ``H[i, k]`` is the mean over the interval
        centred on ``delay[i] + k * dt`` us. Summed over time (times dt in
        seconds), a row gives the integral of 1 / (2 pi R) over the piston's
        surface.

    Raises
    ------
    TypeError
        An argument that is not an array of real numbers.
    ValueError
        An argument of a shape or value the module refuses: the module's
        message behind the parameter's name (``n_intervals: Number of
        intervals (argument 6) must be larger than one !``).

    See Also
    --------
    velk.platewave : The same piston sampled at the sample times.
    velk.distributed.platewave_avg : The same over chunks of points on a
        cluster.

    Notes
    -----
    ``H[i]`` is column ``i + 1`` of Octave's ``platewave_avg(points, [width
    height], [dt nt], delay, [v cp], n_intervals)``, bit for bit.

    Examples
    --------
    >>> import velk
    >>> H = velk.platewave_avg([[0, 0, 20]], (0.3, 5), (0.05, 200), 12, (1, 1500), 4)
    >>> H.shape
    (1, 200)
    >>> round(float(H.sum() * 0.05e-6) * 1e6, 4)   # the time integral, um
    11.9056
    """
    results, _ = call("platewave_avg", arg.points("points", points), arg.values("size", size),
                      arg.values("sampling", sampling), arg.values("delay", delay),
                      arg.values("material", material), arg.values("n_intervals", n_intervals))
    return results[0]
