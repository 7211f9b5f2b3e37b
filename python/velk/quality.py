"""Image-quality metrics of an envelope (B-mode before log compression):
cyst contrast, contrast-to-noise ratio, speckle SNR, and the -6 dB widths of
a point target, with the textbook widths to compare them with.

Every image is a 2-D array ``image[iz, ix]``: a row per depth ``z[iz]``, a
column per lateral position ``x[ix]``, both in mm. The metrics take the
envelope's amplitude (not its square, not its log) and its means: a
contrast in dB is 20 log10 of a ratio of mean amplitudes.
"""
from typing import NamedTuple, Optional

import numpy as np
from numpy.typing import ArrayLike, NDArray

#: sqrt(pi/2) / sqrt(2 - pi/2): the mean over the standard deviation of a
#: Rayleigh amplitude, the speckle SNR of fully developed speckle.
RAYLEIGH_SNR = float(np.sqrt(np.pi / 2) / np.sqrt(2 - np.pi / 2))


class Widths(NamedTuple):
    """The axial and lateral widths of a point's image, in mm.

    What `point_widths` measures and `expected_widths` estimates.

    Parameters
    ----------
    axial : float
        The width along z, in mm.
    lateral : float
        The width along x, in mm.

    See Also
    --------
    point_widths : The measured widths.

    Examples
    --------
    >>> from velk.quality import Widths
    >>> Widths(0.3, 0.7).lateral
    0.7
    """

    axial: float
    lateral: float


def _axes(x: ArrayLike, z: ArrayLike) -> "tuple[NDArray[np.float64], NDArray[np.float64]]":
    xs = np.ravel(np.asarray(x, dtype=np.float64))
    zs = np.ravel(np.asarray(z, dtype=np.float64))
    return xs, zs


def _centre(centre: ArrayLike) -> "tuple[float, float]":
    c = np.ravel(np.asarray(centre, dtype=np.float64))
    if c.size == 2:
        return float(c[0]), float(c[1])
    if c.size == 3:
        return float(c[0]), float(c[2])
    raise ValueError(f"centre must be (x, z) or (x, y, z), not {centre!r}")


def _distance(x: ArrayLike, z: ArrayLike, centre: ArrayLike) -> NDArray[np.float64]:
    xs, zs = _axes(x, z)
    cx, cz = _centre(centre)
    d: NDArray[np.float64] = np.hypot(xs[np.newaxis, :] - cx, zs[:, np.newaxis] - cz)
    return d


def region_mask(x: ArrayLike, z: ArrayLike, centre: ArrayLike,
                radius: float) -> NDArray[np.bool_]:
    """The pixels of an image within a disc.

    A pixel lies in the disc when its centre does.

    Parameters
    ----------
    x : array_like, shape (nx,)
        The image's lateral positions, in mm.
    z : array_like, shape (nz,)
        The image's depths, in mm.
    centre : array_like, shape (2,) or (3,)
        The disc's centre, ``(x, z)`` or a point ``(x, y, z)`` (a cyst's
        centre; y is not used), in mm.
    radius : float
        The disc's radius, in mm.

    Returns
    -------
    ndarray of bool, shape (nz, nx)
        True at the pixels whose distance to the centre is at most `radius`.

    Raises
    ------
    ValueError
        A radius that is not positive.

    See Also
    --------
    ring_mask : The pixels of a ring about a disc.

    Notes
    -----
    The same as Octave's ``image_quality (env, x, z, "mask", [xc zc radius])``.

    Examples
    --------
    >>> from velk.quality import region_mask
    >>> region_mask([-1, 0, 1], [9, 10, 11], (0, 10), 1.0).astype(int)
    array([[0, 1, 0],
           [1, 1, 1],
           [0, 1, 0]])
    """
    if not radius > 0:
        raise ValueError(f"radius must be positive, not {radius}")
    mask: NDArray[np.bool_] = _distance(x, z, centre) <= radius
    return mask


