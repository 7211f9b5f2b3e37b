"""A probe and its transmit events, described once for the simulator and
the imager, and the one arrival convention they share (`wave_arrival`)."""
import operator
from dataclasses import dataclass, field
from typing import Any, Literal, Optional, Sequence, SupportsIndex, Union

import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _arguments as arg
from ._call import call
from .arrays import Apod, linear_array

WaveKind = Literal["plane", "diverging", "focused"]


@dataclass
class Probe:
    """Elements that transmit or receive: their centres and their shape.

    The simulator and the imager take a probe as it is described here; a
    probe that receives with other elements carries them as `receiver`.

    Parameters
    ----------
    centres : ndarray of float64, shape (Ne, 3)
        The elements' centres, in mm; each element lies in a plane parallel
        to z = 0 and faces +z.
    size : ndarray of float64, shape (2,), optional
        ``(width, height)`` of rectangular elements, in mm.
    radius : float, optional
        The radius of circular elements, in mm (instead of `size`).
    receiver : Probe, optional
        Other elements that receive, where they are not these.

    See Also
    --------
    linear_probe : A linear probe of rectangular elements.

    Notes
    -----
    `octave` gives the struct of Octave's functions: fields ``centres``,
    ``size`` or ``radius`` and ``receiver``.

    Examples
    --------
    >>> import velk
    >>> velk.linear_probe(4, 0.3, (0.27, 5)).centres[:, 0]
    array([-0.45, -0.15,  0.15,  0.45])
    """

    centres: NDArray[np.float64]
    size: Optional[NDArray[np.float64]] = None
    radius: Optional[float] = None
    receiver: Optional["Probe"] = None

    def octave(self) -> dict[str, Any]:
        """The probe as the modules take it (a struct in Octave)."""
        fields: dict[str, Any] = {
            "centres": np.asfortranarray(np.asarray(self.centres, dtype=np.float64))}
        if self.size is not None:
            fields["size"] = np.ravel(np.asarray(self.size, dtype=np.float64))
        if self.radius is not None:
            fields["radius"] = np.array([float(self.radius)])
        if self.receiver is not None:
            fields["receiver"] = self.receiver.octave()
        return fields


@dataclass
class Events:
    """The transmit events of a probe and the wave an imager assumes.

    Who fires when and with what weight, who receives. Each array holds one row per event, in C order: the same memory as the
    column per event of Octave's struct.

    Parameters
    ----------
    fire : ndarray of float64, shape (n, Ne)
        Each element's fire time in each event, in us.
    weight : ndarray of float64, shape (n, Ne)
        Each element's transmit weight (0: it does not fire).
    receive : ndarray of int64, shape (n, n_rx)
        The receive elements of each event, 0-based indices into the
        receiving probe.
    wave : list of str
        The kind of each event's wave: "plane", "diverging" or "focused".
    origin : ndarray of float64, shape (n, 3)
        A plane wave's unit direction, a diverging wave's virtual source, a
        focused wave's focal point, in mm.
    t0 : ndarray of float64, shape (n,)
        A plane wave's arrival at the origin, a diverging wave's departure
        from its source, a focused wave's arrival at its focus, in us.

    See Also
    --------
    wave_arrival : When an event's wave reaches points.
    plane_wave_events : Events of plane waves.

    Notes
    -----
    An echo from a point p reaches receive element j at
    ``wave_arrival(p, wave[e], origin[e], t0[e], cp)`` plus
    ``|p - centre_j| * 1000 / cp`` us.

    Examples
    --------
    >>> import velk
    >>> events = velk.fmc_events(velk.linear_probe(3, 0.3, (0.27, 5)))
    >>> events.weight
    array([[1., 0., 0.],
           [0., 1., 0.],
           [0., 0., 1.]])
    """

    fire: NDArray[np.float64]
    weight: NDArray[np.float64]
    receive: NDArray[np.int64]
    wave: list[str]
    origin: NDArray[np.float64]
    t0: NDArray[np.float64]

    def __len__(self) -> int:
        return len(self.t0)

    def __getitem__(self, which: Union[SupportsIndex, slice]) -> "Events":
        """The events ``which`` selects (an index or a slice), as events.

        >>> import velk
        >>> events = velk.fmc_events(velk.linear_probe(3, 0.3, (0.27, 5)))
        >>> one = events[1]
        >>> len(one), one.weight
        (1, array([[0., 1., 0.]]))
        """
        rows = which
        if not isinstance(which, slice):
            index = operator.index(which)
            if not -len(self) <= index < len(self):
                raise IndexError(f"event {index} of {len(self)}")
            rows = slice(index % len(self), index % len(self) + 1)
        return Events(self.fire[rows], self.weight[rows], self.receive[rows],
                      list(self.wave[rows]), self.origin[rows], self.t0[rows])

    def octave(self) -> dict[str, Any]:
        """The events as the modules take them (a struct in Octave, with its
        1-based receive indices)."""
        return {"fire": np.asarray(self.fire, dtype=np.float64).T,
                "weight": np.asarray(self.weight, dtype=np.float64).T,
                "receive": (np.asarray(self.receive, dtype=np.float64) + 1.0).T,
                "wave": tuple(self.wave),
                "origin": np.asarray(self.origin, dtype=np.float64).T,
                "t0": np.asarray(self.t0, dtype=np.float64)}


