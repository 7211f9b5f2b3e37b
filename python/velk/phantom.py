"""A cyst phantom: point scatterers of fully developed speckle in a box, with
round cysts that hold none (anechoic) or scatter 20 dB more (bright), and
point targets, to image and measure with `velk.quality`."""
from dataclasses import dataclass
from typing import Literal, Optional, Sequence, Tuple, Union

import numpy as np
from numpy.typing import ArrayLike, NDArray

CystKind = Literal["anechoic", "bright"]
CystShape = Literal["cylinder", "sphere"]
Box = Tuple[Tuple[float, float], Tuple[float, float], Tuple[float, float]]

#: The amplitude factor of scatterers inside a bright cyst: 10, i.e. +20 dB.
BRIGHT_FACTOR = 10.0

#: The default box, in mm: 40 mm wide (x), a 10 mm slab (y), 50 mm deep (z)
#: from 5 mm in front of the probe.
DEFAULT_BOX: Box = ((-20.0, 20.0), (-5.0, 5.0), (5.0, 55.0))


@dataclass(frozen=True, eq=False)
class Cyst:
    """A round region of a phantom that scatters nothing or scatters more.

    The cyst refuses, as it is made, a radius that is not positive and a
    kind or shape it does not know. Cysts compare (``==``) and hash as
    objects, not by their arrays.

    Parameters
    ----------
    centre : ndarray of float64, shape (3,)
        ``[x, y, z]`` of the centre, in mm; a cylinder's axis passes through
        it, parallel to y.
    radius : float
        The radius, in mm.
    kind : {"anechoic", "bright"}
        An anechoic cyst holds no scatterer; a bright one's scatterers have
        `BRIGHT_FACTOR` (10, +20 dB) times their amplitude.
    shape : {"cylinder", "sphere"}
        A cylinder along y through the whole slab (a disc of the same radius
        in every x-z plane, as seen by a linear probe whatever its elevation
        beam), or a sphere.

    See Also
    --------
    cysts : The phantom that holds cysts.

    Examples
    --------
    >>> from velk.phantom import Cyst
    >>> Cyst((0, 0, 30), 2.0, "anechoic").contains([[1, 4, 31], [0, 0, 33]])
    array([ True, False])
    """

    centre: NDArray[np.float64]
    radius: float
    kind: CystKind
    shape: CystShape = "cylinder"

    def __post_init__(self) -> None:
        centre = np.asarray(self.centre, dtype=np.float64).ravel()
        if centre.shape != (3,) or not np.all(np.isfinite(centre)):
            raise ValueError(f"centre must be 3 finite coordinates, not {self.centre!r}")
        if not (np.isfinite(self.radius) and self.radius > 0):
            raise ValueError(f"radius must be positive, not {self.radius}")
        if self.kind not in ("anechoic", "bright"):
            raise ValueError(f"kind must be 'anechoic' or 'bright', not {self.kind!r}")
        if self.shape not in ("cylinder", "sphere"):
            raise ValueError(f"shape must be 'cylinder' or 'sphere', not {self.shape!r}")
        object.__setattr__(self, "centre", centre)
        object.__setattr__(self, "radius", float(self.radius))

    def contains(self, points: ArrayLike) -> NDArray[np.bool_]:
        """Which points lie inside the cyst (on its surface counts as inside).

        A cylinder's test leaves out y: the distance to its axis.

        Parameters
        ----------
        points : array_like, shape (n, 3)
            The points, one ``[x, y, z]`` per row, in mm.

        Returns
        -------
        ndarray of bool, shape (n,)
            True for a point inside.

        See Also
        --------
        cysts : The phantom maker, which empties or brightens these points.

        Examples
        --------
        >>> from velk.phantom import Cyst
        >>> Cyst((0, 0, 30), 2.0, "bright", "sphere").contains([[0, 1.5, 30], [0, 2.5, 30]])
        array([ True, False])
        """
        d = np.atleast_2d(np.asarray(points, dtype=np.float64)) - self.centre
        if self.shape == "cylinder":
            d[:, 1] = 0.0
        inside: NDArray[np.bool_] = np.einsum("ij,ij->i", d, d) <= self.radius ** 2
        return inside


