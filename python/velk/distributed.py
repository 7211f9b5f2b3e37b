"""The point-wise modules over chunks of points, on a Dask cluster or on
this machine's threads.

Each observation point is computed on its own, so a job over many points
splits into chunks of points computed anywhere, and the chunks' results put
end to end are, bit for bit, the result of one call over all the points.

    import velk.distributed
    image = velk.distributed.echofocus(scans, positions, delay, dt, cp, points, width,
                                       client=client)

map_points(fn, points) runs any function of a (count, 3) array of points
whose result has one row per point; the other functions are the package's
point-wise functions in that form, with the same arguments and results.

How a job runs: one Dask graph whose tasks each call fn on one chunk. On a
cluster (client: a distributed.Client), fn, with every array it holds (the
A-scans of a focusing job), is first scattered to every worker once
(scatter with broadcast=True) and each task receives it from its worker's
memory: only the chunk's points travel with a task. Without a client, the
same graph runs on Dask's local threaded scheduler, one task per core at a
time (the modules give up the interpreter lock while they compute).

pulse_echo splits the scatterers instead: its chunks' channel data are
added up the tree of a pairwise sum in chunk order, so a given chunking
gives the same bits anywhere (with attenuation, within the last bits of
the transform plan each process times).

A job that lasts more than a second shows Dask's progress bar. Ctrl-C
cancels the job's pending tasks and raises KeyboardInterrupt. A chunk that
raises fails the job with its exception, and the job's other tasks are
cancelled. On a cluster, a chunk whose worker dies is computed again on
another (Dask's scheduler retries a task up to its allowed-failures).
"""
import contextlib
import functools
import uuid
import warnings
from typing import (TYPE_CHECKING, Any, Callable, ContextManager, Hashable, Optional,
                    Sequence, SupportsIndex, TypeVar)

import numpy as np
from numpy.typing import ArrayLike, NDArray

import dask
import dask.threaded
from dask.diagnostics.progress import ProgressBar

from . import _arguments as arg
from . import arrays, attenuation, imaging, reconstruction, simulation, transducer

if TYPE_CHECKING:
    from distributed import Client

# Points per chunk: about 72 ms of a focusing job with 400 A-scans per
# point on one core, against about 3 ms of scheduling per chunk and 0.2 us
# per point of transfer (bench/distributed_bench.py); small enough that a
# job of a few million points spreads over many workers.
DEFAULT_CHUNK_POINTS = 20000

# A job shorter than this shows no progress bar.
PROGRESS_AFTER_SECONDS = 1.0

_Result = TypeVar("_Result")


def map_points(fn: Callable[..., Any], points: ArrayLike, *,
               client: Optional["Client"] = None, chunk_points: Optional[SupportsIndex] = None,
               per_point: Sequence[ArrayLike] = (), progress: bool = True) -> NDArray[Any]:
    """Compute a function of points over chunks of them, on a cluster or locally.

    The points are split into chunks of `chunk_points` rows, `fn` is called
    on each chunk as a task of one Dask graph, and the chunks' results are
    put end to end. On a cluster, `fn` with every array it holds (the
    A-scans of a focusing job) is scattered to every worker once and only
    the chunks' points travel with the tasks; without one, the graph runs
    on Dask's local threaded scheduler, one task per core at a time.

    Parameters
    ----------
    fn : callable
        A function of a ``(k, 3)`` array of points (and of the chunks of
        `per_point`) that returns an array with one row per point, of shape
        ``(k, ...)``. On a cluster it must pickle (a module-level function,
        a ``functools.partial``, a lambda).
    points : array_like, shape (No, 3)
        The points, one ``[x, y, z]`` per row.
    client : distributed.Client, optional
        The cluster the job runs on; None: this machine's threads through
        Dask's local scheduler.
    chunk_points : int, optional
        Points per chunk, at least 1 (default `DEFAULT_CHUNK_POINTS`).
    per_point : sequence of array_like
        Arrays with one row per point, split with the points: `fn` is
        called as ``fn(chunk, *their chunks)``.
    progress : bool
        Dask's progress bar for a job that lasts more than
        `PROGRESS_AFTER_SECONDS`.

    Returns
    -------
    ndarray
        The chunks' results concatenated along axis 0: bit for bit
        ``fn(points, *per_point)``, for an `fn` whose every row depends only
        on its own point.

    Raises
    ------
    ValueError
        A result without one row per point, `per_point` arrays without one
        row per point, or `chunk_points` below 1.
    KeyboardInterrupt
        Ctrl-C, which cancels the job's pending tasks.
    Exception
        The exception of a chunk that raised, which fails the job and
        cancels its other tasks.

    See Also
    --------
    velk.distributed.echofocus : Focusing over chunks of image points.

    Notes
    -----
    A chunk whose worker dies is computed again on another (Dask's
    scheduler retries a task up to its allowed failures).

    Examples
    --------
    >>> import numpy as np, velk, velk.distributed
    >>> P = np.c_[np.zeros((5, 2)), np.arange(10, 15)]
    >>> R = velk.distributed.map_points(lambda p: np.hypot(p[:, 0], p[:, 2]), P, chunk_points=2)
    >>> R.tolist()
    [10.0, 11.0, 12.0, 13.0, 14.0]
    """
    return np.concatenate(_computed_chunks(fn, points, client, chunk_points, per_point,
                                           progress))


