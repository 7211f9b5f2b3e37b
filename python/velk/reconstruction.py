"""Delay-and-sum and synthetic aperture focusing."""
import warnings

from . import _arguments as arg
from ._call import call


class OutOfBoundsWarning(UserWarning):
    """A delay that falls outside the output window, reported under "warn"."""


def lagsum(points, sampling, delay, cp, level):
    """Delay-and-sum impulse response at observation points.

    H, status = velk.lagsum(points, (dt, nt), delay, cp, level)

    For each point, a unit impulse at the sample nearest (ties to even) to
    its travel time from the origin, sqrt(x^2 + y^2 + z^2) / cp, counted
    from its delay.

    points    (No, 3) observation points, one [x, y, z] per row, in mm
    (dt, nt)  sampling period in us and number of samples (truncated)
    delay     time of the first sample in us: one for every point or one
              per point
    cp        sound speed, m/s
    level     what a travel time outside the window does: "stop" raises
              velk.OutOfBoundsError (a ValueError) with the report ("Delay out of bounds (offset = n
              samples)"), "warn" emits that report as an OutOfBoundsWarning
              and goes on, "ignore" goes on silently

    Returns H, shape (No, nt), and status: 0 when every impulse fell inside
    its window, otherwise the level's code (-2 "warn", -3 "ignore"). H[i] is
    column i + 1 of Octave's [H, status] = lagsum(points, [dt nt], delay, cp,
    level), bit for bit. Ctrl-C stops the call between two points.

    >>> import velk
    >>> H, status = velk.lagsum([[0, 0, 15], [0, 0, 30]], (0.1, 300), 0, 1500, "stop")
    >>> [int(h.argmax()) for h in H], status
    ([100, 200], 0)
    """
    H, status, reports = lagsum_with_reports(points, sampling, delay, cp, level)
    for report in reports:
        warnings.warn(report, OutOfBoundsWarning, stacklevel=2)
    return H, status


def lagsum_with_reports(points, sampling, delay, cp, level):
    """lagsum's H and status, and its out-of-bounds reports as a list of
    texts instead of warnings: for a caller that emits them elsewhere (in
    another thread or process than the one that computed)."""
    results, reports = call("lagsum", arg.points("points", points),
                            arg.values("sampling", sampling), arg.values("delay", delay),
                            arg.values("cp", cp), arg.keyword("level", level), n_results=2)
    return results[0], int(results[1][0, 0]), list(reports)


def echofocus(scans, positions, delay, dt, cp, points, width, threads=None):
    """Synthetic aperture focusing of A-scans, on worker threads.

    image = velk.echofocus(scans, positions, delay, dt, cp, points, width, threads=None)

    Each image point sums, over the A-scans whose transducer lies within
    width / 2 of it laterally, the A-scan's value at the two-way travel time
    from the transducer to the point less twice the A-scan's delay,
    interpolated linearly between the two nearest samples.

    scans      (N, M) A-scans, one per row, M samples each
    positions  (N, 3) transducer positions, one [x, y, z] per A-scan, in mm
    delay      time of the first sample in us: one for every A-scan or one
               per A-scan
    dt         sampling period, us
    cp         sound speed, m/s
    points     (No, 3) image points, one [x, y, z] per row, in mm
    width      aperture width, mm
    threads    worker threads (default: every core); the image is the same,
               bit for bit, for any count

    Returns the image, shape (No,): Octave's echofocus(scans.', positions,
    delay, dt, cp, points, width) or echofocus_mt(..., threads) as a vector,
    bit for bit. Ctrl-C stops the call once each thread has finished its
    current point.

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
    return results[0][0]
