"""Where the clutter in a compounded plane-wave image comes from: the contrast of an anechoic
cyst (4 mm radius at x = -10, z = 15 mm) imaged by 128 focused lines (64-element aperture
focused at 30 mm) and by 75 plane waves over -16..16 degrees, for speckle boxes that grow
from a thin slab round the cyst to the default phantom's block, and that block with the
default column of point targets at x = 0.

The focused lines' transmit beam leaves out what lies beside the line; a plane wave lights
the whole block, and what its compounding does not cancel fills the cyst. The rows set apart
the speckle beside the cyst (wide), beneath it (deep) and off the image plane (thick: the
default 10 mm slab); the last two are the default block down to 30 mm, the deepest the
channel data record, without and with the targets within it. A target's amplitude is 20
times a speckle scatterer's rms whatever the density, so at a small share of the density the
targets outweigh the speckle around them, and the plane waves, which light them for every
image point, show their clutter in the cyst. The simulator runs at oversample 1: the
contrast, not the last percent of the echo's shape, is measured. At a small share the
clutter in the cyst comes from the few scatterers nearest its edge, so a row moves by a few
dB from one seed to the next: compare rows over several seeds.

    python bench/pulse_echo_cyst_contrast.py [share of the density] [seed]
"""
import sys
import time

import numpy as np

import velk
from velk import phantom, quality

DEFAULT_BLOCK = ((-20.0, 20.0), (-5.0, 5.0), (5.0, 30.0))
NO_TARGETS = np.zeros((0, 3))
ROWS = {  # the speckle's box in mm, (x0, x1), (y0, y1), (z0, z1); the point targets
    "thin slab round the cyst": (((-19.0, -1.0), (-1.0, 1.0), (8.0, 22.0)), NO_TARGETS),
    "wide: the whole width": (((-20.0, 20.0), (-1.0, 1.0), (8.0, 22.0)), NO_TARGETS),
    "deep: 5 to 30 mm": (((-19.0, -1.0), (-1.0, 1.0), (5.0, 30.0)), NO_TARGETS),
    "thick: a 10 mm slab": (((-19.0, -1.0), (-5.0, 5.0), (8.0, 22.0)), NO_TARGETS),
    "all: the default block": (DEFAULT_BLOCK, NO_TARGETS),
    "all, with the targets": (DEFAULT_BLOCK, phantom.default_targets()[:4]),  # 10 to 25 mm
}
FC, CP = 5.0, 1540.0
DT = 1 / (8 * FC)
CYST = phantom.Cyst((-10.0, 0.0, 15.0), 4.0, "anechoic")


def pulse():
    sigma = 1 / (2 * np.pi * 0.6 * FC / 2.355)
    t = np.arange(0, 8 * sigma, DT) - 4 * sigma
    return np.exp(-t ** 2 / (2 * sigma ** 2)) * np.sin(2 * np.pi * FC * t), -4 * sigma


LINES = np.linspace(-19, 19, 128)


def envelope(scheme, job, probe, x, z, lines=LINES, f_number=1.5, depth=30.0):
    """The envelope of job's image on the grid x, z (mm) and the seconds pulse_echo took:
    "focused", one line at each of `lines` (imaging the grid's column nearest it), or
    "plane"; received with the F-number `f_number`, the record long enough for echoes
    from `depth` mm straight down."""
    p, t0 = pulse()
    if scheme == "focused":
        foci = np.c_[lines, np.zeros(len(lines)), np.full(len(lines), 30.0)]
        events = velk.focused_events(probe, foci, CP, 64, "triangle")
    else:
        events = velk.plane_wave_events(probe, np.linspace(-16, 16, 75), CP)
    nt = int(2 * depth / CP * 1000 / DT)
    start = time.perf_counter()
    data = velk.pulse_echo(job.positions, job.amplitudes, probe, events, p, DT, nt,
                           0, CP, 0.5, oversample=1)
    simulated = time.perf_counter() - start
    signals = velk.analytic(data)
    if scheme != "focused":
        X, Z = np.meshgrid(x, z)
        points = np.c_[X.ravel(), np.zeros(X.size), Z.ravel()]
        image = velk.beamform(signals, probe, events, t0, DT, CP, points, f_number=f_number,
                              window="hann")
        return np.abs(image).reshape(X.shape), simulated
    # Each line images the column of points under it from its own event.
    result = np.zeros((len(z), len(x)))
    for e in range(len(events)):
        column = np.flatnonzero(np.abs(x - lines[e]) < (x[1] - x[0]) / 2)
        if column.size:
            at = np.c_[np.full_like(z, x[column[0]]), np.zeros_like(z), z]
            result[:, column[0]] = np.abs(velk.beamform(signals[e:e + 1], probe, events[e], t0,
                                                        DT, CP, at, f_number=f_number,
                                                        window="hann"))
    return result, simulated


def intensity_contrast_db(intensity, inside, outside):
    """``10 log10(mean_in / mean_out)`` of the intensity (the envelope squared)."""
    return 10 * np.log10(np.mean(intensity[inside]) / np.mean(intensity[outside]))


def main():
    share = float(sys.argv[1]) if len(sys.argv) > 1 else 0.05
    seed = int(sys.argv[2]) if len(sys.argv) > 2 else 1
    probe = velk.linear_probe(128, 0.3, (0.27, 5))
    wavelength = CP / FC / 1000
    x = np.arange(-19, -1, wavelength / 2)
    z = np.arange(8, 22, wavelength / 4)
    centre = (CYST.centre[0], CYST.centre[2])
    print(f"contrast of the cyst's envelope, dB ({share} of the density of fully developed speckle, "
          f"seed {seed})")
    for name, (box, targets) in ROWS.items():
        job = phantom.cysts(box, cysts=[CYST], targets=targets, seed=seed,
                            density=share * phantom.speckle_density())
        contrast, seconds = {}, 0.0
        for scheme in ("focused", "plane"):
            image, simulated = envelope(scheme, job, probe, x, z)
            keep = image.any(axis=0)
            xs, image = x[keep], image[:, keep]
            inside = quality.region_mask(xs, z, centre, 0.8 * CYST.radius)
            outside = quality.ring_mask(xs, z, centre, 1.2 * CYST.radius, 2.0 * CYST.radius)
            # The amplitude's contrast, as the examples measure it, and the intensity's, which
            # cyst_contrast_expected.py predicts: they part when the speckle is sparse.
            contrast[scheme] = (quality.contrast_db(image, inside, outside),
                                intensity_contrast_db(image ** 2, inside, outside))
            seconds += simulated
        (focused, focused_i), (plane, plane_i) = contrast["focused"], contrast["plane"]
        print(f"{name:26s} {len(job.amplitudes):6d} scatterers: focused {focused:6.1f}, "
              f"75 plane waves {plane:6.1f}, gap {plane - focused:4.1f}; in intensity "
              f"{focused_i:6.1f}, {plane_i:6.1f}, gap {plane_i - focused_i:4.1f} "
              f"(simulated in {seconds:.0f} s)", flush=True)


if __name__ == "__main__":
    main()
