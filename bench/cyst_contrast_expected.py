"""The contrast the anechoic cyst of bench/pulse_echo_cyst_contrast.py would show in a fully
developed speckle, by scheme, without drawing one, and the share of each slice of the
phantom's slab (|y| = 0 to 5 mm) in the clutter that fills it.

The scatterers' amplitudes are independent with zero mean, so the mean intensity of the
image at q is the density times the sum over the scatterers' places r of |h(q; r)|^2, h(.;
r) the image of a lone scatterer at r. Each layer y of the slab is cut into 5 mm patches;
h is imaged for a scatterer at each patch's centre and shifted over the patch (the image
is taken as shift-invariant within a patch only), and the shifted images, summed over the
patch's scatterer-free places, give the layer's mean intensity about the cyst. The layers
are summed by the trapezoid rule over the 10 mm slab. The draws of the other bench agree
with these figures within their draw-to-draw spread. A row takes about 3 minutes a scheme
and layer on one core: the whole table about 70 minutes.

    python bench/cyst_contrast_expected.py [layers, mm, default 0,1,2,3,4,5]
"""
import sys
import types

import numpy as np
from scipy.signal import fftconvolve

import velk
from velk import quality
from pulse_echo_cyst_contrast import CP, CYST, DEFAULT_BLOCK, FC, envelope, intensity_contrast_db

SCHEMES = {  # name: envelope's scheme and receive F-number
    "focused, F 1.5": ("focused", 1.5),
    "focused, F 1": ("focused", 1.0),
    "75 plane waves, F 1.5": ("plane", 1.5),
    "75 plane waves, F 1": ("plane", 1.0),
}
HALF_PATCH = 2.5  # mm


def grids():
    """The offsets within a patch, the region measured about the cyst and the region
    widened by a patch (where the lone scatterer's image is needed), x and z, in mm."""
    dx, dz = CP / FC / 1000 / 2, CP / FC / 1000 / 4
    offsets = [np.arange(-round(HALF_PATCH / d), round(HALF_PATCH / d)) * d for d in (dx, dz)]
    measured = [c + np.arange(-round(2 * CYST.radius / d), round(2 * CYST.radius / d) + 1) * d
                for c, d in ((CYST.centre[0], dx), (CYST.centre[2], dz))]
    widened = [np.arange(m[0] - o[-1], m[-1] - o[0] + d / 2, d)
               for m, o, d in zip(measured, offsets, (dx, dz))]
    return offsets, measured, widened


(PX, PZ), (QX, QZ), (GX, GZ) = grids()
CENTRE = (CYST.centre[0], CYST.centre[2])
INSIDE = quality.region_mask(QX, QZ, CENTRE, 0.8 * CYST.radius)
RING = quality.ring_mask(QX, QZ, CENTRE, 1.2 * CYST.radius, 2.0 * CYST.radius)


def layer_intensity(scheme, f_number, y, probe):
    """The mean intensity, per unit density, over the measured region from the layer y."""
    (x0, x1), _, (z0, z1) = DEFAULT_BLOCK
    total = np.zeros((len(QZ), len(QX)))
    for xk in np.arange(x0 + HALF_PATCH, x1, 2 * HALF_PATCH):
        for zk in np.arange(z0 + HALF_PATCH, z1, 2 * HALF_PATCH):
            x, z = np.meshgrid(xk + PX, zk + PZ)
            scatters = np.hypot(x - CYST.centre[0], z - CYST.centre[2]) > CYST.radius
            if not scatters.any():
                continue
            lone = types.SimpleNamespace(positions=np.array([[xk, y, zk]]), amplitudes=np.ones(1))
            h, _ = envelope(scheme, lone, probe, GX, GZ, lines=GX, f_number=f_number, depth=45.0)
            # The image at q of a scatterer at r_k + d is h(q - d).
            total += fftconvolve(h ** 2, scatters.astype(float), mode="valid")
    return total


def main():
    layers = [float(v) for v in (sys.argv[1] if len(sys.argv) > 1 else "0,1,2,3,4,5").split(",")]
    probe = velk.linear_probe(128, 0.3, (0.27, 5))
    half_thickness = max(abs(v) for v in DEFAULT_BLOCK[1])
    print("expected contrast of the cyst, dB, by layer y of the slab (its clutter against the "
          "in-plane layer's)")
    for name, (scheme, f_number) in SCHEMES.items():
        slab, reference = 0.0, None
        for y in layers:
            intensity = layer_intensity(scheme, f_number, y, probe)
            level = intensity[RING].mean()
            reference = level if reference is None else reference
            # The trapezoid rule over the slab, its layers evenly spaced from 0 (the common
            # step cancels in the contrast): a layer at +-y counts twice, one at a face half.
            slab = slab + (1 if y == 0 else 2) * (0.5 if y == half_thickness else 1) * intensity
            print(f"{name:22s} y {y:3.1f} mm: {intensity_contrast_db(intensity, INSIDE, RING):6.1f}; "
                  f"ring level {10 * np.log10(level / reference):6.1f}", flush=True)
        print(f"{name:22s} the slab:  {intensity_contrast_db(slab, INSIDE, RING):6.1f}", flush=True)


if __name__ == "__main__":
    main()