def echofocus(scans: ArrayLike, positions: ArrayLike, delay: ArrayLike, dt: float, cp: float,
              points: ArrayLike, width: float, *, threads: SupportsIndex = 1,
              client: Optional["Client"] = None, chunk_points: Optional[SupportsIndex] = None,
              progress: bool = True) -> NDArray[np.float64]:
    """Synthetic aperture focusing over chunks of the image points.

    `velk.echofocus` computed by `map_points`: the A-scans reach each
    worker once, the image points are split into chunks.

    Parameters
    ----------
    scans, positions, delay : array_like
        As for `velk.echofocus`: the A-scans, one per row; the transducer
        positions, in mm; the delay, in us.
    dt, cp : float
        As for `velk.echofocus`: the sampling period, in us; the sound
        speed, in m/s.
    points : array_like, shape (No, 3)
        The image points, one ``[x, y, z]`` per row, in mm; split into
        chunks.
    width : float
        As for `velk.echofocus`: the aperture width, in mm.
    threads : int
        The module's threads per chunk (default 1: the cluster's worker
        threads, or the local scheduler's one per core, already fill the
        cores).
    client : distributed.Client, optional
        As for `map_points`.
    chunk_points : int, optional
        As for `map_points`.
    progress : bool
        As for `map_points`.

    Returns
    -------
    ndarray of float64, shape (No,)
        The image that `velk.echofocus` returns, bit for bit.

    Raises
    ------
    TypeError, ValueError, MemoryError
        As for `velk.echofocus`, raised by the chunk that failed.
    KeyboardInterrupt
        Ctrl-C, which cancels the job's pending tasks.

    See Also
    --------
    velk.echofocus : The same in one call.
    map_points : How the job runs.

    Examples
    --------
    >>> import numpy as np, velk.distributed
    >>> scans = np.ones((3, 100))
    >>> velk.distributed.echofocus(scans, [[-1, 0, 0], [0, 0, 0], [1, 0, 0]], 0, 0.1, 1500,
    ...                            [[0, 0, 3], [5, 0, 3]], 4, chunk_points=1)
    array([3., 0.])
    """
    def focus(chunk: NDArray[np.float64]) -> NDArray[np.float64]:
        return reconstruction.echofocus(scans, positions, delay, dt, cp, chunk, width,
                                        threads=threads)
    return map_points(focus, points, client=client, chunk_points=chunk_points,
                      progress=progress)


def discwave(points: ArrayLike, a: float, sampling: ArrayLike, delay: ArrayLike,
             material: ArrayLike, *, client: Optional["Client"] = None,
             chunk_points: Optional[SupportsIndex] = None,
             progress: bool = True) -> NDArray[np.float64]:
    """Spatial impulse response of a circular piston over chunks of points.

    `velk.discwave` computed by `map_points`; a delay given per point is
    split with the points.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        As for `velk.discwave`: the points, in mm; split into chunks.
    a : float
        As for `velk.discwave`: the radius, in mm.
    sampling, delay, material : array_like
        As for `velk.discwave`: ``(dt, nt)``, dt in us; the delay, in us,
        split with the points when given per point; ``(v, cp)``, in m/s.
    client : distributed.Client, optional
        As for `map_points`.
    chunk_points : int, optional
        As for `map_points`.
    progress : bool
        As for `map_points`.

    Returns
    -------
    ndarray of float64, shape (No, nt)
        What `velk.discwave` returns, in m^2/s^2, bit for bit.

    Raises
    ------
    TypeError, ValueError
        As for `velk.discwave`.

    See Also
    --------
    velk.discwave : The same in one call.
    map_points : How the job runs.

    Examples
    --------
    >>> import velk.distributed
    >>> H = velk.distributed.discwave([[0, 0, 20], [8, 0, 20]], 5, (0.025, 800), [12, 12.5],
    ...                               (1, 1500), chunk_points=1)
    >>> H.shape
    (2, 800)
    """
    return _per_point_job(transducer.discwave, points, delay, (a, sampling), (material,),
                          client, chunk_points, progress)