@dataclass(frozen=True, eq=False)
class Phantom:
    """Point scatterers and what they were made of.

    The simulator takes `positions` and `amplitudes`; `cysts` and `targets`
    tell the image-quality metrics where to measure. Phantoms compare (``==``)
    and hash as objects, not by their arrays.

    Parameters
    ----------
    positions : ndarray of float64, shape (n, 3)
        The scatterers, one ``[x, y, z]`` per row, in mm: the speckle's,
        then the point targets (the last m rows).
    amplitudes : ndarray of float64, shape (n,)
        Each scatterer's amplitude.
    box : tuple
        ``((x0, x1), (y0, y1), (z0, z1))``, the box of the speckle, in mm.
    cysts : tuple of Cyst
        The cysts.
    targets : ndarray of float64, shape (m, 3)
        The point targets, in mm.

    See Also
    --------
    cysts : The phantom maker.

    Examples
    --------
    >>> from velk.phantom import cysts
    >>> p = cysts(density=1.0)
    >>> p.positions.shape[0] == p.amplitudes.shape[0]
    True
    """

    positions: NDArray[np.float64]
    amplitudes: NDArray[np.float64]
    box: Box
    cysts: Tuple[Cyst, ...]
    targets: NDArray[np.float64]


def default_cysts() -> Tuple[Cyst, ...]:
    """The cysts of the default phantom.

    A column of anechoic cylinders at x = -10 mm and one of bright cylinders
    at x = +10 mm, at depths 15, 25, 35 and 45 mm, of radii 4, 3, 2 and 1 mm
    (the largest nearest the probe).

    Returns
    -------
    tuple of Cyst
        The eight cysts, the anechoic ones first (Octave's ``cyst_phantom``
        has the same).

    See Also
    --------
    default_targets : The point targets of the default phantom.

    Examples
    --------
    >>> from velk.phantom import default_cysts
    >>> [c.radius for c in default_cysts()][:4]
    [4.0, 3.0, 2.0, 1.0]
    """
    layout = [(15.0, 4.0), (25.0, 3.0), (35.0, 2.0), (45.0, 1.0)]
    columns: "list[tuple[float, CystKind]]" = [(-10.0, "anechoic"), (10.0, "bright")]
    return tuple(Cyst(np.array([x, 0.0, z]), r, kind) for x, kind in columns for z, r in layout)


def default_targets() -> NDArray[np.float64]:
    """The point targets of the default phantom.

    A column at x = 0, y = 0, every 5 mm from 10 to 50 mm deep.

    Returns
    -------
    ndarray of float64, shape (9, 3)
        The targets, in mm (Octave's ``cyst_phantom`` has the same).

    See Also
    --------
    default_cysts : The cysts of the default phantom.

    Examples
    --------
    >>> from velk.phantom import default_targets
    >>> default_targets()[:, 2]
    array([10., 15., 20., 25., 30., 35., 40., 45., 50.])
    """
    z = np.arange(10.0, 50.1, 5.0)
    return np.column_stack([np.zeros_like(z), np.zeros_like(z), z])


