"""The impulse response of propagation through an attenuating medium."""
from . import _arguments as arg
from ._call import call


def damp(points, sampling, delay, medium):
    """Impulse response of a medium whose attenuation grows linearly with frequency.

    H = velk.damp(points, (dt, nt), delay, (cp, alpha))

    For each point, the response of the path from the origin to the point
    (distance r): attenuation exp(-alpha r f) with the dispersion a causal
    medium must have, delayed by the travel time r / cp. Its samples sum
    to 1.

    points       (No, 3) observation points, one [x, y, z] per row, in mm
    (dt, nt)     sampling period in us and number of samples (truncated), nt >= 1
    delay        time of the first sample in us: one for every point or one
                 per point
    (cp, alpha)  sound speed in m/s and attenuation in dB/(cm MHz)

    Returns H, shape (No, nt). H[i] is column i + 1 of Octave's
    velk_damp(points, [dt nt], delay, [cp alpha]), bit for bit.

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
