"""The cyst-phantom job end to end: a speckle phantom with anechoic and
bright cysts and point targets, the channel data of a 128-element linear
probe (velk.pulse_echo), the delay-and-sum image of its analytic signal
(velk.beamform), the B-mode, and the image's quality against what the
textbook expects. Three ways to scan it: compounded plane waves ("plane":
3 by default, at -6, 0 and 6 degrees; any other number of angles evenly
over -16..16 degrees, 1 at 0 degrees), 128 focused lines of a 64-element
aperture focused at 30 mm ("focused"), and full-matrix capture of the 64
middle elements, imaged by the total focusing method ("fmc"). The Octave
job, examples/demo_cyst_phantom.m, takes the same schemes and angles.

    python examples/cyst_phantom.py [output folder] [share of the density] [plane|focused|fmc] [angles]

The density of a fully developed speckle (10 scatterers per resolution
cell, velk.phantom.speckle_density) gives 570,000 scatterers; the demo
draws a share of it (default 0.02, about 11,000), which images the cysts
and targets but leaves the speckle under-developed (its SNR below 1.91).
"""
import pathlib
import sys
import time

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import velk  # noqa: E402
from velk import phantom, quality  # noqa: E402

out = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "demo_output")
share = float(sys.argv[2]) if len(sys.argv) > 2 else 0.02
out.mkdir(parents=True, exist_ok=True)

fc, cp = 5.0, 1540.0                 # MHz, m/s
wavelength = cp / fc / 1000          # mm
dt = 1 / (8 * fc)                    # us: 8 samples a period
sigma = 1 / (2 * np.pi * 0.6 * fc / 2.355)           # a pulse of 60 % bandwidth
tp = np.arange(0, 8 * sigma, dt)
pulse = np.exp(-(tp - 4 * sigma) ** 2 / (2 * sigma ** 2)) * np.sin(2 * np.pi * fc * (tp - 4 * sigma))


def plane_wave_angles(n):
    """The compound's angles, degrees: the demo's three, or n evenly over -16..16."""
    if n == 3:
        return [-6.0, 0.0, 6.0]
    return np.linspace(-16, 16, n) if n > 1 else [0.0]


scheme = sys.argv[3] if len(sys.argv) > 3 else "plane"
n_angles = int(sys.argv[4]) if len(sys.argv) > 4 else 3
job = phantom.cysts(density=share * phantom.speckle_density(), seed=1)
probe = velk.linear_probe(128, 0.3, (0.27, 5))
if scheme == "plane":
    events = velk.plane_wave_events(probe, plane_wave_angles(n_angles), cp)
elif scheme == "focused":
    lines = np.linspace(-19, 19, 128)
    events = velk.focused_events(probe, np.c_[lines, np.zeros(128), np.full(128, 30.0)], cp, 64,
                                 "triangle")
else:
    probe = velk.linear_probe(64, 0.3, (0.27, 5))
    events = velk.fmc_events(probe)
nt = int(2 * 60 / cp * 1000 / dt)
print(f"phantom: {len(job.amplitudes)} scatterers, {len(events)} {scheme} events, "
      f"{len(probe.centres)} elements, {nt} samples at {1 / dt:.0f} MHz")

start = time.perf_counter()
data = velk.pulse_echo(job.positions, job.amplitudes, probe, events, pulse, dt, nt, 0, cp,
                       0.5, progress=True)
simulated = time.perf_counter() - start

half_width = 19 if scheme != "fmc" else 15
x = np.arange(-half_width, half_width, wavelength / 2)
z = np.arange(6, 54, wavelength / 4)
X, Z = np.meshgrid(x, z)
points = np.c_[X.ravel(), np.zeros(X.size), Z.ravel()]
start = time.perf_counter()
# The pulse's peak lies 4 sigma after its start: the data's time origin moves by it.
signals = velk.analytic(data)
if scheme == "focused":
    # Each line images its own column of points from its own event.
    envelope = np.zeros(X.shape)
    for e, column in enumerate(np.round((lines - x[0]) / (x[1] - x[0])).astype(int)):
        if 0 <= column < len(x):
            at = np.c_[np.full_like(z, x[column]), np.zeros_like(z), z]
            envelope[:, column] = np.abs(velk.beamform(signals[e:e + 1], probe, events[e],
                                                       -4 * sigma, dt, cp, at, f_number=1.5,
                                                       window="hann"))
    keep = envelope.any(axis=0)
    x, envelope = x[keep], envelope[:, keep]
else:
    image = velk.beamform(signals, probe, events, -4 * sigma, dt, cp, points, f_number=1.5,
                          window="hann")
    envelope = np.abs(image).reshape(X.shape)
imaged = time.perf_counter() - start
print(f"pulse_echo: {simulated:.1f} s; beamform: {imaged:.2f} s")

# Each cyst inside the image: inside 0.8 r against the ring from 1.2 r to 2 r.
for c in job.cysts:
    if c.centre[0] - c.radius < x[0] or c.centre[0] + c.radius > x[-1]:
        continue
    centre = (c.centre[0], c.centre[2])
    inside = quality.region_mask(x, z, centre, 0.8 * c.radius)
    outside = quality.ring_mask(x, z, centre, 1.2 * c.radius, 2.0 * c.radius)
    print(f"cyst at ({centre[0]:g}, {centre[1]:g}) mm, radius {c.radius:g} mm, {c.kind}: "
          f"contrast {quality.contrast_db(envelope, inside, outside):.1f} dB, CNR "
          f"{quality.cnr(envelope, inside, outside):.2f}")
background = quality.region_mask(x, z, (5.0, 20.0), 3.0)
target = job.targets[np.argmin(np.abs(job.targets[:, 2] - 30))]
widths = quality.point_widths(envelope, x, z, (target[0], target[2]))
expected = quality.expected_widths(wavelength, 1.5, 4 * sigma * cp / 1000, two_way=False)
print(f"speckle SNR {quality.speckle_snr(envelope, background):.2f} (fully developed: 1.91)")
print(f"target at {target[2]:.0f} mm: -6 dB widths axial {widths.axial:.2f} mm, lateral "
      f"{widths.lateral:.2f} mm (textbook: {expected.axial:.2f}, {expected.lateral:.2f})")

figure, axes = plt.subplots(figsize=(5, 6))
axes.imshow(velk.bmode(envelope, 60), cmap="gray", extent=(x[0], x[-1], z[-1], z[0]))
axes.set(xlabel="x [mm]", ylabel="z [mm]", title=f"Cyst phantom, {len(events)} {scheme} events")
for c in job.cysts:
    axes.add_patch(plt.Circle((c.centre[0], c.centre[2]), c.radius, fill=False, color="tab:red",
                              linewidth=0.6))
figure.colorbar(axes.images[0], label="dB")
if scheme != "plane":
    name = f"cyst_phantom_{scheme}.png"
else:
    name = "cyst_phantom.png" if n_angles == 3 else f"cyst_phantom_{n_angles}_angles.png"
figure.savefig(out / name, dpi=120)
print(f"wrote {out / name}")