def speckle_density(wavelength: float = 0.308, f_number: float = 2.0,
                    elevation_f_number: float = 6.0, pulse_cycles: float = 2.0,
                    per_cell: float = 10.0, thickness: float = np.inf) -> float:
    """The scatterers per mm^3 that put `per_cell` in each resolution cell.

    The cell is the volume an image sample sees:
    lateral width ``wavelength * f_number``, elevation width
    ``min(wavelength * elevation_f_number, thickness)`` (the slab limits it
    when thinner than the elevation beam) and axial length
    ``pulse_cycles * wavelength / 2`` (half the pulse's length ``c T``).
    Ten or more scatterers per cell give fully developed speckle (Rayleigh
    envelope statistics).

    Parameters
    ----------
    wavelength : float
        The wavelength at the centre frequency, in mm (0.308: 5 MHz at
        1540 m/s).
    f_number : float
        Depth over the lateral aperture.
    elevation_f_number : float
        Depth over the elevation aperture (the element height).
    pulse_cycles : float
        The pulse's length in cycles.
    per_cell : float
        Scatterers per cell.
    thickness : float
        The slab's thickness along y, in mm.

    Returns
    -------
    float
        The density, per mm^3.

    Raises
    ------
    ValueError
        An argument that is not positive.

    See Also
    --------
    cysts : The phantom made at this density.

    Notes
    -----
    Octave's ``cyst_phantom`` uses the same cell.

    Examples
    --------
    >>> from velk.phantom import speckle_density
    >>> round(speckle_density(), 2)
    28.52
    """
    for name, value in (("wavelength", wavelength), ("f_number", f_number),
                        ("elevation_f_number", elevation_f_number),
                        ("pulse_cycles", pulse_cycles), ("per_cell", per_cell),
                        ("thickness", thickness)):
        if not value > 0 or np.isnan(value):
            raise ValueError(f"{name} must be positive, not {value}")
    cell = (wavelength * f_number) * min(wavelength * elevation_f_number, thickness) \
        * (pulse_cycles * wavelength / 2.0)
    return float(per_cell / cell)


def _box(box: ArrayLike) -> Box:
    b = np.asarray(box, dtype=np.float64)
    if b.shape != (3, 2) or not np.all(np.isfinite(b)):
        raise ValueError(f"box must be ((x0, x1), (y0, y1), (z0, z1)), not {box!r}")
    for axis, (lo, hi) in zip("xyz", b):
        if not hi > lo:
            raise ValueError(f"box must have {axis}1 > {axis}0, not {axis}0 = {lo:g}, "
                             f"{axis}1 = {hi:g}")
    (x0, x1), (y0, y1), (z0, z1) = b.tolist()
    return ((x0, x1), (y0, y1), (z0, z1))


def _cyst(c: Union[Cyst, Sequence[object]], box: Box) -> Cyst:
    cyst = c if isinstance(c, Cyst) else Cyst(*c)  # type: ignore[arg-type]
    lo = np.array([b[0] for b in box])
    hi = np.array([b[1] for b in box])
    reach = np.full(3, cyst.radius)
    if cyst.shape == "cylinder":
        reach[1] = 0.0
    if np.any(cyst.centre - reach < lo) or np.any(cyst.centre + reach > hi):
        raise ValueError(f"cyst must lie inside the box, not centre {cyst.centre.tolist()} "
                         f"radius {cyst.radius:g} in box {[list(b) for b in box]}")
    return cyst