def platewave(points: ArrayLike, size: ArrayLike, sampling: ArrayLike, delay: ArrayLike,
              material: ArrayLike, *, client: Optional["Client"] = None,
              chunk_points: Optional[SupportsIndex] = None,
              progress: bool = True) -> NDArray[np.float64]:
    """Spatial impulse response of a rectangular piston over chunks of points.

    `velk.platewave` computed by `map_points`; a delay given per point is
    split with the points.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        As for `velk.platewave`: the points, in mm; split into chunks.
    size, sampling, delay, material : array_like
        As for `velk.platewave`: ``(width, height)``, in mm; ``(dt, nt)``,
        dt in us; the delay, in us, split with the points when given per
        point; ``(v, cp)``, in m/s.
    client : distributed.Client, optional
        As for `map_points`.
    chunk_points : int, optional
        As for `map_points`.
    progress : bool
        As for `map_points`.

    Returns
    -------
    ndarray of float64, shape (No, nt)
        What `velk.platewave` returns, in m/s, bit for bit.

    Raises
    ------
    TypeError, ValueError
        As for `velk.platewave`.

    See Also
    --------
    velk.platewave : The same in one call.
    map_points : How the job runs.

    Examples
    --------
    >>> import velk.distributed
    >>> H = velk.distributed.platewave([[0, 0, 20], [3, 2, 20]], (10, 6), (0.025, 600), 12,
    ...                                (1, 1500), chunk_points=1)
    >>> H.shape
    (2, 600)
    """
    return _per_point_job(transducer.platewave, points, delay, (size, sampling), (material,),
                          client, chunk_points, progress)


def discwave_avg(points: ArrayLike, a: float, sampling: ArrayLike, delay: ArrayLike,
                 material: ArrayLike, n_intervals: float, *, client: Optional["Client"] = None,
                 chunk_points: Optional[SupportsIndex] = None,
                 progress: bool = True) -> NDArray[np.float64]:
    """Circular piston response averaged over each interval, over chunks of points.

    `velk.discwave_avg` computed by `map_points`; a delay given per point
    is split with the points.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        As for `velk.discwave_avg`: the points, in mm; split into chunks.
    a : float
        As for `velk.discwave_avg`: the radius, in mm.
    sampling, delay, material : array_like
        As for `velk.discwave_avg`: ``(dt, nt)``, dt in us; the delay, in
        us, split with the points when given per point; ``(v, cp)``, in
        m/s.
    n_intervals : float
        As for `velk.discwave_avg`: the trapezoids per interval.
    client : distributed.Client, optional
        As for `map_points`.
    chunk_points : int, optional
        As for `map_points`.
    progress : bool
        As for `map_points`.

    Returns
    -------
    ndarray of float64, shape (No, nt)
        What `velk.discwave_avg` returns, in m^2/s^2, bit for bit.

    Raises
    ------
    TypeError, ValueError
        As for `velk.discwave_avg`.

    See Also
    --------
    velk.discwave_avg : The same in one call.
    map_points : How the job runs.

    Examples
    --------
    >>> import velk.distributed
    >>> H = velk.distributed.discwave_avg([[0, 0, 32], [1, 0, 32]], 1, (0.025, 100), 20,
    ...                                   (1, 1500), 20, chunk_points=1)
    >>> H.shape
    (2, 100)
    """
    return _per_point_job(transducer.discwave_avg, points, delay, (a, sampling),
                          (material, n_intervals), client, chunk_points, progress)


def platewave_avg(points: ArrayLike, size: ArrayLike, sampling: ArrayLike, delay: ArrayLike,
                  material: ArrayLike, n_intervals: float, *, client: Optional["Client"] = None,
                  chunk_points: Optional[SupportsIndex] = None,
                  progress: bool = True) -> NDArray[np.float64]:
    """Rectangular piston response averaged over each interval, over chunks of points.

    `velk.platewave_avg` computed by `map_points`; a delay given per point
    is split with the points.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        As for `velk.platewave_avg`: the points, in mm; split into chunks.
    size, sampling, delay, material : array_like
        As for `velk.platewave_avg`: ``(width, height)``, in mm; ``(dt,
        nt)``, dt in us; the delay, in us, split with the points when given
        per point; ``(v, cp)``, in m/s.
    n_intervals : float
        As for `velk.platewave_avg`: the parts of each piece.
    client : distributed.Client, optional
        As for `map_points`.
    chunk_points : int, optional
        As for `map_points`.
    progress : bool
        As for `map_points`.

    Returns
    -------
    ndarray of float64, shape (No, nt)
        What `velk.platewave_avg` returns, in m/s, bit for bit.

    Raises
    ------
    TypeError, ValueError
        As for `velk.platewave_avg`.

    See Also
    --------
    velk.platewave_avg : The same in one call.
    map_points : How the job runs.

    Examples
    --------
    >>> import velk.distributed
    >>> H = velk.distributed.platewave_avg([[0, 0, 20], [1, 0, 20]], (0.3, 5), (0.05, 200),
    ...                                    12, (1, 1500), 4, chunk_points=1)
    >>> H.shape
    (2, 200)
    """
    return _per_point_job(transducer.platewave_avg, points, delay, (size, sampling),
                          (material, n_intervals), client, chunk_points, progress)


