"""The cyst phantom's scatterers (count, cysts, seed) and the image-quality
metrics on images whose answers are known."""
import numpy as np
import pytest

from velk.phantom import BRIGHT_FACTOR, Cyst, cysts, speckle_density
from velk.quality import (RAYLEIGH_SNR, cnr, contrast_db, expected_widths, fwhm, point_widths,
                          region_mask, ring_mask, speckle_snr)

BOX = ((-5, 5), (-1, 1), (10, 20))
NONE = np.zeros((0, 3))
HALF = 20 * np.log10(0.5)

DENSITIES = [  # keywords, cell volume (lateral * elevation * axial), mm^3
    ({}, (0.308 * 2) * (0.308 * 6) * (2 * 0.308 / 2)),
    ({"per_cell": 20}, (0.308 * 2) * (0.308 * 6) * (2 * 0.308 / 2) / 2),
    ({"wavelength": 0.154, "f_number": 3}, (0.154 * 3) * (0.154 * 6) * 0.154),
    ({"thickness": 1.0, "pulse_cycles": 3}, (0.308 * 2) * 1.0 * (3 * 0.308 / 2)),
]


@pytest.mark.parametrize("keywords, cell", DENSITIES)
def test_ten_scatterers_per_resolution_cell(keywords, cell):
    assert speckle_density(**keywords) == pytest.approx(10 / cell, rel=1e-12)


def test_counts_drawn_in_the_box():
    assert len(cysts(BOX, cysts=(), targets=NONE, density=3).positions) == 600
    thin = cysts(((-5, 5), (-0.5, 0.5), (10, 20)), cysts=(), targets=NONE)
    assert len(thin.positions) == round(100 / ((0.308 * 2) * 1.0 * 0.308) * 10)
    p = cysts()
    drawn = round(speckle_density() * 40 * 10 * 50)
    emptied = sum(np.pi * r ** 2 * 10 for r in (4, 3, 2, 1)) / 20000
    assert drawn == 570422
    assert abs(len(p.positions) - 9 - drawn * (1 - emptied)) < 4 * np.sqrt(drawn * emptied)
    np.testing.assert_array_equal(p.positions[-9:], p.targets)
    np.testing.assert_array_equal(p.amplitudes[-9:], 20.0)
    lo, hi = np.array(p.box).T
    assert np.all((p.positions >= lo) & (p.positions <= hi))
    bright = emptied / (1 - emptied)                   # the bright cysts have the same radii
    assert np.std(p.amplitudes[:-9]) == pytest.approx(np.sqrt(1 + 99 * bright), rel=0.02)


@pytest.mark.parametrize("shape, inside", [
    ("cylinder", lambda q: np.hypot(q[:, 0], q[:, 2] - 15) <= 0.8),
    ("sphere", lambda q: np.linalg.norm(q - [0, 0, 15], axis=1) <= 0.8)])
def test_cysts_empty_or_brighten_their_scatterers(shape, inside):
    plain = cysts(BOX, cysts=(), targets=NONE, density=20, seed=4)
    mask = inside(plain.positions)
    dark = cysts(BOX, cysts=[((0, 0, 15), 0.8, "anechoic", shape)], targets=NONE, density=20,
                 seed=4)
    bright = cysts(BOX, cysts=[Cyst(np.array([0, 0, 15]), 0.8, "bright", shape)],
                   targets=NONE, density=20, seed=4)
    assert 0 < mask.sum() < len(mask)
    np.testing.assert_array_equal(dark.positions, plain.positions[~mask])
    np.testing.assert_array_equal(bright.amplitudes,
                                  plain.amplitudes * np.where(mask, BRIGHT_FACTOR, 1))


def test_a_seed_gives_the_same_phantom():
    a, b, c = (cysts(BOX, cysts=(), targets=NONE, density=5, seed=s) for s in (7, 7, 8))
    np.testing.assert_array_equal(a.positions, b.positions)
    np.testing.assert_array_equal(a.amplitudes, b.amplitudes)
    assert not np.array_equal(a.positions, c.positions)


