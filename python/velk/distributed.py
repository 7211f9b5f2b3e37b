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

A job that lasts more than a second shows Dask's progress bar. Ctrl-C
cancels the job's pending tasks and raises KeyboardInterrupt. A chunk that
raises fails the job with its exception, and the job's other tasks are
cancelled. On a cluster, a chunk whose worker dies is computed again on
another (Dask's scheduler retries a task up to its allowed-failures).
"""
import contextlib
import uuid
import warnings

import numpy as np

import dask
import dask.threaded
from dask.diagnostics import ProgressBar

from . import _arguments as arg
from . import attenuation, reconstruction, transducer

# Points per chunk: about 72 ms of a focusing job with 400 A-scans per
# point on one core, against about 3 ms of scheduling per chunk and 0.2 us
# per point of transfer (bench/distributed_bench.py); small enough that a
# job of a few million points spreads over many workers.
DEFAULT_CHUNK_POINTS = 20000

# A job shorter than this shows no progress bar.
PROGRESS_AFTER_SECONDS = 1.0


def map_points(fn, points, client=None, chunk_points=None, per_point=(), progress=True):
    """fn(points) computed over chunks of the points, on a cluster or locally.

    R = velk.distributed.map_points(fn, points, client=None, chunk_points=None,
                                    per_point=(), progress=True)

    fn            a function of a (k, 3) array of points that returns an
                  array with one row per point (shape (k, ...)); on a
                  cluster it must pickle (a module-level function, a
                  functools.partial, a lambda)
    points        (count, 3) points, one [x, y, z] per row
    client        a distributed.Client: the job runs on its cluster; None:
                  on this machine's threads through Dask's local scheduler
    chunk_points  points per chunk (default DEFAULT_CHUNK_POINTS)
    per_point     arrays with one row per point, split with the points:
                  fn is called as fn(chunk, *their chunks)
    progress      Dask's progress bar for a job of more than a second

    Returns the chunks' results concatenated along the first axis: bit for
    bit fn(points, *per_point), for an fn whose every row depends only on
    its own point. The arrays fn holds (the A-scans of a focusing job)
    reach each worker once, not once per chunk.

    >>> import numpy as np, velk, velk.distributed
    >>> P = np.c_[np.zeros((5, 2)), np.arange(10, 15)]
    >>> R = velk.distributed.map_points(lambda p: np.hypot(p[:, 0], p[:, 2]), P, chunk_points=2)
    >>> R.tolist()
    [10.0, 11.0, 12.0, 13.0, 14.0]
    """
    return np.concatenate(_computed_chunks(fn, points, client, chunk_points, per_point,
                                           progress))


def echofocus(scans, positions, delay, dt, cp, points, width, threads=1, client=None,
              chunk_points=None, progress=True):
    """velk.echofocus over chunks of the image points (see map_points).

    The A-scans reach each worker once. threads: the module's threads per
    chunk (default 1: the cluster's worker threads, or the local
    scheduler's one per core, already fill the cores). Returns the image
    that velk.echofocus returns, bit for bit.
    """
    def focus(chunk):
        return reconstruction.echofocus(scans, positions, delay, dt, cp, chunk, width,
                                        threads=threads)
    return map_points(focus, points, client, chunk_points, progress=progress)


def discwave(points, a, sampling, delay, material, client=None, chunk_points=None,
             progress=True):
    """velk.discwave over chunks of the points (see map_points); a delay
    given per point is split with them. The same bits as velk.discwave."""
    return _per_point_job(transducer.discwave, points, delay, (a, sampling), (material,),
                          client, chunk_points, progress)


def platewave(points, size, sampling, delay, material, client=None, chunk_points=None,
              progress=True):
    """velk.platewave over chunks of the points (see map_points); a delay
    given per point is split with them. The same bits as velk.platewave."""
    return _per_point_job(transducer.platewave, points, delay, (size, sampling), (material,),
                          client, chunk_points, progress)


def discwave_avg(points, a, sampling, delay, material, n_intervals, client=None,
                 chunk_points=None, progress=True):
    """velk.discwave_avg over chunks of the points (see map_points); a delay
    given per point is split with them. The same bits as velk.discwave_avg."""
    return _per_point_job(transducer.discwave_avg, points, delay, (a, sampling),
                          (material, n_intervals), client, chunk_points, progress)


def platewave_avg(points, size, sampling, delay, material, n_intervals, client=None,
                  chunk_points=None, progress=True):
    """velk.platewave_avg over chunks of the points (see map_points); a delay
    given per point is split with them. The same bits as velk.platewave_avg."""
    return _per_point_job(transducer.platewave_avg, points, delay, (size, sampling),
                          (material, n_intervals), client, chunk_points, progress)


def damp(points, sampling, delay, medium, client=None, chunk_points=None, progress=True):
    """velk.damp over chunks of the points (see map_points); a delay given
    per point is split with them. Computed in one process, the same bits as
    velk.damp; its transform is planned by timing in each process, so a
    chunk computed in another process may differ in the last bit."""
    return _per_point_job(attenuation.damp, points, delay, (sampling,), (medium,),
                          client, chunk_points, progress)


def lagsum(points, sampling, delay, cp, level, client=None, chunk_points=None,
           progress=True):
    """velk.lagsum over chunks of the points (see map_points); a delay
    given per point is split with them.

    Returns H and status as velk.lagsum does, the same bits. Under "stop" a
    delay out of bounds fails the job with the module's report (ValueError);
    under "warn" the chunks' reports are emitted here, in the order of the
    points, as velk.OutOfBoundsWarning.
    """
    def run(chunk, *delay_chunk):
        H, status, reports = reconstruction.lagsum_with_reports(
            chunk, sampling, delay_chunk[0] if delay_chunk else delay, cp, level)
        return H, status, reports

    chunks = _per_point_chunks(run, points, delay, client, chunk_points, progress)
    if chunks is None:                       # refused as the one call refuses it
        return reconstruction.lagsum(points, sampling, delay, cp, level)
    for _, _, reports in chunks:
        for report in reports:
            warnings.warn(report, reconstruction.OutOfBoundsWarning, stacklevel=2)
    statuses = [status for _, status, _ in chunks if status != 0]
    return np.concatenate([H for H, _, _ in chunks]), (statuses[0] if statuses else 0)


def _per_point_job(function, points, delay, before_delay, after_delay, client,
                   chunk_points, progress):
    """function(points, *before_delay, delay, *after_delay) over chunks."""
    def run(chunk, *delay_chunk):
        return function(chunk, *before_delay, delay_chunk[0] if delay_chunk else delay,
                        *after_delay)

    chunks = _per_point_chunks(run, points, delay, client, chunk_points, progress)
    if chunks is None:
        return function(points, *before_delay, delay, *after_delay)
    return np.concatenate(chunks)


def _per_point_chunks(run, points, delay, client, chunk_points, progress):
    """The chunks' results of run(chunk[, delay chunk]): the delay split
    with the points when it holds one value per point, passed whole when it
    holds one value. None for any other delay: the caller makes the one
    call, which the module refuses before computing anything."""
    points = arg.points("points", points).value
    delays = arg.values("delay", delay).value
    if len(delays) == 1:
        return _computed_chunks(run, points, client, chunk_points, (), progress)
    if len(delays) == len(points):
        return _computed_chunks(run, points, client, chunk_points, (delays,), progress)
    return None


def _computed_chunks(fn, points, client, chunk_points, per_point, progress):
    """The list of fn(chunk, *per_point chunks), in the order of the points."""
    points = arg.points("points", points).value
    per_point = [np.asarray(a) for a in per_point]
    if any(len(a) != len(points) for a in per_point):
        raise ValueError(f"per_point arrays must have one row per point ({len(points)})")
    size = DEFAULT_CHUNK_POINTS if chunk_points is None else int(chunk_points)
    if size < 1:
        raise ValueError(f"chunk_points must be at least 1, not {chunk_points}")
    starts = range(0, max(len(points), 1), size)
    name = f"velk-chunk-{uuid.uuid4().hex}"

    def graph(fn_ref):
        return {(name, i): (_chunk_result, fn_ref, points[s:s + size],
                            *(a[s:s + size] for a in per_point))
                for i, s in enumerate(starts)}

    if client is not None:
        return _computed_on_cluster(client, graph, fn, progress)
    fn_key = f"velk-fn-{uuid.uuid4().hex}"
    tasks = graph(fn_key)
    keys = list(tasks)
    with ProgressBar(minimum=PROGRESS_AFTER_SECONDS) if progress else \
            contextlib.nullcontext():
        return dask.threaded.get({**tasks, fn_key: fn}, keys)


def _computed_on_cluster(client, graph, fn, progress):
    """The results of graph(fn_ref) from the client's cluster, fn scattered
    to every worker beforehand and fn_ref its future."""
    import distributed

    shared = client.scatter(fn, broadcast=True, hash=False)
    futures = []
    try:
        tasks = graph(shared)
        futures = client.get(tasks, list(tasks), sync=False)
        if progress:
            try:
                distributed.wait(futures, timeout=PROGRESS_AFTER_SECONDS)
            except TimeoutError:
                distributed.progress(futures)
        return client.gather(futures)
    except BaseException:
        # A chunk's error or Ctrl-C: the job's tasks not yet run are dropped.
        client.cancel(futures)
        raise
    finally:
        for future in [*futures, shared]:
            future.release()


def _chunk_result(fn, chunk, *per_point):
    result = fn(chunk, *per_point)
    rows = result[0] if isinstance(result, tuple) else result
    if np.ndim(rows) == 0 or len(rows) != len(chunk):
        raise ValueError(f"fn must return one row per point: {len(chunk)} points gave "
                         f"a result of shape {np.shape(rows)}")
    return result