def platewave_array(points: ArrayLike, elements: ArrayLike, size: ArrayLike,
                    sampling: ArrayLike, delay: ArrayLike, material: ArrayLike, *,
                    focus: "arrays.Focus" = "off", steer: "arrays.Steer" = "off",
                    apod: "arrays.Apod" = "off", intervals: int = 0,
                    threads: Optional[SupportsIndex] = 1, client: Optional["Client"] = None,
                    chunk_points: Optional[SupportsIndex] = None,
                    progress: bool = True) -> NDArray[np.float64]:
    """Spatial impulse response of an array of rectangular pistons, over chunks of points.

    `velk.platewave_array` computed by `map_points`; a delay given per
    point is split with the points.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        As for `velk.platewave_array`: the points, in mm; split into chunks.
    elements, size, sampling, delay, material : array_like
        As for `velk.platewave_array`: the centres, in mm; ``(width,
        height)``, in mm; ``(dt, nt)``, dt in us; the delay, in us, split
        with the points when given per point; ``(v, cp)``, in m/s.
    focus, steer, apod : str or tuple
        As for `velk.platewave_array`.
    intervals : int
        As for `velk.platewave_array`.
    threads : int, optional
        The module's threads per chunk (default 1: the cluster's workers,
        or the local scheduler's one per core, fill the cores).
    client : distributed.Client, optional
        As for `map_points`.
    chunk_points : int, optional
        As for `map_points`.
    progress : bool
        As for `map_points`.

    Returns
    -------
    ndarray of float64, shape (No, nt)
        What `velk.platewave_array` returns, in m/s, bit for bit.

    Raises
    ------
    TypeError, ValueError
        As for `velk.platewave_array`.

    See Also
    --------
    velk.platewave_array : The same in one call.
    map_points : How the job runs.

    Examples
    --------
    >>> import velk, velk.distributed
    >>> H = velk.distributed.platewave_array([[0, 0, 20], [1, 0, 20]], velk.linear_array(8, 0.3),
    ...                                      (0.27, 5), (0.02, 200), 12, (1, 1540),
    ...                                      focus=("x", 20.0), chunk_points=1)
    >>> H.shape
    (2, 200)
    """
    function = functools.partial(arrays.platewave_array, focus=focus, steer=steer, apod=apod,
                                 intervals=intervals, threads=threads)
    return _per_point_job(function, points, delay, (elements, size, sampling), (material,),
                          client, chunk_points, progress)


def discwave_array(points: ArrayLike, elements: ArrayLike, a: float, sampling: ArrayLike,
                   delay: ArrayLike, material: ArrayLike, *, focus: "arrays.Focus" = "off",
                   steer: "arrays.Steer" = "off", apod: "arrays.Apod" = "off",
                   intervals: int = 0, threads: Optional[SupportsIndex] = 1,
                   client: Optional["Client"] = None,
                   chunk_points: Optional[SupportsIndex] = None,
                   progress: bool = True) -> NDArray[np.float64]:
    """Spatial impulse response of an array of circular pistons, over chunks of points.

    `velk.discwave_array` computed by `map_points`; a delay given per point
    is split with the points.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        As for `velk.discwave_array`: the points, in mm; split into chunks.
    elements : array_like, shape (Ne, 3)
        As for `velk.discwave_array`: the centres, in mm.
    a : float
        As for `velk.discwave_array`: the radius, in mm.
    sampling, delay, material : array_like
        As for `velk.discwave_array`: ``(dt, nt)``, dt in us; the delay, in
        us, split with the points when given per point; ``(v, cp)``, in m/s.
    focus, steer, apod : str or tuple
        As for `velk.discwave_array`.
    intervals : int
        As for `velk.discwave_array`.
    threads : int, optional
        The module's threads per chunk (default 1).
    client : distributed.Client, optional
        As for `map_points`.
    chunk_points : int, optional
        As for `map_points`.
    progress : bool
        As for `map_points`.

    Returns
    -------
    ndarray of float64, shape (No, nt)
        What `velk.discwave_array` returns, in m^2/s^2, bit for bit.

    Raises
    ------
    TypeError, ValueError
        As for `velk.discwave_array`.

    See Also
    --------
    velk.discwave_array : The same in one call.
    map_points : How the job runs.

    Examples
    --------
    >>> import velk, velk.distributed
    >>> H = velk.distributed.discwave_array([[0, 0, 15]], velk.matrix_array(4, 4, 1.0, 1.0),
    ...                                     0.45, (0.02, 200), 8.5, (1, 1540), chunk_points=1)
    >>> H.shape
    (1, 200)
    """
    function = functools.partial(arrays.discwave_array, focus=focus, steer=steer, apod=apod,
                                 intervals=intervals, threads=threads)
    return _per_point_job(function, points, delay, (elements, a, sampling), (material,),
                          client, chunk_points, progress)