def cysts(box: ArrayLike = DEFAULT_BOX, *,
          cysts: Optional[Sequence[Union[Cyst, Sequence[object]]]] = None,
          targets: Optional[ArrayLike] = None, density: Optional[float] = None,
          wavelength: float = 0.308, f_number: float = 2.0, elevation_f_number: float = 6.0,
          pulse_cycles: float = 2.0, per_cell: float = 10.0, target_amplitude: float = 20.0,
          seed: int = 0) -> Phantom:
    """A cyst phantom: speckle scatterers in a box, cysts and point targets.

    ``round(density * volume)`` scatterers are drawn uniformly in the box,
    each with a standard normal amplitude (rms 1); those inside an anechoic
    cyst are then removed, those inside a bright one multiplied by
    `BRIGHT_FACTOR` (10, +20 dB). The point targets follow, with amplitude
    `target_amplitude` (20 times the speckle's rms). Unless given,
    `density` is `speckle_density` of the cell parameters and the box's
    thickness: with every default, 28.52 per mm^3, 570,422 scatterers drawn
    in the 40 x 10 x 50 mm box; 543,169 are left, with seed 0, once the
    anechoic cysts are emptied, plus the 9 targets.

    Parameters
    ----------
    box : array_like, shape (3, 2)
        ``((x0, x1), (y0, y1), (z0, z1))``, in mm (`DEFAULT_BOX`: x from -20
        to 20, y from -5 to 5, z from 5 to 55).
    cysts : sequence of Cyst or of (centre, radius, kind[, shape]), optional
        The cysts, each inside the box (default: `default_cysts`; ``()`` for
        none).
    targets : array_like, shape (m, 3), optional
        The point targets, in mm, inside the box (default:
        `default_targets`; an empty (0, 3) array for none).
    density : float, optional
        Scatterers per mm^3, instead of `speckle_density`'s.
    wavelength : float
        The wavelength at the centre frequency, in mm.
    f_number : float
        Lateral F-number of the resolution cell.
    elevation_f_number : float
        Elevation F-number of the resolution cell.
    pulse_cycles : float
        The pulse's length in cycles.
    per_cell : float
        Scatterers per resolution cell.
    target_amplitude : float
        The point targets' amplitude.
    seed : int
        The seed of NumPy's default generator: the same seed gives the same
        phantom.

    Returns
    -------
    Phantom
        The phantom.

    Raises
    ------
    ValueError
        An empty box, a cyst of radius not positive, of another kind or
        reaching outside the box, a target outside the box, or a density or
        cell parameter not positive.

    See Also
    --------
    speckle_density : The density that gives fully developed speckle.
    velk.quality.contrast_db : The contrast of a cyst in the image.

    Notes
    -----
    The same as Octave's ``cyst_phantom (box, ...)`` with the same layout
    and defaults; the scatterers are drawn by another generator, so they
    are not the same points.

    Examples
    --------
    >>> from velk.phantom import cysts
    >>> p = cysts(((-5, 5), (-1, 1), (10, 20)), cysts=[((0, 0, 15), 2, "anechoic")],
    ...           targets=[[3, 0, 12]], density=20)
    >>> p.positions.shape, p.amplitudes[-1]
    ((3507, 3), 20.0)
    """
    b = _box(box)
    made = tuple(_cyst(c, b) for c in (default_cysts() if cysts is None else cysts))
    points = default_targets() if targets is None else np.asarray(targets, dtype=np.float64)
    points = points.reshape(-1, 3) if points.size == 0 else points
    lo = np.array([v[0] for v in b])
    hi = np.array([v[1] for v in b])
    if points.ndim != 2 or points.shape[1] != 3:
        raise ValueError(f"targets must be an (m, 3) array, not of shape {points.shape}")
    outside = ~np.all((points >= lo) & (points <= hi), axis=1)
    if np.any(outside):
        raise ValueError(f"targets must lie inside the box, not {points[outside][0].tolist()}")
    if density is None:
        density = speckle_density(wavelength, f_number, elevation_f_number, pulse_cycles,
                                  per_cell, b[1][1] - b[1][0])
    elif not (np.isfinite(density) and density > 0):
        raise ValueError(f"density must be positive, not {density}")
    count = int(round(density * float(np.prod(hi - lo))))
    rng = np.random.default_rng(seed)
    positions = lo + (hi - lo) * rng.random((count, 3))
    amplitudes = rng.standard_normal(count)
    keep = np.ones(count, dtype=bool)
    for c in made:
        inside = c.contains(positions)
        if c.kind == "anechoic":
            keep &= ~inside
        else:
            amplitudes[inside] *= BRIGHT_FACTOR
    target_amplitudes = np.full(len(points), float(target_amplitude))
    return Phantom(np.concatenate([positions[keep], points]),
                   np.concatenate([amplitudes[keep], target_amplitudes]), b, made, points.copy())
