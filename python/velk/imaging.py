"""Imaging of array data: delay-and-sum for every transmit scheme, the
analytic signal, I/Q data and the B-mode."""
from typing import Literal, Optional, SupportsIndex

import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _arguments as arg
from ._call import call
from .probe import Events, Probe

Window = Literal["boxcar", "hann", "tukey"]


def beamform(data: ArrayLike, probe: Probe, events: Events, t0: float, dt: float, cp: float,
             points: ArrayLike, *, interpolation: Literal["linear", "nearest"] = "linear",
             f_number: float = 0.0, window: Window = "boxcar",
             tx_window: Literal["none", "boxcar", "hann", "tukey"] = "none",
             compound: bool = True, fd: Optional[float] = None,
             threads: Optional[SupportsIndex] = None) -> NDArray[np.generic]:
    """Delay-and-sum image of array data: full matrix, plane waves, diverging waves, focused lines.

    At point p, for event e and receive channel c (element j), the channel's
    sample at the delay ``wave_arrival(p, ...) + |p - e_j| * 1000 / cp`` us,
    interpolated; summed over the channels (weighted by the receive window)
    and then over the events, each sum in index order, so that every thread
    count gives the same bits. Samples outside the record count as 0.

    Parameters
    ----------
    data : array_like, shape (n_events, n_rx, nt)
        Channel data, time along the last axis: ``data[e, c, k]`` is the
        sample at ``t0 + k * dt`` us of channel c of event e. Real (RF) or
        complex (analytic, or I/Q with `fd`); float64 and float32 (read as
        float32) without a copy when C-ordered.
    probe : Probe
        The probe, its centres in mm; the receive indices refer to its
        `receiver` where it has one.
    events : Events
        The transmit events (their receive lists and waves).
    t0 : float
        Time of the first sample, in us.
    dt : float
        Sampling period, in us.
    cp : float
        Sound speed, in m/s.
    points : array_like, shape (No, 3)
        Image points, one ``[x, y, z]`` per row, in mm.
    interpolation : {"linear", "nearest"}
        Between samples.
    f_number : float
        Receive aperture F (0: every element): element j takes part for p
        when its lateral distance is at most ``z / (2 F)``.
    window : {"boxcar", "hann", "tukey"}
        The receive window over that aperture.
    tx_window : {"none", "boxcar", "hann", "tukey"}
        For plane and diverging waves, the window over the probe's face at
        the crossing of the wave's ray through the point ("none": every
        point counts).
    compound : bool
        The coherent sum over the events (True), or one image per event.
    fd : float, optional
        For I/Q data, the demodulation frequency in MHz: each value is
        turned by ``exp(2 pi i fd tau)``.
    threads : int, optional
        Worker threads (default: every core).

    Returns
    -------
    ndarray, shape (No,) or (n_events, No)
        The image in the unit of the data, real for real data, complex for
        complex data (its magnitude the envelope).

    Raises
    ------
    TypeError
        An argument of another kind.
    ValueError
        Data of another shape than the events', or an argument the module
        refuses (its message behind the parameter's name).
    KeyboardInterrupt
        Ctrl-C, once each thread has finished its current points.

    See Also
    --------
    velk.pulse_echo : Channel data of a simulated phantom.
    velk.analytic : The analytic signal of RF data.
    velk.bmode : The log-compressed image.

    Notes
    -----
    The same as Octave's ``beamform(data, probe, events, [t0 dt], cp,
    points, options)``, bit for bit, data given there as nt x n_rx x
    n_events.

    Examples
    --------
    >>> import numpy as np, velk
    >>> probe = velk.linear_probe(16, 0.3, (0.27, 5))
    >>> events = velk.plane_wave_events(probe, [0.0], 1540)
    >>> image = velk.beamform(np.zeros((1, 16, 500)), probe, events, 0, 0.025, 1540,
    ...                       [[0, 0, 5], [0, 0, 6]])
    >>> image.shape
    (2,)
    """
    n_rx = int(np.asarray(events.receive).shape[1])
    options: dict[str, object] = {
        "interpolation": interpolation, "fnumber": np.array([float(f_number)]),
        "window": window, "tx_window": tx_window,
        "compound": np.array([1.0 if compound else 0.0]),
        "threads": arg.threads(threads).value}
    if fd is not None:
        options["fd"] = np.array([float(fd)])
    results, _ = call("beamform", arg.samples("data", data, n_rx),
                      arg.Named("probe", probe.octave()), arg.Named("events", events.octave()),
                      arg.values("timing", (t0, dt)), arg.values("cp", cp),
                      arg.points("points", points), arg.Named("options", options))
    image: NDArray[np.generic] = results[0][0] if compound else results[0]
    return image