def ring_mask(x: ArrayLike, z: ArrayLike, centre: ArrayLike, r_in: float,
              r_out: float) -> NDArray[np.bool_]:
    """The pixels of an image within a ring: the background about a cyst.

    A pixel lies in the ring when its centre does.

    Parameters
    ----------
    x : array_like, shape (nx,)
        The image's lateral positions, in mm.
    z : array_like, shape (nz,)
        The image's depths, in mm.
    centre : array_like, shape (2,) or (3,)
        The ring's centre, ``(x, z)`` or ``(x, y, z)``, in mm.
    r_in : float
        The inner radius, in mm (0 or more): pixels nearer are outside.
    r_out : float
        The outer radius, in mm (above `r_in`).

    Returns
    -------
    ndarray of bool, shape (nz, nx)
        True at the pixels whose distance d to the centre has
        ``r_in < d <= r_out``.

    Raises
    ------
    ValueError
        A negative inner radius or an outer one not above it.

    See Also
    --------
    region_mask : The pixels of a disc.

    Notes
    -----
    The same as Octave's ``image_quality (env, x, z, "mask", [xc zc r_in r_out])``.

    Examples
    --------
    >>> from velk.quality import ring_mask
    >>> ring_mask([-1, 0, 1], [9, 10, 11], (0, 10), 0.5, 1.0).astype(int)
    array([[0, 1, 0],
           [1, 0, 1],
           [0, 1, 0]])
    """
    if not r_in >= 0:
        raise ValueError(f"r_in must be 0 or more, not {r_in}")
    if not r_out > r_in:
        raise ValueError(f"r_out must be above r_in = {r_in}, not {r_out}")
    d = _distance(x, z, centre)
    mask: NDArray[np.bool_] = (d > r_in) & (d <= r_out)
    return mask


def _regions(envelope: ArrayLike, *masks: ArrayLike) -> "list[NDArray[np.float64]]":
    env = np.asarray(envelope, dtype=np.float64)
    values = []
    for name, mask in zip(("inside", "outside"), masks):
        m = np.asarray(mask, dtype=bool)
        if m.shape != env.shape:
            raise ValueError(f"{name} must be a mask of the envelope's shape {env.shape}, "
                             f"not {m.shape}")
        if not m.any():
            raise ValueError(f"{name} must hold at least one pixel, not none")
        values.append(env[m])
    return values


def contrast_db(envelope: ArrayLike, inside: ArrayLike, outside: ArrayLike) -> float:
    """The contrast of a region against its background, in dB.

    ``20 log10(mean_in / mean_out)`` of the envelope's amplitude: about
    -inf for an anechoic cyst whose pixels are all 0 (no floor is added),
    +20 for a region that scatters 10 times the amplitude.

    Parameters
    ----------
    envelope : array_like, shape (nz, nx)
        The envelope, ``envelope[iz, ix]``, 0 or more.
    inside : array_like of bool, shape (nz, nx)
        The region's pixels (`region_mask`).
    outside : array_like of bool, shape (nz, nx)
        The background's pixels (`ring_mask`).

    Returns
    -------
    float
        The contrast, in dB: -inf when the region's mean is 0, +inf when the
        background's is.

    Raises
    ------
    ValueError
        A mask of another shape than the envelope's, or of no pixel.

    See Also
    --------
    cnr : The contrast over the speckle's spread.

    Notes
    -----
    The same as Octave's ``image_quality (env, x, z, "contrast", inside, outside)``.

    Examples
    --------
    >>> import numpy as np
    >>> from velk.quality import contrast_db
    >>> env = np.array([[1.0, 10.0]])
    >>> round(contrast_db(env, [[False, True]], [[True, False]]), 6)
    20.0
    """
    values_in, values_out = _regions(envelope, inside, outside)
    with np.errstate(divide="ignore"):
        return float(20 * (np.log10(values_in.mean()) - np.log10(values_out.mean())))


def cnr(envelope: ArrayLike, inside: ArrayLike, outside: ArrayLike) -> float:
    """The contrast-to-noise ratio of a region against its background.

    ``|mu_in - mu_out| / sqrt(var_in + var_out)`` of the envelope's
    amplitude (population variances).

    Parameters
    ----------
    envelope : array_like, shape (nz, nx)
        The envelope, ``envelope[iz, ix]``.
    inside : array_like of bool, shape (nz, nx)
        The region's pixels.
    outside : array_like of bool, shape (nz, nx)
        The background's pixels.

    Returns
    -------
    float
        The ratio (inf for two different constant regions, nan for two
        equal ones).

    Raises
    ------
    ValueError
        A mask of another shape than the envelope's, or of no pixel.

    See Also
    --------
    contrast_db : The ratio of the means.

    Notes
    -----
    The same as Octave's ``image_quality (env, x, z, "cnr", inside, outside)``.

    Examples
    --------
    >>> import numpy as np
    >>> from velk.quality import cnr
    >>> env = np.array([[0.0, 2.0, 2.0, 4.0]])
    >>> round(cnr(env, [[1, 1, 0, 0]], [[0, 0, 1, 1]]), 4)
    1.4142
    """
    values_in, values_out = _regions(envelope, inside, outside)
    spread = np.sqrt(values_in.var() + values_out.var())
    with np.errstate(divide="ignore", invalid="ignore"):
        return float(abs(values_in.mean() - values_out.mean()) / spread)


