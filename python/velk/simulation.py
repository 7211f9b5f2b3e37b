"""Pulse-echo simulation: the channel data of a probe's transmit events
over point scatterers."""
import sys
from typing import Any, Callable, Optional, SupportsIndex, Union

import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _arguments as arg
from ._call import call
from .probe import Events, Probe

__all__ = ["pulse_echo", "Pulse", "Probe", "Events"]

Pulse = Union[ArrayLike, tuple[ArrayLike, ArrayLike]]


def pulse_echo(scatterers: ArrayLike, amplitudes: ArrayLike, probe: Probe, events: Events,
               pulse: Pulse, dt: float, nt: SupportsIndex, t0: float, cp: float,
               alpha: float = 0.0, *, intervals: SupportsIndex = 4,
               oversample: Optional[SupportsIndex] = None,
               threads: Optional[SupportsIndex] = None,
               progress: bool = False) -> NDArray[np.float64]:
    """Channel data of a probe's transmit events over point scatterers.

    For event e and receive channel c (element j), at ``t = t0 + k dt`` us::

        y(t) = p * sum_s A_s (h_tx,e(r_s) * h_j(r_s))(t)
        h_tx,e(r, t) = sum_i weight[e, i] h_i(r, t - fire[e, i])

    with h_i element i's spatial impulse response (in m/s), p the two-way
    pulse and * the convolution in time, each the sum over the samples
    times dt in seconds; elements of weight 0 are left out. Each channel
    sums the scatterers in their order, so every thread count gives the
    same bits. With attenuation, the echo sample at time t is formed with
    the pulse through the round trip ``cp t`` of the medium of `damp`.
    The sums are formed on a grid `oversample` times finer than dt (the
    pulse interpolated onto it), since the element responses' spectra,
    summed on a coarse grid, alias into the pulse's band.

    Parameters
    ----------
    scatterers : array_like, shape (Ns, 3)
        Scatterer positions, one ``[x, y, z]`` per row, in mm.
    amplitudes : array_like, shape (Ns,)
        Scatterer amplitudes (one value: the same for all), dimensionless.
    probe : Probe
        The probe, its centres in mm, with `size` or `radius`; its
        `receiver` receives where it has one (pitch-catch).
    events : Events
        The transmit events: fire times, weights and receive elements.
    pulse : array_like, or (excitation, impulse)
        The two-way pulse, samples dt apart from time 0; or the excitation
        and the elements' impulse response, whose two-way pulse is
        ``excitation * impulse * impulse``.
    dt : float
        Sampling period, in us.
    nt : int
        Samples per channel.
    t0 : float
        Time of the first sample, in us.
    cp : float
        Sound speed, in m/s.
    alpha : float
        Attenuation, in dB/(cm MHz) (0: none).
    intervals : int
        Parts of the interval means of the element responses (0: point
        samples).
    oversample : int, optional
        Steps of the sums a sample, 1 to 64 (default: 16 samples a period
        of the pulse's root-mean-square frequency, 1 to 4: within 0.7 % of
        a 16 times finer grid at 8 samples a period, where 1 is 6.6 % off
        and about 2.5 times as fast).
    threads : int, optional
        Worker threads (default: every core).
    progress : bool
        A progress bar on stderr for the call (from the calling thread).

    Returns
    -------
    ndarray, shape (n_events, n_rx, nt)
        The channel data, ``y[e, c, k]`` the sample at ``t0 + k dt`` of
        channel c of event e.

    Raises
    ------
    TypeError
        An argument of another kind.
    ValueError
        An argument the module refuses (its message behind the parameter's
        name).
    KeyboardInterrupt
        Ctrl-C, within a few milliseconds.

    See Also
    --------
    velk.beamform : The image of the channel data.
    velk.distributed.pulse_echo : The same over a Dask cluster.

    Notes
    -----
    The same as Octave's ``pulse_echo(scatterers, amplitudes, probe, events,
    pulse, [dt nt], t0, [cp alpha], options)``, bit for bit, its result
    there nt x n_rx x n_events.

    Examples
    --------
    >>> import numpy as np, velk
    >>> probe = velk.linear_probe(16, 0.3, (0.27, 5))
    >>> events = velk.plane_wave_events(probe, [0.0], 1540)
    >>> t = np.arange(41) * 0.025
    >>> pulse = np.sin(2 * np.pi * 5 * t) * np.hanning(41)
    >>> y = velk.pulse_echo([[0, 0, 10]], 1, probe, events, pulse, 0.025, 1000, 0, 1540)
    >>> y.shape
    (1, 16, 1000)
    """
    n_events, n_rx = np.asarray(events.receive).shape
    options = {"N": np.array([float(int(intervals))]), "threads": arg.threads(threads).value,
               "progress": np.array([1.0 if progress else 0.0])}
    if oversample is not None:
        options["oversample"] = np.array([float(int(oversample))])
    waveform: Any = (tuple(np.ravel(arg.real("pulse", p)) for p in pulse)
                     if isinstance(pulse, tuple) else np.ravel(arg.real("pulse", pulse)))
    with _progress_bar(progress) as report:
        results, _ = call("pulse_echo", arg.points("scatterers", scatterers),
                          arg.values("amplitudes", np.ravel(amplitudes)),
                          arg.Named("probe", probe.octave()), arg.Named("events", events.octave()),
                          arg.Named("pulse", waveform),
                          arg.values("sampling", (dt, float(int(nt)))), arg.values("t0", t0),
                          arg.values("medium", (cp, alpha)), arg.Named("options", options),
                          progress=report)
    y: NDArray[np.float64] = results[0].reshape(n_events, n_rx, -1)
    return y


class _progress_bar:
    """A tqdm bar on stderr while the call reports its progress (None when
    not asked for)."""

    def __init__(self, shown: bool) -> None:
        self.shown = shown
        self.bar: Any = None

    def __enter__(self) -> Optional[Callable[[float, float], None]]:
        return self.update if self.shown else None

    def update(self, fraction: float, seconds_left: float) -> None:
        if self.bar is None:
            from tqdm import tqdm  # type: ignore[import]
            self.bar = tqdm(total=1000, desc="pulse_echo", file=sys.stderr,
                            bar_format="{desc}: {percentage:3.0f}%|{bar}| {elapsed}<{remaining}")
        self.bar.update(int(1000 * fraction) - self.bar.n)

    def __exit__(self, *exc: object) -> None:
        if self.bar is not None:
            self.bar.close()
