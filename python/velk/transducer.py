"""Spatial impulse responses of flat pistons at observation points."""
from . import _arguments as arg
from ._call import call


def discwave(points, a, sampling, delay, material):
    """Spatial impulse response of a circular flat piston.

    H = velk.discwave(points, a, (dt, nt), delay, (v, cp))

    The piston of radius a lies in the plane z = 0, centred on the origin;
    its surface moves with the normal velocity v.

    points    (No, 3) observation points, one [x, y, z] per row, in mm
    a         radius of the piston, mm
    (dt, nt)  sampling period in us and number of samples (truncated)
    delay     time of the first sample in us: one for every point or one
              per point
    (v, cp)   normal velocity of the surface and sound speed, m/s

    Returns H, shape (No, nt): H[i, k] is the response at point i at time
    delay + k dt, in m/s. H[i] is column i + 1 of Octave's
    discwave(points, a, [dt nt], delay, [v cp]), bit for bit.

    >>> import velk
    >>> H = velk.discwave([[0, 0, 20], [8, 0, 20]], 5, (0.025, 800), 12, (1, 1500))
    >>> H.shape
    (2, 800)
    >>> float(H[0].max())      # on the axis: the plateau v cp
    1500.0
    """
    results, _ = call("discwave", arg.points("points", points), arg.values("a", a),
                      arg.values("sampling", sampling), arg.values("delay", delay),
                      arg.values("material", material))
    return results[0]


def platewave(points, size, sampling, delay, material):
    """Spatial impulse response of a rectangular flat piston.

    H = velk.platewave(points, (width, height), (dt, nt), delay, (v, cp))

    The piston lies in the plane z = 0, centred on the origin, its width
    along x and its height along y; its surface moves with the normal
    velocity v.

    points           (No, 3) observation points, one [x, y, z] per row, in mm
    (width, height)  sides of the rectangle, mm
    (dt, nt)         sampling period in us and number of samples (truncated)
    delay            time of the first sample in us: one for every point or
                     one per point
    (v, cp)          normal velocity of the surface and sound speed, m/s

    Returns H, shape (No, nt): H[i, k] is the response at point i at time
    delay + k dt, in m/s. H[i] is column i + 1 of Octave's
    platewave(points, [width height], [dt nt], delay, [v cp]), bit for bit.

    >>> import velk
    >>> H = velk.platewave([[0, 0, 20], [3, 2, 20]], (10, 6), (0.025, 600), 12, (1, 1500))
    >>> H.shape
    (2, 600)
    >>> float(H[0].max())      # in front of the piston: the plateau v cp
    1500.0
    """
    results, _ = call("platewave", arg.points("points", points), arg.values("size", size),
                      arg.values("sampling", sampling), arg.values("delay", delay),
                      arg.values("material", material))
    return results[0]


def discwave_avg(points, a, sampling, delay, material, n_intervals):
    """Circular flat piston response averaged over each sampling interval.

    H = velk.discwave_avg(points, a, (dt, nt), delay, (v, cp), n_intervals)

    As velk.discwave, but sample k is the mean of the response over the
    interval [delay + k dt, delay + (k + 1) dt], integrated piecewise over
    n_intervals sub-intervals: where the response changes faster than dt
    (near the axis, far from the piston) point samples miss it, the
    averages keep its time integral.

    points       (No, 3) observation points, one [x, y, z] per row, in mm
    a            radius of the piston, mm
    (dt, nt)     sampling period in us and number of samples (truncated)
    delay        time of the first sample in us: one for every point or one
                 per point
    (v, cp)      normal velocity of the surface and sound speed, m/s
    n_intervals  sub-intervals per sample (truncated), at least 1

    Returns H, shape (No, nt), in m/s. H[i] is column i + 1 of Octave's
    discwave_avg(points, a, [dt nt], delay, [v cp], n_intervals), bit for bit.

    >>> import velk
    >>> H = velk.discwave_avg([[0, 0, 32]], 1, (0.025, 100), 20, (1, 1500), 20)
    >>> H.shape
    (1, 100)
    >>> round(float(H.sum() * 0.025), 1)   # the time integral, m/s us
    15.6
    """
    results, _ = call("discwave_avg", arg.points("points", points), arg.values("a", a),
                      arg.values("sampling", sampling), arg.values("delay", delay),
                      arg.values("material", material), arg.values("n_intervals", n_intervals))
    return results[0]


def platewave_avg(points, size, sampling, delay, material, n_intervals):
    """Rectangular flat piston response averaged over each sampling interval.

    H = velk.platewave_avg(points, (width, height), (dt, nt), delay, (v, cp), n_intervals)

    As velk.platewave, but sample k is the mean of the response over the
    interval of length dt centred on delay + k dt: the plateaus exactly,
    the edge waves in closed form but for a small smooth rest taken by the
    two-point Gauss rule over n_intervals parts of each piece. Where an
    arrival is shorter than dt (a small element, a far point), point
    samples miss it; the averages keep its time integral.

    points           (No, 3) observation points, one [x, y, z] per row, in mm
    (width, height)  sides of the rectangle, mm
    (dt, nt)         sampling period in us (above 0) and number of samples
    delay            time of the first sample's centre in us: one for every
                     point or one per point
    (v, cp)          normal velocity (not used) and sound speed, m/s
    n_intervals      parts per piece (truncated), at least 1

    Returns H, shape (No, nt), in m/s. H[i] is column i + 1 of Octave's
    platewave_avg(points, [width height], [dt nt], delay, [v cp], n_intervals),
    bit for bit.

    >>> import velk
    >>> H = velk.platewave_avg([[0, 0, 20]], (0.3, 5), (0.05, 200), 12, (1, 1500), 4)
    >>> round(float(H.sum() * 0.05e-6) * 1e6, 4)   # the time integral, um
    11.9056
    """
    results, _ = call("platewave_avg", arg.points("points", points), arg.values("size", size),
                      arg.values("sampling", sampling), arg.values("delay", delay),
                      arg.values("material", material), arg.values("n_intervals", n_intervals))
    return results[0]