REFUSED = [
    (lambda: Cyst(np.zeros(3), -1, "anechoic"), "radius must be positive, not -1"),
    (lambda: Cyst(np.zeros(3), 1, "dark"), "kind must be 'anechoic' or 'bright', not 'dark'"),
    (lambda: cysts(BOX, cysts=[((4, 0, 15), 2, "bright")]), "cyst must lie inside the box"),
    (lambda: cysts(BOX, cysts=[((0, 0, 15), 1.5, "bright", "sphere")]),
     "cyst must lie inside the box"),
    (lambda: cysts(BOX), "cyst must lie inside the box"),     # the default cysts
    (lambda: cysts(((-5, 5), (1, 1), (10, 20))), "box must have y1 > y0, not y0 = 1, y1 = 1"),
    (lambda: cysts(BOX, cysts=(), targets=[[0, 0, 25]]), "targets must lie inside the box"),
    (lambda: cysts(BOX, cysts=(), targets=NONE, density=0), "density must be positive, not 0"),
    (lambda: speckle_density(f_number=-2), "f_number must be positive, not -2"),
    (lambda: region_mask([0, 1], [0, 1], (0, 0), 0), "radius must be positive, not 0"),
    (lambda: ring_mask([0, 1], [0, 1], (0, 0), 2, 1), "r_out must be above r_in = 2, not 1"),
    (lambda: contrast_db(np.ones((2, 2)), np.ones((2, 2), bool), np.zeros((2, 2), bool)),
     "outside must hold at least one pixel"),
    (lambda: cnr(np.ones((2, 2)), np.ones((2, 3), bool), np.ones((2, 2), bool)),
     r"inside must be a mask of the envelope's shape \(2, 2\), not \(2, 3\)"),
    (lambda: fwhm([2, 1, 0], [0, 1, 2]), "profile must fall below -6 dB of its peak on both"),
    (lambda: fwhm([0, 1, 0], [0, 2, 1]), "axis must be increasing"),
    (lambda: fwhm([0, 1, 0], [0, 1, 2], peak=3), "peak must be an index from 0 to 2, not 3"),
    (lambda: point_widths(np.ones((2, 2)), [0, 1], [0, 1], (9, 9)),
     "target must have pixels within 2 mm"),
    (lambda: expected_widths(0.3, 2, 0), "pulse_length must be positive, not 0"),
]


@pytest.mark.parametrize("make, message", REFUSED)
def test_refusals(make, message):
    with pytest.raises(ValueError, match=message):
        make()


@pytest.fixture(scope="module")
def speckle():
    x, z = np.arange(-10, 10.05, 0.1), np.arange(20, 40.05, 0.1)
    return np.random.default_rng(3).rayleigh(size=(len(z), len(x))), x, z


def test_metrics_of_rayleigh_speckle_with_a_cyst(speckle):
    env, x, z = speckle
    disc, ring = region_mask(x, z, (0, 30), 3), ring_mask(x, z, (0, 0, 30), 4, 8)
    assert RAYLEIGH_SNR == pytest.approx(1.913, abs=1e-3)
    assert speckle_snr(env, np.ones(env.shape, bool)) == pytest.approx(RAYLEIGH_SNR, abs=0.02)
    dark, bright = env * ~disc, env * np.where(disc, 10, 1)
    assert contrast_db(dark, disc, ring) == -np.inf
    assert contrast_db(bright, disc, ring) == pytest.approx(20, abs=0.3)
    assert cnr(dark, disc, ring) == pytest.approx(RAYLEIGH_SNR, abs=0.03)
    assert disc.sum() == pytest.approx(np.pi * 30 ** 2, rel=0.01)
    assert ring.sum() == pytest.approx(np.pi * (80 ** 2 - 40 ** 2), rel=0.01)


@pytest.mark.parametrize("sigma", [0.05, 0.3, 1.0, 2.5])
def test_gaussian_widths(sigma):
    a = np.linspace(-10, 10, 4001)
    g = np.exp(-a ** 2 / (2 * sigma ** 2))
    assert fwhm(g, a, HALF) == pytest.approx(2.3548 * sigma, rel=1e-3)
    assert fwhm(g, a, -20) == pytest.approx(2 * sigma * np.sqrt(2 * np.log(10)), rel=1e-3)
    assert fwhm(g, a ** 3 / 100, HALF) > 0              # an uneven axis


def test_widths_from_the_targets_own_peak():
    assert fwhm([0, 4, 0, 2, 2, 0], np.arange(6), HALF, peak=3) == 2
    x, z = np.arange(-3, 3.005, 0.01), np.arange(27, 33.005, 0.01)
    spot = np.exp(-((z[:, None] - 30) / 0.3) ** 2 / 2 - (x / 0.6) ** 2 / 2) \
        + 2 * np.exp(-((z[:, None] - 30) / 0.3) ** 2 / 2 - ((x - 2.8) / 0.1) ** 2 / 2)
    w = point_widths(spot, x, z, (0, 0, 30), window=1, level_db=HALF)
    assert w == pytest.approx((2.3548 * 0.3, 2.3548 * 0.6), abs=1e-3)


@pytest.mark.parametrize("two_way, power", [(False, 1), (True, 2)])
def test_expected_lateral_width_is_that_of_the_focal_sinc(two_way, power):
    lam, f = 0.308, 2.5
    x = np.linspace(-5, 5, 200001)
    beam = np.abs(np.sinc(x / (lam * f))) ** power   # np.sinc(t) = sin(pi t) / (pi t)
    w = expected_widths(lam, f, 2 * lam, two_way)
    assert w.lateral == pytest.approx(fwhm(beam, x, HALF), rel=1e-4)
    assert w.axial == lam