def wave_arrival(points: ArrayLike, kind: WaveKind, origin: ArrayLike, t0: float,
                 cp: float) -> NDArray[np.float64]:
    """When a transmit event's wave reaches points: the one arrival convention.

    The transmit events are made with it (an element fires at the arrival
    at its centre), the imager images with it, and an echo from a point p
    reaches receive element j at the arrival at p plus ``|p - e_j| * 1000 /
    cp`` us. With d(L) = L * 1000 / cp the travel time of a length L:
    a plane wave arrives at ``t0 + d(n . p)``, a diverging one at
    ``t0 + d(|p - v|)``, a focused one at ``t0 - d(|p - f|)`` before its
    focus (smaller z) and ``t0 + d(|p - f|)`` beyond.

    Parameters
    ----------
    points : array_like, shape (No, 3)
        The points, one ``[x, y, z]`` per row, in mm.
    kind : {"plane", "diverging", "focused"}
        The wave's kind.
    origin : array_like, shape (3,)
        The plane wave's unit direction n, the diverging wave's virtual
        source v or the focused wave's focus f, in mm.
    t0 : float
        The arrival at the origin, the departure from v, or the arrival at
        f, in us.
    cp : float
        Sound speed, in m/s (finite, above 0).

    Returns
    -------
    ndarray of float64, shape (No,)
        The arrival times, in us.

    Raises
    ------
    TypeError
        An argument of another kind.
    ValueError
        An argument the module refuses, with its message behind the
        parameter's name.

    See Also
    --------
    Events : The events that carry a wave.

    Notes
    -----
    The same as Octave's ``wave_arrival(points, kind, origin, t0, cp)``, bit
    for bit.

    Examples
    --------
    >>> import velk
    >>> velk.wave_arrival([[0, 0, 15], [0, 0, 25]], "focused", [0, 0, 20], 30, 1000)
    array([25., 35.])
    """
    results, _ = call("wave_arrival", arg.points("points", points), arg.keyword("kind", kind),
                      arg.values("origin", origin), arg.values("t0", t0), arg.values("cp", cp))
    arrivals: NDArray[np.float64] = results[0][0]
    return arrivals


def linear_probe(n: int, pitch: float, size: ArrayLike) -> Probe:
    """A linear probe of rectangular elements, centred on the origin.

    The centres are `linear_array`'s, the elements' sides `size`.

    Parameters
    ----------
    n : int
        Number of elements.
    pitch : float
        Distance between neighbouring centres, in mm.
    size : array_like, shape (2,)
        ``(width, height)`` of each element along x and y, in mm.

    Returns
    -------
    Probe
        The probe.

    Raises
    ------
    ValueError
        A count below 1 or a pitch that is not finite.

    See Also
    --------
    linear_array : The centres alone.

    Notes
    -----
    The same as Octave's ``linear_probe(n, pitch, [width height])``.

    Examples
    --------
    >>> import velk
    >>> velk.linear_probe(128, 0.3, (0.27, 5)).centres.shape
    (128, 3)
    """
    return Probe(linear_array(n, pitch), size=np.ravel(np.asarray(size, dtype=np.float64)))