def damp(points: ArrayLike, sampling: ArrayLike, delay: ArrayLike, medium: ArrayLike, *,
         client: Optional["Client"] = None, chunk_points: Optional[SupportsIndex] = None,
         progress: bool = True) -> NDArray[np.float64]:
    """Impulse response of an attenuating medium over chunks of points.

    `velk.damp` computed by `map_points`; a delay given per point is split
    with the points.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        As for `velk.damp`: the points, in mm; split into chunks.
    sampling, delay, medium : array_like
        As for `velk.damp`: ``(dt, nt)``, dt in us; the delay, in us, split
        with the points when given per point; ``(cp, alpha)``, in m/s and
        dB/(cm MHz).
    client : distributed.Client, optional
        As for `map_points`.
    chunk_points : int, optional
        As for `map_points`.
    progress : bool
        As for `map_points`.

    Returns
    -------
    ndarray of float64, shape (No, nt)
        What `velk.damp` returns, dimensionless. Computed in one process,
        the same bits; the transform is planned by timing in each process,
        so a chunk computed in another process may differ in the last bit.

    Raises
    ------
    TypeError, ValueError, MemoryError
        As for `velk.damp`.

    See Also
    --------
    velk.damp : The same in one call.
    map_points : How the job runs.

    Examples
    --------
    >>> import velk.distributed
    >>> H = velk.distributed.damp([[0, 0, 30], [0, 0, 60]], (0.025, 256), [18, 38],
    ...                           (1500, 0.5), chunk_points=1)
    >>> H.shape
    (2, 256)
    """
    return _per_point_job(attenuation.damp, points, delay, (sampling,), (medium,),
                          client, chunk_points, progress)


def lagsum(points: ArrayLike, sampling: ArrayLike, delay: ArrayLike, cp: float,
           level: reconstruction.Level, *, client: Optional["Client"] = None,
           chunk_points: Optional[SupportsIndex] = None,
           progress: bool = True) -> reconstruction.LagsumResult:
    """Delay-and-sum impulse response over chunks of points.

    `velk.lagsum` computed by `map_points`; a delay given per point is
    split with the points. Under "warn" the chunks' reports are emitted
    here, in the order of the points.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        As for `velk.lagsum`: the points, in mm; split into chunks.
    sampling, delay : array_like
        As for `velk.lagsum`: ``(dt, nt)``, dt in us; the delay, in us,
        split with the points when given per point.
    cp : float
        As for `velk.lagsum`: the sound speed, in m/s.
    level : {"stop", "warn", "ignore"}
        As for `velk.lagsum`.
    client : distributed.Client, optional
        As for `map_points`.
    chunk_points : int, optional
        As for `map_points`.
    progress : bool
        As for `map_points`.

    Returns
    -------
    response : ndarray of float64, shape (No, nt)
        As `velk.lagsum` returns it, bit for bit.
    status : int
        As `velk.lagsum` returns it.

    Raises
    ------
    velk.OutOfBoundsError
        Under "stop", a travel time outside its window: the job fails with
        the module's report.
    TypeError, ValueError
        As for `velk.lagsum`.

    Warns
    -----
    velk.OutOfBoundsWarning
        Under "warn", one for each travel time outside its window.

    See Also
    --------
    velk.lagsum : The same in one call.
    map_points : How the job runs.

    Examples
    --------
    >>> import velk.distributed
    >>> H, status = velk.distributed.lagsum([[0, 0, 15], [0, 0, 30]], (0.1, 300), 0, 1500,
    ...                                     "stop", chunk_points=1)
    >>> [int(h.argmax()) for h in H], status
    ([100, 200], 0)
    """
    def run(chunk: NDArray[np.float64], *delay_chunk: NDArray[np.float64]
            ) -> tuple[NDArray[np.float64], int, list[str]]:
        return reconstruction.lagsum_with_reports(
            chunk, sampling, delay_chunk[0] if delay_chunk else delay, cp, level)

    chunks = _per_point_chunks(run, points, delay, client, chunk_points, progress)
    if chunks is None:                       # refused as the one call refuses it
        return reconstruction.lagsum(points, sampling, delay, cp, level)
    for _, _, reports in chunks:
        for report in reports:
            warnings.warn(report, reconstruction.OutOfBoundsWarning, stacklevel=2)
    statuses = [status for _, status, _ in chunks if status != 0]
    return reconstruction.LagsumResult(np.concatenate([H for H, _, _ in chunks]),
                                       statuses[0] if statuses else 0)