def speckle_snr(envelope: ArrayLike, region: ArrayLike) -> float:
    """The speckle SNR of a region.

    The envelope's mean over its standard deviation. Fully developed
    speckle has a Rayleigh envelope, whose SNR is
    `RAYLEIGH_SNR`, ``sqrt(pi/2) / sqrt(2 - pi/2) = 1.913``; fewer
    scatterers per resolution cell, or a coherent part (a specular
    reflector), give more.

    Parameters
    ----------
    envelope : array_like, shape (nz, nx)
        The envelope, ``envelope[iz, ix]``.
    region : array_like of bool, shape (nz, nx)
        The region's pixels.

    Returns
    -------
    float
        The SNR (population standard deviation).

    Raises
    ------
    ValueError
        A mask of another shape than the envelope's, or of no pixel.

    See Also
    --------
    cnr : The contrast-to-noise ratio of two regions.

    Notes
    -----
    The same as Octave's ``image_quality (env, x, z, "speckle_snr", region)``.

    Examples
    --------
    >>> import numpy as np
    >>> from velk.quality import speckle_snr
    >>> env = np.random.default_rng(1).rayleigh(size=(200, 200))
    >>> round(speckle_snr(env, np.ones(env.shape, bool)), 1)
    1.9
    """
    (values,) = _regions(envelope, region)
    with np.errstate(divide="ignore", invalid="ignore"):
        return float(values.mean() / values.std())


def fwhm(profile: ArrayLike, axis: ArrayLike, level_db: float = -6.0,
         peak: Optional[int] = None) -> float:
    """The width of a profile's peak at a level below it.

    From the profile's largest sample (or sample `peak`), the first sample
    on each side below
    ``peak * 10**(level_db / 20)``; each crossing is placed by linear
    interpolation between that sample and the one before it. At
    ``level_db = 20 log10(0.5)`` (-6.02) it is the full width at half
    maximum of an amplitude: 2.3548 sigma for a Gaussian.

    Parameters
    ----------
    profile : array_like, shape (n,)
        The amplitude (an envelope's line, not in dB).
    axis : array_like, shape (n,)
        The positions of the samples, increasing, in mm.
    level_db : float
        The level, in dB below the peak (negative).
    peak : int, optional
        The index of the peak to measure, when it is not the largest sample.

    Returns
    -------
    float
        The width, in the units of `axis`.

    Raises
    ------
    ValueError
        Profile and axis of other lengths, an axis not increasing, a level
        not negative, a peak index outside the profile or a peak not above 0,
        or a profile that does not fall
        below the level on both sides of its peak.

    See Also
    --------
    point_widths : A point target's axial and lateral widths.

    Notes
    -----
    The same as Octave's ``profile_width (profile, axis, level_db, peak)``, whose
    `peak` counts from 1.

    Examples
    --------
    >>> import numpy as np
    >>> from velk.quality import fwhm
    >>> fwhm([0, 1, 2, 1, 0], [0, 1, 2, 3, 4], 20 * np.log10(0.5))
    2.0
    """
    p = np.ravel(np.asarray(profile, dtype=np.float64))
    a = np.ravel(np.asarray(axis, dtype=np.float64))
    if p.shape != a.shape:
        raise ValueError(f"axis must have the profile's {p.size} samples, not {a.size}")
    if p.size < 3 or not np.all(np.diff(a) > 0):
        raise ValueError("axis must be increasing, with 3 samples or more")
    if not level_db < 0:
        raise ValueError(f"level_db must be negative, not {level_db}")
    if peak is None:
        peak = int(np.argmax(p))
    elif not 0 <= peak < p.size:
        raise ValueError(f"peak must be an index from 0 to {p.size - 1}, not {peak}")
    if not p[peak] > 0:
        raise ValueError(f"profile must have a peak above 0, not {p[peak]}")
    level = p[peak] * 10 ** (level_db / 20)
    below = np.flatnonzero(p < level)
    left, right = below[below < peak], below[below > peak]
    if left.size == 0 or right.size == 0:
        raise ValueError(f"profile must fall below {level_db:g} dB of its peak on both sides")
    i, j = left[-1], right[0]
    x_left = a[i] + (level - p[i]) / (p[i + 1] - p[i]) * (a[i + 1] - a[i])
    x_right = a[j - 1] + (p[j - 1] - level) / (p[j - 1] - p[j]) * (a[j] - a[j - 1])
    return float(x_right - x_left)