def element_weights(centres: ArrayLike, apod: Apod) -> NDArray[np.float64]:
    """Apodization weights of an array's elements, as the array functions give them.

    The windows are those of `platewave_array`'s `apod`, at each element's
    distance from the origin over the array's extent.

    Parameters
    ----------
    centres : array_like, shape (Ne, 3)
        The elements' centres, in mm, about the origin.
    apod : str or tuple
        ``"off"``, ``("ud", weights)``, ``"triangle"``, ``("gauss", p)``,
        ``("raised", p)``, ``"simply"`` or ``"clamped"``.

    Returns
    -------
    ndarray of float64, shape (Ne,)
        The weights.

    Raises
    ------
    ValueError
        An apodization the array functions refuse.

    See Also
    --------
    platewave_array : The field of the weighted array.

    Notes
    -----
    The same as Octave's ``element_weights(centres, apod)``.

    Examples
    --------
    >>> import velk
    >>> velk.element_weights([[-1, 0, 0], [0, 0, 0], [1, 0, 0]], "triangle")
    array([0., 1., 0.])
    """
    results, _ = call("platewave_array", arg.points("points", [[0.0, 0.0, 1.0]]),
                      arg.points("elements", centres), arg.values("size", (1.0, 1.0)),
                      arg.values("sampling", (1.0, 1.0)), arg.values("delay", 0.0),
                      arg.values("material", (1.0, 1500.0)), arg.option("focus", "off"),
                      arg.option("steer", "off"), arg.option("apod", apod), n_results=3)
    weights: NDArray[np.float64] = results[2][0]
    return weights


def _transmit_events(probe: Probe, kind: WaveKind, origins: NDArray[np.float64], cp: float,
                     firing: NDArray[np.bool_], weights: NDArray[np.float64],
                     receive: Optional[NDArray[np.int64]] = None) -> Events:
    """Events whose firing elements fire at the wave's arrival at their
    centres, the earliest at 0; as Octave's transmit_events."""
    centres = np.asarray(probe.centres, dtype=np.float64)
    n, Ne = len(origins), len(centres)
    fire = np.zeros((n, Ne))
    t0 = np.zeros(n)
    for e in range(n):
        members = centres[firing[e]]
        t0[e] = -np.min(wave_arrival(members, kind, origins[e], 0.0, cp))
        fire[e, firing[e]] = wave_arrival(members, kind, origins[e], t0[e], cp)
    if receive is None:
        receive = np.tile(np.arange(Ne), (n, 1))
    return Events(fire, weights * firing, receive, [kind] * n, origins, t0)


def plane_wave_events(probe: Probe, angles: ArrayLike, cp: float, apod: Apod = "off") -> Events:
    """Transmit events of plane waves at angles.

    One event per angle (degrees, in the x-z plane, positive towards +x):
    every element fires as the wave of direction ``(sin a, 0, cos a)``
    reaches its centre, the earliest at 0, weighted by the window `apod`
    over the aperture; every element receives.

    Parameters
    ----------
    probe : Probe
        The probe.
    angles : array_like, shape (n,)
        The waves' angles, in degrees.
    cp : float
        Sound speed, in m/s.
    apod : str or tuple
        The transmit apodization, as `element_weights` takes it.

    Returns
    -------
    Events
        The n events.

    Raises
    ------
    ValueError
        An apodization or sound speed the modules refuse.

    See Also
    --------
    fmc_events : Every element alone.
    diverging_wave_events : Waves from virtual sources.
    focused_events : Focused beams on sub-apertures.

    Notes
    -----
    The same as Octave's ``plane_wave_events(probe, angles, cp, apod)``.

    Examples
    --------
    >>> import velk
    >>> events = velk.plane_wave_events(velk.linear_probe(8, 0.3, (0.27, 5)), [-5, 0, 5], 1540)
    >>> len(events)
    3
    """
    a = np.radians(np.ravel(np.asarray(angles, dtype=np.float64)))
    origins = np.column_stack([np.sin(a), np.zeros(len(a)), np.cos(a)])
    Ne = len(probe.centres)
    weights = np.tile(element_weights(probe.centres, apod), (len(a), 1))
    return _transmit_events(probe, "plane", origins, cp, np.ones((len(a), Ne), bool), weights)


def fmc_events(probe: Probe) -> Events:
    """Full-matrix capture: every element fires alone, every element receives.

    Event e fires element e at time 0 with weight 1; its wave is the
    diverging wave of a source at the element's centre.

    Parameters
    ----------
    probe : Probe
        The probe.

    Returns
    -------
    Events
        Ne events.

    Raises
    ------
    ValueError
        Never for a valid probe; as `wave_arrival` otherwise.

    See Also
    --------
    plane_wave_events : Plane waves at angles.

    Notes
    -----
    The same as Octave's ``fmc_events(probe)``.

    Examples
    --------
    >>> import velk
    >>> len(velk.fmc_events(velk.linear_probe(64, 0.3, (0.27, 5))))
    64
    """
    centres = np.asarray(probe.centres, dtype=np.float64)
    Ne = len(centres)
    return _transmit_events(probe, "diverging", centres, 1540.0, np.eye(Ne, dtype=bool),
                            np.ones((Ne, Ne)))


