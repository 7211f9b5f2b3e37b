"""Arrays of pistons: their fields, their elements' centres, and the pressure
of a field."""
from typing import Literal, Optional, SupportsIndex, Tuple, Union

import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _arguments as arg
from ._call import call

# An option: its keyword alone, or a tuple of the keyword and its values.
Focus = Union[Literal["off"], Tuple[Literal["x", "y", "xy", "x+y"], float],
              Tuple[Literal["ud"], ArrayLike]]
Steer = Union[Literal["off"], Tuple[Literal["x", "y"], float], Tuple[Literal["xy"], float, float]]
Apod = Union[Literal["off", "triangle", "simply", "clamped"],
             Tuple[Literal["gauss", "raised"], float], Tuple[Literal["ud"], ArrayLike]]


def _array(module: str, points: ArrayLike, elements: ArrayLike, shape: arg.Named,
           sampling: ArrayLike, delay: ArrayLike, material: ArrayLike, focus: object,
           steer: object, apod: object, intervals: int,
           threads: Optional[SupportsIndex]) -> NDArray[np.float64]:
    results, _ = call(module, arg.points("points", points), arg.points("elements", elements),
                      shape, arg.values("sampling", sampling), arg.values("delay", delay),
                      arg.values("material", material), arg.option("focus", focus),
                      arg.option("steer", steer), arg.option("apod", apod),
                      arg.values("intervals", intervals), arg.threads(threads))
    return results[0]


def platewave_array(points: ArrayLike, elements: ArrayLike, size: ArrayLike, sampling: ArrayLike,
                    delay: ArrayLike, material: ArrayLike, *, focus: Focus = "off",
                    steer: Steer = "off", apod: Apod = "off", intervals: int = 0,
                    threads: Optional[SupportsIndex] = None) -> NDArray[np.float64]:
    """Spatial impulse response of an array of rectangular pistons.

    The sum over the elements of each one's weight times its response
    (`platewave`'s, or `platewave_avg`'s with ``intervals >= 1``, seen from
    its centre) delayed by its fire time, computed exactly at the shifted
    times. Every element is a rectangle `size` facing +z in a plane parallel
    to z = 0. Arrays are described about the origin: the focusing and
    steering delays and the windows are those of an array centred on it.
    Only each element's band (its first to last arrival at a point) is
    computed, so the cost grows with the points, the elements and the band,
    not with nt.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        Observation points, one ``[x, y, z]`` per row, in mm.
    elements : array_like, shape (Ne, 3)
        The elements' centres, one ``[x, y, z]`` per row, in mm (Ne >= 1;
        `linear_array` and `matrix_array` make them).
    size : array_like, shape (2,)
        ``(width, height)`` of every element along x and y, in mm.
    sampling : array_like, shape (2,)
        ``(dt, nt)``: the sampling period in us (finite, above 0) and the
        number of samples, truncated toward zero.
    delay : array_like
        Time of the first sample, in us: one value for every point, or one
        per point.
    material : array_like, shape (2,)
        ``(v, cp)``: the normal velocity in m/s (not used, as in
        `platewave`) and the sound speed in m/s (finite, above 0).
    focus : str or tuple
        ``"off"``, ``("x", F)``, ``("y", F)``, ``("xy", F)`` (radial) or
        ``("x+y", F)`` with the focal depth F in mm, or ``("ud", delays)``
        with one fire time per element in us.
    steer : str or tuple
        ``"off"``, ``("x", theta)``, ``("y", phi)`` or ``("xy", theta,
        phi)``, in degrees.
    apod : str or tuple
        ``"off"`` (every weight 1), ``("ud", weights)``, or a window of the
        element's distance from the origin over the array's extent:
        ``"triangle"``, ``("gauss", p)``, ``("raised", p)``, ``"simply"``,
        ``"clamped"``.
    intervals : int
        0 for point samples, or the parts of each piece for the means over
        the sampling intervals.
    threads : int, optional
        Worker threads (default: every core); the result is the same for
        any count.

    Returns
    -------
    ndarray of float64, shape (No, nt)
        The array's response at each point, one point per row, in m/s;
        time runs along axis 1: ``H[i, k]`` is the sample at
        ``delay[i] + k * dt`` us.

    Raises
    ------
    TypeError
        An argument that is not an array of real numbers, or an option that
        is not a str or a tuple of a str and its values.
    ValueError
        An argument of a shape or value the module refuses: the module's
        message behind the parameter's name (``focus: Argument 7 must hold a
        finite focal depth!``).
    KeyboardInterrupt
        Ctrl-C, once each thread has finished its current points.

    See Also
    --------
    velk.discwave_array : The same with circular elements.
    velk.linear_array : The centres of a linear array.
    velk.pressure : The pressure of a field for an excitation.

    Notes
    -----
    ``H[i]`` is column ``i + 1`` of Octave's ``platewave_array(points,
    elements, [width height], [dt nt], delay, [v cp], focus, steer, apod,
    intervals, threads)``, bit for bit, with the options as cells
    (``{"x", F}``); that is the loop over the elements that its help gives.

    Examples
    --------
    >>> import velk
    >>> elements = velk.linear_array(64, 0.3)
    >>> H = velk.platewave_array([[0, 0, 30]], elements, (0.27, 5), (0.01, 400), 17.5,
    ...                          (1, 1540), focus=("x", 30.0), apod=("gauss", 1.0))
    >>> H.shape
    (1, 400)
    """
    return _array("platewave_array", points, elements, arg.values("size", size), sampling,
                  delay, material, focus, steer, apod, intervals, threads)