def beamform(data: ArrayLike, probe: "simulation.Probe", events: "simulation.Events", t0: float,
             dt: float, cp: float, points: ArrayLike, *, client: Optional["Client"] = None,
             chunk_points: Optional[SupportsIndex] = None, progress: bool = True,
             **options: Any) -> NDArray[np.generic]:
    """Delay-and-sum imaging over chunks of the image points.

    `velk.beamform` computed by `map_points`: the channel data reach each
    worker once, the image points are split into chunks.

    Parameters
    ----------
    data : array_like, shape (n_events, n_rx, nt)
        As for `velk.beamform`: the channel data.
    probe : Probe
        As for `velk.beamform`: the probe, its centres in mm.
    events : Events
        As for `velk.beamform`: the transmit events.
    t0, dt : float
        As for `velk.beamform`: the time of the first sample and the
        sampling period, in us.
    cp : float
        As for `velk.beamform`: the sound speed, in m/s.
    points : array_like, shape (No, 3)
        The image points, one ``[x, y, z]`` per row, in mm; split into
        chunks.
    client : distributed.Client, optional
        As for `map_points`.
    chunk_points : int, optional
        As for `map_points`.
    progress : bool
        As for `map_points`.
    **options
        The options of `velk.beamform` (interpolation, f_number, window,
        tx_window, compound, fd, threads; threads 1 by default, as the
        cluster's worker threads already fill the cores).

    Returns
    -------
    ndarray, shape (No,) or (n_events, No)
        The image that `velk.beamform` returns, bit for bit.

    Raises
    ------
    TypeError, ValueError, MemoryError
        As for `velk.beamform`, raised by the chunk that failed.
    KeyboardInterrupt
        Ctrl-C, which cancels the job's pending tasks.

    See Also
    --------
    velk.beamform : The same in one call.
    map_points : How the job runs.

    Examples
    --------
    >>> import numpy as np, velk, velk.distributed
    >>> probe = velk.linear_probe(8, 0.3, (0.27, 5))
    >>> events = velk.plane_wave_events(probe, [0.0], 1540)
    >>> data = np.random.default_rng(0).standard_normal((1, 8, 400))
    >>> g = np.c_[np.zeros(50), np.zeros(50), np.linspace(2, 8, 50)]
    >>> image = velk.distributed.beamform(data, probe, events, 0, 0.025, 1540, g, chunk_points=16)
    >>> image.tobytes() == velk.beamform(data, probe, events, 0, 0.025, 1540, g).tobytes()
    True
    """
    channels = np.asarray(data)
    options.setdefault("threads", 1)

    def image(chunk: NDArray[np.float64]) -> NDArray[np.generic]:
        # One row per point: an image per event becomes one column per event.
        return imaging.beamform(channels, probe, events, t0, dt, cp, chunk, **options).T

    rows = map_points(image, points, client=client, chunk_points=chunk_points, progress=progress)
    result: NDArray[np.generic] = np.ascontiguousarray(rows.T)
    return result