def diverging_wave_events(probe: Probe, sources: ArrayLike, cp: float,
                          apod: Apod = "off") -> Events:
    """Transmit events of diverging waves from virtual sources.

    One event per source (behind the probe, z < 0, or on it): every element
    fires as the spherical wave from the source reaches its centre, the
    earliest at 0, weighted by the window `apod`; every element receives.

    Parameters
    ----------
    probe : Probe
        The probe.
    sources : array_like, shape (n, 3)
        The virtual sources, in mm.
    cp : float
        Sound speed, in m/s.
    apod : str or tuple
        The transmit apodization, as `element_weights` takes it.

    Returns
    -------
    Events
        The n events.

    Raises
    ------
    ValueError
        An apodization or sound speed the modules refuse.

    See Also
    --------
    plane_wave_events : Plane waves at angles.
    focused_events : Focused beams on sub-apertures.

    Notes
    -----
    The same as Octave's ``diverging_wave_events(probe, sources, cp, apod)``.

    Examples
    --------
    >>> import velk
    >>> probe = velk.linear_probe(8, 0.3, (0.27, 5))
    >>> velk.diverging_wave_events(probe, [[0, 0, -10]], 1540).fire.shape
    (1, 8)
    """
    origins = np.atleast_2d(np.asarray(sources, dtype=np.float64))
    Ne = len(probe.centres)
    weights = np.tile(element_weights(probe.centres, apod), (len(origins), 1))
    return _transmit_events(probe, "diverging", origins, cp,
                            np.ones((len(origins), Ne), bool), weights)


def focused_events(probe: Probe, foci: ArrayLike, cp: float, n_aperture: int,
                   apod: Apod = "off") -> Events:
    """Transmit events of beams focused at points, on sub-apertures.

    For each focus, the `n_aperture` elements nearest it laterally (the
    aperture kept inside the probe) fire so that their waves meet at the
    focus, the outermost first at 0, weighted by the window `apod` over the
    sub-aperture; the same elements receive.

    Parameters
    ----------
    probe : Probe
        The probe.
    foci : array_like, shape (n, 3)
        The focal points, in mm, in front of the probe.
    cp : float
        Sound speed, in m/s.
    n_aperture : int
        Elements of each sub-aperture, 1 to Ne.
    apod : str or tuple
        The apodization over each sub-aperture.

    Returns
    -------
    Events
        The n events, each received on its `n_aperture` elements.

    Raises
    ------
    ValueError
        A sub-aperture of no element or more elements than the probe has.

    See Also
    --------
    plane_wave_events : Plane waves at angles.

    Notes
    -----
    The same as Octave's ``focused_events(probe, foci, cp, n_aperture, apod)``.

    Examples
    --------
    >>> import velk
    >>> probe = velk.linear_probe(8, 0.3, (0.27, 5))
    >>> velk.focused_events(probe, [[0, 0, 10], [1, 0, 20]], 1540, 4).receive
    array([[2, 3, 4, 5],
           [4, 5, 6, 7]])
    """
    C = np.asarray(probe.centres, dtype=np.float64)
    F = np.atleast_2d(np.asarray(foci, dtype=np.float64))
    Ne, n = len(C), len(F)
    if not 1 <= int(n_aperture) <= Ne:
        raise ValueError(f"n_aperture must be a whole number from 1 to {Ne}, not {n_aperture}")
    firing = np.zeros((n, Ne), bool)
    weights = np.zeros((n, Ne))
    receive = np.zeros((n, int(n_aperture)), np.int64)
    for e in range(n):
        order = np.argsort(np.hypot(C[:, 0] - F[e, 0], C[:, 1] - F[e, 1]), kind="stable")
        members = np.sort(order[:int(n_aperture)])
        firing[e, members] = True
        middle = (C[members].min(axis=0) + C[members].max(axis=0)) / 2
        weights[e, members] = element_weights(C[members] - middle, apod)
        receive[e] = members
    return _transmit_events(probe, "focused", F, cp, firing, weights, receive)
