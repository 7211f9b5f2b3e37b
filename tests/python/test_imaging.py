"""Array data simulated by pulse_echo, imaged by beamform: point scatterers
stand where the image peaks, for every transmit scheme, with the widths
the aperture predicts; compounding lowers the side lobes."""
import numpy as np
import pytest

import velk

CP, FC, DT = 1540.0, 5.0, 0.025                     # fs = 8 fc
WAVELENGTH = CP / FC / 1000                          # mm
SIGMA = 1 / (2 * np.pi * 0.6 * FC / 2.355)           # a pulse of 60 % bandwidth
_T = np.arange(0, 8 * SIGMA, DT)
PULSE = np.exp(-(_T - 4 * SIGMA) ** 2 / (2 * SIGMA ** 2)) * np.sin(2 * np.pi * FC * (_T - 4 * SIGMA))
PROBE = velk.linear_probe(32, 0.3, (0.2, 0.2))
SCATTERERS = np.array([[-1.0, 0, 12], [1.5, 0, 18]])

EVENTS = {
    "full matrix": velk.fmc_events(PROBE),
    "1 plane wave": velk.plane_wave_events(PROBE, [0.0], CP),
    "11 plane waves": velk.plane_wave_events(PROBE, np.linspace(-10, 10, 11), CP),
    "diverging waves": velk.diverging_wave_events(PROBE, [[-2, 0, -8], [0, 0, -8], [2, 0, -8]], CP),
}


def envelope(events, centre, half=1.0, step=WAVELENGTH / 20, **options):
    """The envelope on a grid around centre (x, z): (x, z, image[iz, ix])."""
    data = velk.pulse_echo(SCATTERERS, 1, PROBE, events, PULSE, DT, 1400, 0, CP)
    x = np.arange(centre[0] - half, centre[0] + half, step)
    z = np.arange(centre[1] - half, centre[1] + half, step)
    X, Z = np.meshgrid(x, z)
    points = np.c_[X.ravel(), np.zeros(X.size), Z.ravel()]
    image = velk.beamform(velk.analytic(data), PROBE, events, -4 * SIGMA, DT, CP, points, **options)
    return x, z, np.abs(image).reshape(X.shape)


@pytest.mark.parametrize("scheme", EVENTS)
def test_points_are_imaged_at_their_positions(scheme):
    for s in SCATTERERS:
        x, z, e = envelope(EVENTS[scheme], (s[0], s[2]))
        iz, ix = np.unravel_index(np.argmax(e), e.shape)
        assert np.hypot(x[ix] - s[0], z[iz] - s[2]) <= WAVELENGTH / 10, scheme


def test_a_focused_line_peaks_at_its_scatterer_depth():
    s = SCATTERERS[1]
    events = velk.focused_events(PROBE, [[s[0], 0, 16]], CP, 16)
    data = velk.pulse_echo(SCATTERERS, 1, PROBE, events, PULSE, DT, 1400, 0, CP)
    z = np.arange(14, 22, WAVELENGTH / 20)
    line = np.c_[np.full_like(z, s[0]), np.zeros_like(z), z]
    image = velk.beamform(velk.analytic(data), PROBE, events, -4 * SIGMA, DT, CP, line)
    assert abs(z[np.argmax(np.abs(image))] - s[2]) <= WAVELENGTH / 10


def test_lateral_width_is_near_the_wavelength_times_the_f_number():
    # Receive focusing of a uniform aperture of F = 2 (its sinc), one plane
    # wave: -6 dB at 1.21 lambda F at the pulse's centre frequency; the
    # transmit wave adds no focusing. The broadband envelope, its spectrum
    # lowered by the elements' responses, measures 0.91 mm against 0.75.
    s = SCATTERERS[1]
    x, z, e = envelope(EVENTS["1 plane wave"], (s[0], s[2]), half=2.0, f_number=2.0)
    widths = velk.quality.point_widths(e, x, z, (s[0], s[2]))
    assert widths.lateral == pytest.approx(1.21 * WAVELENGTH * 2.0, rel=0.25)