def pulse_echo(scatterers: ArrayLike, amplitudes: ArrayLike, probe: "simulation.Probe",
               events: "simulation.Events", pulse: simulation.Pulse, dt: float,
               nt: SupportsIndex, t0: float, cp: float, alpha: float = 0.0, *,
               intervals: SupportsIndex = 4, oversample: Optional[SupportsIndex] = None,
               client: Optional["Client"] = None,
               chunk_points: Optional[SupportsIndex] = None,
               progress: bool = True) -> NDArray[np.float64]:
    """Pulse-echo simulation over chunks of the scatterers, their channels added.

    Each chunk is `velk.pulse_echo` of its scatterers (on one thread); the
    chunks' channel data are added pairwise in chunk order
    (((c0 + c1) + (c2 + c3)) + ...), so a given chunking gives the same bits
    on any cluster (with attenuation, within the last bits of the transform
    plan each process times), within rounding (1e-12 of the peak) of one
    call.

    Parameters
    ----------
    scatterers : array_like, shape (Ns, 3)
        As for `velk.pulse_echo`: the scatterer positions, in mm; split into
        chunks.
    amplitudes : array_like, shape (Ns,)
        As for `velk.pulse_echo`: their amplitudes.
    probe : Probe
        As for `velk.pulse_echo`: the probe, its centres in mm.
    events : Events
        As for `velk.pulse_echo`: the transmit events.
    pulse : array_like, or (excitation, impulse)
        As for `velk.pulse_echo`: the two-way pulse.
    dt : float
        As for `velk.pulse_echo`: the sampling period, in us.
    nt : int
        As for `velk.pulse_echo`: the samples per channel.
    t0 : float
        As for `velk.pulse_echo`: the time of the first sample, in us.
    cp, alpha : float
        As for `velk.pulse_echo`: the sound speed, in m/s, and the
        attenuation, in dB/(cm MHz).
    intervals, oversample : int
        As for `velk.pulse_echo`.
    client : distributed.Client, optional
        As for `map_points`.
    chunk_points : int, optional
        As for `map_points`: scatterers per chunk.
    progress : bool
        As for `map_points`.

    Returns
    -------
    ndarray, shape (n_events, n_rx, nt)
        The channel data.

    Raises
    ------
    TypeError, ValueError, MemoryError
        As for `velk.pulse_echo`, raised by the chunk that failed.
    KeyboardInterrupt
        Ctrl-C, which cancels the job's pending tasks.

    See Also
    --------
    velk.pulse_echo : The same in one call.

    Examples
    --------
    >>> import numpy as np, velk, velk.distributed
    >>> probe = velk.linear_probe(8, 0.3, (0.27, 5))
    >>> events = velk.plane_wave_events(probe, [0.0], 1540)
    >>> s = np.c_[np.linspace(-1, 1, 30), np.zeros(30), np.linspace(5, 9, 30)]
    >>> y = velk.distributed.pulse_echo(s, 1, probe, events, [1.0, -1.0], 0.05, 300, 0, 1540,
    ...                                 chunk_points=10)
    >>> bool(np.allclose(y, velk.pulse_echo(s, 1, probe, events, [1.0, -1.0], 0.05, 300, 0,
    ...                                     1540), rtol=0, atol=1e-12 * np.abs(y).max()))
    True
    """
    xyz = arg.points("scatterers", scatterers).value
    a = np.broadcast_to(np.ravel(arg.real("amplitudes", amplitudes)), (len(xyz),))
    size = DEFAULT_CHUNK_POINTS if chunk_points is None else int(chunk_points)
    if size < 1:
        raise ValueError(f"chunk_points must be at least 1, not {chunk_points}")
    name = f"velk-echo-{uuid.uuid4().hex}"

    def run(chunk: NDArray[np.float64], weights: NDArray[np.float64]) -> NDArray[np.float64]:
        return simulation.pulse_echo(chunk, weights, probe, events, pulse, dt, nt, t0, cp, alpha,
                                     intervals=intervals, oversample=oversample, threads=1)

    def graph(fn_ref: Any) -> dict[Hashable, tuple[Any, ...]]:
        level = [(name, 0, i) for i in range(max(1, -(-len(xyz) // size)))]
        tasks: dict[Hashable, tuple[Any, ...]] = {
            key: (_applied, fn_ref, xyz[key[2] * size:(key[2] + 1) * size],
                  a[key[2] * size:(key[2] + 1) * size]) for key in level}
        depth = 0
        while len(level) > 1:
            depth += 1
            pairs = [level[i:i + 2] for i in range(0, len(level), 2)]
            level = [(name, depth, i) for i in range(len(pairs))]
            tasks.update({key: (np.add, *pair) if len(pair) == 2 else (np.asarray, pair[0])
                          for key, pair in zip(level, pairs)})
        tasks["root"] = (np.asarray, level[0])
        return tasks

    if client is not None:
        return _computed_on_cluster(client, graph, run, progress, root="root")[0]
    fn_key = f"velk-fn-{uuid.uuid4().hex}"
    tasks = graph(fn_key)
    bar: ContextManager[Any] = contextlib.nullcontext()
    if progress:
        bar = ProgressBar(minimum=PROGRESS_AFTER_SECONDS)
    with bar:
        result: NDArray[np.float64] = dask.threaded.get({**tasks, fn_key: run}, "root")
        return result


def _applied(fn: Callable[..., _Result], *args: Any) -> _Result:
    return fn(*args)


def _per_point_job(function: Callable[..., NDArray[np.float64]], points: ArrayLike,
                   delay: ArrayLike, before_delay: tuple[Any, ...], after_delay: tuple[Any, ...],
                   client: Optional["Client"], chunk_points: Optional[SupportsIndex],
                   progress: bool) -> NDArray[np.float64]:
    """function(points, *before_delay, delay, *after_delay) over chunks."""
    def run(chunk: NDArray[np.float64], *delay_chunk: NDArray[np.float64]
            ) -> NDArray[np.float64]:
        return function(chunk, *before_delay, delay_chunk[0] if delay_chunk else delay,
                        *after_delay)

    chunks = _per_point_chunks(run, points, delay, client, chunk_points, progress)
    if chunks is None:
        return function(points, *before_delay, delay, *after_delay)
    return np.concatenate(chunks)


def _per_point_chunks(run: Callable[..., _Result], points: ArrayLike, delay: ArrayLike,
                      client: Optional["Client"], chunk_points: Optional[SupportsIndex],
                      progress: bool) -> Optional[list[_Result]]:
    """The chunks' results of run(chunk[, delay chunk]): the delay split
    with the points when it holds one value per point, passed whole when it
    holds one value. None for any other delay: the caller makes the one
    call, which the module refuses before computing anything."""
    xyz = arg.points("points", points).value
    delays = arg.values("delay", delay).value
    if len(delays) == 1:
        return _computed_chunks(run, xyz, client, chunk_points, (), progress)
    if len(delays) == len(xyz):
        return _computed_chunks(run, xyz, client, chunk_points, (delays,), progress)
    return None


def _computed_chunks(fn: Callable[..., _Result], points: ArrayLike, client: Optional["Client"],
                     chunk_points: Optional[SupportsIndex], per_point: Sequence[ArrayLike],
                     progress: bool) -> list[_Result]:
    """The list of fn(chunk, *per_point chunks), in the order of the points."""
    xyz = arg.points("points", points).value
    split = [np.asarray(a) for a in per_point]
    if any(len(a) != len(xyz) for a in split):
        raise ValueError(f"per_point arrays must have one row per point ({len(xyz)})")
    size = DEFAULT_CHUNK_POINTS if chunk_points is None else int(chunk_points)
    if size < 1:
        raise ValueError(f"chunk_points must be at least 1, not {chunk_points}")
    starts = range(0, max(len(xyz), 1), size)
    name = f"velk-chunk-{uuid.uuid4().hex}"

    def graph(fn_ref: Any) -> dict[Hashable, tuple[Any, ...]]:
        return {(name, i): (_chunk_result, fn_ref, xyz[s:s + size],
                            *(a[s:s + size] for a in split))
                for i, s in enumerate(starts)}

    if client is not None:
        return _computed_on_cluster(client, graph, fn, progress)
    fn_key = f"velk-fn-{uuid.uuid4().hex}"
    tasks = graph(fn_key)
    keys = list(tasks)
    bar: ContextManager[Any] = contextlib.nullcontext()
    if progress:
        bar = ProgressBar(minimum=PROGRESS_AFTER_SECONDS)
    with bar:
        results: list[_Result] = dask.threaded.get({**tasks, fn_key: fn}, keys)
        return results


def _computed_on_cluster(client: "Client", graph: Callable[[Any], dict[Hashable, Any]],
                         fn: Callable[..., _Result], progress: bool,
                         root: Optional[Hashable] = None) -> list[_Result]:
    """The results of graph(fn_ref) from the client's cluster (of its task
    `root` alone where given), fn scattered to every worker beforehand and
    fn_ref its future."""
    import distributed

    shared = client.scatter(fn, broadcast=True, hash=False)
    futures = []
    try:
        tasks = graph(shared)
        futures = client.get(tasks, list(tasks) if root is None else [root], sync=False)
        if progress:
            try:
                distributed.wait(futures, timeout=PROGRESS_AFTER_SECONDS)
            except TimeoutError:
                distributed.progress(futures)
        results: list[_Result] = client.gather(futures)
        return results
    except BaseException:
        # A chunk's error or Ctrl-C: the job's tasks not yet run are dropped.
        client.cancel(futures)
        raise
    finally:
        for future in [*futures, shared]:
            future.release()


def _chunk_result(fn: Callable[..., _Result], chunk: NDArray[np.float64],
                  *per_point: NDArray[Any]) -> _Result:
    result = fn(chunk, *per_point)
    rows = result[0] if isinstance(result, tuple) else result
    if np.ndim(rows) == 0 or len(rows) != len(chunk):
        raise ValueError(f"fn must return one row per point: {len(chunk)} points gave "
                         f"a result of shape {np.shape(rows)}")
    return result