def discwave_array(points: ArrayLike, elements: ArrayLike, a: float, sampling: ArrayLike,
                   delay: ArrayLike, material: ArrayLike, *, focus: Focus = "off",
                   steer: Steer = "off", apod: Apod = "off", intervals: int = 0,
                   threads: Optional[SupportsIndex] = None) -> NDArray[np.float64]:
    """Spatial impulse response of an array of circular pistons.

    As `platewave_array`, with circular elements of radius `a` (the
    responses of `discwave`, or of `discwave_avg` with ``intervals >= 1``),
    which carry the factor v.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        Observation points, one ``[x, y, z]`` per row, in mm.
    elements : array_like, shape (Ne, 3)
        The elements' centres, one ``[x, y, z]`` per row, in mm (Ne >= 1).
    a : float
        The radius of every element, in mm.
    sampling : array_like, shape (2,)
        ``(dt, nt)``: the sampling period in us (finite, above 0) and the
        number of samples, truncated toward zero.
    delay : array_like
        Time of the first sample, in us: one value for every point, or one
        per point.
    material : array_like, shape (2,)
        ``(v, cp)``: the normal velocity in m/s and the sound speed in m/s
        (finite, above 0).
    focus : str or tuple
        The focusing, as for `platewave_array`.
    steer : str or tuple
        The steering, as for `platewave_array`.
    apod : str or tuple
        The apodization, as for `platewave_array`.
    intervals : int
        0 for point samples, or the trapezoids of the means over the
        sampling intervals.
    threads : int, optional
        Worker threads (default: every core).

    Returns
    -------
    ndarray of float64, shape (No, nt)
        The array's response at each point, one point per row, in m^2/s^2
        (v times the spatial impulse response in m/s); time runs along
        axis 1.

    Raises
    ------
    TypeError
        An argument that is not an array of real numbers, or an option of
        the wrong kind.
    ValueError
        An argument of a shape or value the module refuses, with the
        module's message behind the parameter's name.
    KeyboardInterrupt
        Ctrl-C, once each thread has finished its current points.

    See Also
    --------
    velk.platewave_array : The same with rectangular elements.
    velk.matrix_array : The centres of a matrix array.

    Notes
    -----
    ``H[i]`` is column ``i + 1`` of Octave's ``discwave_array(points,
    elements, a, [dt nt], delay, [v cp], focus, steer, apod, intervals,
    threads)``, bit for bit.

    Examples
    --------
    >>> import velk
    >>> H = velk.discwave_array([[0, 0, 15]], velk.matrix_array(8, 8, 1.0, 1.0), 0.45,
    ...                         (0.01, 300), 8.5, (1, 1540), focus=("xy", 15.0))
    >>> H.shape
    (1, 300)
    """
    return _array("discwave_array", points, elements, arg.values("a", a), sampling, delay,
                  material, focus, steer, apod, intervals, threads)