def test_compounding_lowers_the_side_lobes():
    s = SCATTERERS[0]
    lobes = []
    for scheme in ["1 plane wave", "11 plane waves"]:
        x, z, e = envelope(EVENTS[scheme], (s[0], s[2]), half=3.0, step=WAVELENGTH / 4)
        far = np.hypot(*np.meshgrid(x - s[0], z - s[2])) > 1.5
        lobes.append(e[far].max() / e.max())
    assert lobes[1] < 0.7 * lobes[0], lobes


def test_full_matrix_diagonal_is_synthetic_aperture_focusing():
    # Each element receiving its own transmission: beamform of those
    # channels and echofocus of them as A-scans sum the same interpolated
    # samples, in another rounding.
    fmc = EVENTS["full matrix"]
    data = velk.pulse_echo(SCATTERERS, 1, PROBE, fmc, PULSE, DT, 1400, 0, CP)
    diagonal = np.stack([data[j, j] for j in range(len(fmc))])
    own = velk.Events(fmc.fire, fmc.weight, np.arange(len(fmc))[:, None], fmc.wave, fmc.origin,
                      fmc.t0)
    X, Z = np.meshgrid(np.linspace(-3, 3, 41), np.linspace(8, 22, 57))
    points = np.c_[X.ravel(), np.zeros(X.size), Z.ravel()]
    image = velk.beamform(diagonal[:, None, :], PROBE, own, 0, DT, CP, points)
    focused = velk.echofocus(diagonal, PROBE.centres, 0, DT, CP, points, 100.0)
    assert np.abs(image - focused).max() <= 1e-12 * np.abs(focused).max()


SMALL_BOX = ((-6, 6), (-1, 1), (8, 20))
PHANTOM = velk.phantom.cysts(SMALL_BOX, cysts=[((0, 0, 14), 2.5, "anechoic")],
                             targets=[[-3.5, 0, 10]], density=0.3 * velk.phantom.speckle_density(),
                             seed=3)
PROBE_32 = velk.linear_probe(32, 0.3, (0.27, 5))
SCANS = {
    "plane waves": (PROBE_32, velk.plane_wave_events(PROBE_32, [-6.0, 0.0, 6.0], CP)),
    "full matrix": (velk.linear_probe(16, 0.3, (0.27, 5)),
                    velk.fmc_events(velk.linear_probe(16, 0.3, (0.27, 5)))),
}


@pytest.mark.parametrize("scan", SCANS)
def test_a_small_phantom_shows_its_cyst_and_its_target(scan):
    # 2,140 scatterers (0.3 of fully developed speckle's density) in a slab
    # 12 mm wide with a cyst of 2.5 mm and a target near the aperture's edge.
    probe, events = SCANS[scan]
    data = velk.pulse_echo(PHANTOM.positions, PHANTOM.amplitudes, probe, events, PULSE, DT, 1100,
                           0, CP)
    x = np.arange(-6, 6, WAVELENGTH / 2)
    z = np.arange(8, 20, WAVELENGTH / 4)
    X, Z = np.meshgrid(x, z)
    points = np.c_[X.ravel(), np.zeros(X.size), Z.ravel()]
    e = np.abs(velk.beamform(velk.analytic(data), probe, events, -4 * SIGMA, DT, CP, points,
                             f_number=1.5)).reshape(X.shape)
    inside = velk.quality.region_mask(x, z, (0, 14), 2.0)
    outside = velk.quality.ring_mask(x, z, (0, 14), 3.0, 5.0)
    assert velk.quality.contrast_db(e, inside, outside) < -6.0, scan
    near = np.hypot(X + 3.5, Z - 10) < 1.5
    iz, ix = np.unravel_index(np.argmax(np.where(near, e, 0)), e.shape)
    assert np.hypot(x[ix] + 3.5, z[iz] - 10) <= WAVELENGTH / 2, scan   # a lateral grid step