def analytic(signals: ArrayLike) -> NDArray[np.complex128]:
    """The analytic signal of every signal, over FFTW.

    ``y = x + i H{x}``, H the Hilbert transform: each signal's spectrum kept
    at 0 (and the Nyquist frequency), doubled at the positive frequencies,
    0 at the negative ones. Its magnitude is the envelope.

    Parameters
    ----------
    signals : array_like, shape (n, nt)
        Real signals, time along the last axis (any axes in front of it
        are kept; one signal may be given as a vector).

    Returns
    -------
    ndarray of complex128, shape (n, nt)
        The analytic signals, in the unit of `signals`.

    Raises
    ------
    TypeError
        Signals that are not real numbers.

    See Also
    --------
    velk.iq : Baseband data.

    Notes
    -----
    The same as Octave's ``analytic(X)`` on the signals as columns, bit for
    bit.

    Examples
    --------
    >>> import numpy as np, velk
    >>> t = np.arange(512) * 0.025
    >>> x = np.exp(-((t - 6) / 0.4) ** 2) * np.cos(2 * np.pi * 5 * t)
    >>> bool(np.allclose(np.abs(velk.analytic(x)), np.exp(-((t - 6) / 0.4) ** 2), atol=1e-6))
    True
    """
    x = np.asarray(signals, dtype=np.float64)
    flat = x.reshape(-1, x.shape[-1]) if x.ndim else x.reshape(1, 1)
    results, _ = call("analytic", arg.signals("signals", flat))
    y: NDArray[np.complex128] = np.asarray(results[0], dtype=np.complex128).reshape(x.shape)
    return y


def iq(signals: ArrayLike, fd: float, dt: float, delay: float,
       bandwidth: float) -> NDArray[np.complex128]:
    """I/Q (baseband) data of real signals.

    Each signal's analytic signal, its spectrum kept within bandwidth / 2 of
    fd, mixed down by ``exp(-2 pi i fd t)`` with the time
    ``t = delay + k dt`` of each sample k.

    Parameters
    ----------
    signals : array_like, shape (n, nt)
        Real signals, time along the last axis (any axes in front of it
        are kept; one signal may be given as a vector).
    fd : float
        Demodulation frequency, in MHz.
    dt : float
        Sampling period, in us.
    delay : float
        Time of the first sample, in us.
    bandwidth : float
        The band kept, in MHz.

    Returns
    -------
    ndarray of complex128, shape (n, nt)
        The baseband signals, in the unit of `signals`.

    Raises
    ------
    ValueError
        A frequency, bandwidth or sampling the module refuses.

    See Also
    --------
    velk.analytic : The analytic signal.
    velk.beamform : Images I/Q data with `fd`.

    Notes
    -----
    The same as Octave's ``iq(X, [fd bandwidth], [dt delay])``, bit for bit.

    Examples
    --------
    >>> import numpy as np, velk
    >>> t = np.arange(512) * 0.025
    >>> x = np.exp(-((t - 6) / 0.4) ** 2) * np.cos(2 * np.pi * 5 * t)
    >>> q = velk.iq(x, 5, 0.025, 0, 4)
    >>> round(float(np.angle(q[240])), 3)
    0.0
    """
    x = np.asarray(signals, dtype=np.float64)
    flat = x.reshape(-1, x.shape[-1])
    results, _ = call("iq", arg.signals("signals", flat), arg.values("band", (fd, bandwidth)),
                      arg.values("timing", (dt, delay)))
    y: NDArray[np.complex128] = np.asarray(results[0], dtype=np.complex128).reshape(x.shape)
    return y


def bmode(image: ArrayLike, dynamic_range: float = 60.0) -> NDArray[np.float64]:
    """The log-compressed image in dB, its maximum at 0.

    ``20 log10(|image| / max |image|)``, clipped below at `-dynamic_range`.

    Parameters
    ----------
    image : array_like
        The image: complex (its magnitude the envelope) or real.
    dynamic_range : float
        The dB shown below the maximum.

    Returns
    -------
    ndarray of float64
        The image in dB, of `image`'s shape.

    Raises
    ------
    ValueError
        Never for numbers; NumPy's errors otherwise.

    See Also
    --------
    velk.beamform : The image.

    Notes
    -----
    The same as Octave's ``bmode(B, dynamic_range)``.

    Examples
    --------
    >>> import velk
    >>> velk.bmode([1, 0.1, 1e-5])
    array([  0., -20., -60.])
    """
    a = np.abs(np.asarray(image))
    with np.errstate(divide="ignore"):
        d: NDArray[np.float64] = np.maximum(20 * np.log10(a / a.max()), -dynamic_range)
    return d