def linear_array(n: SupportsIndex, pitch: float) -> NDArray[np.float64]:
    """Element centres of a linear array, centred on the origin.

    The elements lie along x in the plane z = 0, as the array functions
    (`platewave_array`, `discwave_array`) take them.

    Parameters
    ----------
    n : int
        Number of elements, at least 1.
    pitch : float
        Distance between neighbouring centres along x, in mm.

    Returns
    -------
    ndarray of float64, shape (n, 3)
        Row i is ``[(i - (n - 1) / 2) * pitch, 0, 0]``, in mm.

    Raises
    ------
    ValueError
        n below 1 or a pitch that is not finite.

    See Also
    --------
    velk.matrix_array : A matrix array's centres.

    Notes
    -----
    The same as Octave's ``linear_array(n, pitch)``.

    Examples
    --------
    >>> import velk
    >>> velk.linear_array(3, 0.5)
    array([[-0.5,  0. ,  0. ],
           [ 0. ,  0. ,  0. ],
           [ 0.5,  0. ,  0. ]])
    """
    count = int(n)
    if count < 1 or not np.isfinite(pitch):
        raise ValueError(f"linear_array needs n >= 1 and a finite pitch, not {n}, {pitch}")
    x = (np.arange(1, count + 1) - (count + 1) / 2) * float(pitch)
    return np.column_stack([x, np.zeros(count), np.zeros(count)])


def matrix_array(nx: SupportsIndex, ny: SupportsIndex, pitch_x: float,
                 pitch_y: float) -> NDArray[np.float64]:
    """Element centres of a matrix array, centred on the origin.

    The elements lie on a grid in the plane z = 0, as the array functions
    take them.

    Parameters
    ----------
    nx, ny : int
        Numbers of elements along x and along y, each at least 1.
    pitch_x, pitch_y : float
        Distances between neighbouring centres along x and along y, in mm.

    Returns
    -------
    ndarray of float64, shape (nx * ny, 3)
        The centres in mm, x running fastest: row ``i + nx * j`` is element
        (i, j).

    Raises
    ------
    ValueError
        A count below 1 or a pitch that is not finite.

    See Also
    --------
    velk.linear_array : A linear array's centres.

    Notes
    -----
    The same as Octave's ``matrix_array(nx, ny, pitch_x, pitch_y)``.

    Examples
    --------
    >>> import velk
    >>> velk.matrix_array(2, 2, 1.0, 2.0)[:, :2]
    array([[-0.5, -1. ],
           [ 0.5, -1. ],
           [-0.5,  1. ],
           [ 0.5,  1. ]])
    """
    x, y = linear_array(nx, pitch_x)[:, 0], linear_array(ny, pitch_y)[:, 0]
    X, Y = np.meshgrid(x, y, indexing="xy")
    return np.column_stack([X.ravel(), Y.ravel(), np.zeros(X.size)])


def pressure(H: ArrayLike, pulse: ArrayLike, dt: float, rho: float) -> NDArray[np.float64]:
    """Pressure from spatial impulse responses and the surface's velocity.

    p(t) = rho d/dt (v * h)(t) at each point: the convolution taken as the
    sum of the products times dt, the derivative as the central difference
    (one-sided at the ends), so the pressure has the samples of `H`.

    Parameters
    ----------
    H : array_like, shape (No, nt)
        Spatial impulse responses, one point per row, in m/s; time runs
        along axis 1.
    pulse : array_like, shape (n,)
        The surface's normal velocity, in m/s, sampled every dt from time 0.
    dt : float
        Sampling period, in us.
    rho : float
        Density of the medium, in kg/m^3.

    Returns
    -------
    ndarray of float64, shape (No, nt)
        The pressure at each point, in Pa, at the times of `H`'s samples.

    Raises
    ------
    ValueError
        A pulse that is not one-dimensional or a sampling period that is not
        above 0.

    See Also
    --------
    velk.platewave_array : A field to take the pressure of.

    Notes
    -----
    The same arithmetic as Octave's ``pressure(H.', pulse, dt, rho).'``.

    Examples
    --------
    >>> import numpy as np, velk
    >>> H = velk.platewave([[0, 0, 5]], (100, 100), (0.01, 2000), 0, (1, 1500))
    >>> p = velk.pressure(H, np.ones(2000), 0.01, 1000)
    >>> round(float(p[0, 800]))   # rho c v behind the plane wave's front
    1500000
    """
    from .parallel import fold

    h = np.atleast_2d(np.asarray(H, dtype=np.float64))
    v = np.asarray(pulse, dtype=np.float64)
    if v.ndim != 1 or not dt > 0:
        raise ValueError("pressure needs a one-dimensional pulse and dt above 0")
    T = dt / 1e6
    phi = fold(h, v, threads=1)[:, :h.shape[1]] * T
    p = np.zeros_like(h)
    if h.shape[1] > 1:
        p[:, 1:-1] = (phi[:, 2:] - phi[:, :-2]) / (2 * T)
        p[:, 0] = (phi[:, 1] - phi[:, 0]) / T
        p[:, -1] = (phi[:, -1] - phi[:, -2]) / T
    return rho * p