def point_widths(envelope: ArrayLike, x: ArrayLike, z: ArrayLike, target: ArrayLike,
                 window: float = 2.0, level_db: float = -6.0) -> Widths:
    """The axial and lateral widths of a point target's image.

    The peak is the envelope's largest pixel within `window` of the target
    in x and in z; the axial width is `fwhm` of the column through it
    (along z), the lateral one of the row through it (along x), both
    measured from that pixel (a brighter peak farther away is not it).

    Parameters
    ----------
    envelope : array_like, shape (nz, nx)
        The envelope, ``envelope[iz, ix]``.
    x : array_like, shape (nx,)
        The lateral positions, increasing, in mm.
    z : array_like, shape (nz,)
        The depths, increasing, in mm.
    target : array_like, shape (2,) or (3,)
        Where the target is, ``(x, z)`` or ``(x, y, z)``, in mm.
    window : float
        How far from the target the peak is looked for, in mm.
    level_db : float
        The level of the widths, in dB below the peak.

    Returns
    -------
    Widths
        ``(axial, lateral)``, in mm.

    Raises
    ------
    ValueError
        An envelope not of shape (nz, nx), no pixel within the window, or
        a line through the peak that `fwhm` refuses.

    See Also
    --------
    expected_widths : The widths to expect.

    Notes
    -----
    The same as Octave's ``image_quality (env, x, z, "widths", target, window, level_db)``.

    Examples
    --------
    >>> import numpy as np
    >>> from velk.quality import point_widths
    >>> x, z = np.linspace(-2, 2, 201), np.linspace(28, 32, 201)
    >>> env = np.exp(-((z[:, None] - 30) / 0.2) ** 2 - (x[None, :] / 0.5) ** 2)
    >>> w = point_widths(env, x, z, (0, 30), level_db=20 * np.log10(0.5))
    >>> round(w.axial, 3), round(w.lateral, 3)
    (0.333, 0.833)
    """
    env = np.asarray(envelope, dtype=np.float64)
    xs, zs = _axes(x, z)
    if env.shape != (zs.size, xs.size):
        raise ValueError(f"envelope must be of shape (nz, nx) = {(zs.size, xs.size)}, "
                         f"not {env.shape}")
    cx, cz = _centre(target)
    near_x = np.flatnonzero(np.abs(xs - cx) <= window)
    near_z = np.flatnonzero(np.abs(zs - cz) <= window)
    if near_x.size == 0 or near_z.size == 0:
        raise ValueError(f"target must have pixels within {window:g} mm, not {(cx, cz)}")
    part = env[np.ix_(near_z, near_x)]
    pz, px = np.unravel_index(int(np.argmax(part)), part.shape)
    iz, ix = int(near_z[pz]), int(near_x[px])
    return Widths(fwhm(env[:, ix], zs, level_db, iz), fwhm(env[iz, :], xs, level_db, ix))


#: Full widths of sinc(u) = sin(u)/u at half amplitude (u = 1.8955) and of
#: sinc(u)**2 at half amplitude (u = 1.3916), over pi / 2: the lateral -6 dB
#: width of a uniform aperture's focal beam, in units of wavelength * F-number.
ONE_WAY_FACTOR = 1.2067
TWO_WAY_FACTOR = 0.8859


def expected_widths(wavelength: float, f_number: float, pulse_length: float,
                    two_way: bool = False) -> Widths:
    """Textbook -6 dB widths of a point's image, to compare measured ones with.

    Laterally, the focal field of a uniformly weighted aperture is the
    Fourier transform of the aperture: ``sinc(pi x / (wavelength F#))``,
    which falls to half its peak at ``x = +-0.6034 wavelength F#``, so the
    -6 dB width is ``1.2067 wavelength F#`` (receive focusing alone, as
    with an unfocused transmit). With the same aperture focused at the
    point on transmit too, the beam is the square of that sinc and the
    width ``0.8859 wavelength F#``. Axially, the -6 dB width is about half
    the pulse's length in space, ``c T / 2`` (the echo travels both ways).

    Parameters
    ----------
    wavelength : float
        The wavelength at the centre frequency, in mm.
    f_number : float
        Depth over aperture width.
    pulse_length : float
        The pulse's length in space, ``c T`` (cycles times the wavelength),
        in mm.
    two_way : bool
        Focused on transmit as on receive (the square of the sinc).

    Returns
    -------
    Widths
        ``(axial, lateral)``, in mm.

    Raises
    ------
    ValueError
        An argument that is not positive.

    See Also
    --------
    point_widths : The measured widths.

    Notes
    -----
    Octave has no function of its own for it: ``[pulse_length / 2, 1.2067 * wavelength *
    f_number]``.

    Examples
    --------
    >>> from velk.quality import expected_widths
    >>> w = expected_widths(0.308, 2.0, 2 * 0.308)
    >>> round(w.axial, 3), round(w.lateral, 3)
    (0.308, 0.743)
    """
    for name, value in (("wavelength", wavelength), ("f_number", f_number),
                        ("pulse_length", pulse_length)):
        if not (np.isfinite(value) and value > 0):
            raise ValueError(f"{name} must be positive, not {value}")
    factor = TWO_WAY_FACTOR if two_way else ONE_WAY_FACTOR
    return Widths(pulse_length / 2.0, factor * wavelength * f_number)
