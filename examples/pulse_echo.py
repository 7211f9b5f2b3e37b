"""The toolbox end to end from Python: a circular transducer is moved along
a line above three point scatterers. At each position its pulse-echo
response to each scatterer is the piston's spatial impulse response
convolved with itself, with the excitation pulse and with the medium's
two-way attenuation; the echoes add up to a B-scan. Synthetic aperture
focusing of the B-scan then gives an image whose maxima should stand on the
scatterers. The same physics as the Octave demo's pulse-echo section.

The sampling period is coarse against the piston's response: on the axis at
32 mm its plateau lasts 0.01 us, less than one period, and samples taken at
instants miss it. The responses are therefore the averages over each
sampling interval (velk.discwave_avg); the time integrals printed show it.

    python examples/pulse_echo.py [output folder]     (default: demo_output)
"""
import pathlib
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import velk  # noqa: E402

a = 1.0              # transducer radius, mm
cp = 1500.0          # sound speed, m/s
alpha = 0.5          # attenuation, dB/(cm MHz)
dt = 0.025           # sampling period, us
n_intervals = 16     # sub-intervals per sample of the averaged response
scan_x = np.arange(-12, 12.001, 0.25)          # transducer positions along x, mm
scatterers = np.array([[-6, 0, 18], [0, 0, 25], [5, 0, 32]], dtype=float)
N = len(scan_x)

# Excitation: a 5 MHz tone burst under a Gaussian envelope, peak at t_pulse.
f0 = 5.0             # MHz
t = np.arange(33) * dt
t_pulse = t[16]
pulse = np.sin(2 * np.pi * f0 * (t - t_pulse)) * np.exp(-(((t - t_pulse) / 0.12) ** 2))

# One-way responses start at t0 and span nt samples, enough for the farthest
# scatterer seen from the farthest position.
t0, nt, n_att = 8.0, 720, 64
bscan = np.zeros((N, 2 * nt - 1 + len(pulse) - 1 + n_att - 1))   # one A-scan per row
for scatterer in scatterers:
    # The scatterer seen from each transducer position, in the transducer's frame.
    points = np.c_[scatterer[0] - scan_x, np.tile(scatterer[1:], (N, 1))]
    H = velk.discwave_avg(points, a, (dt, nt), t0, (1, cp), n_intervals)
    # Transmit and receive: each response convolved with itself (each row is
    # its own filter); the sum times dt is the integral.
    echo = velk.fold(H, H) * dt * 1e-6
    echo = velk.fold(echo, pulse)
    # The two-way loss over 2R, placed one sample into its window so that it
    # only spreads the echo and adds a delay of dt.
    two_way = 2 * np.sqrt((points ** 2).sum(axis=1))
    loss = velk.damp(np.c_[np.zeros((N, 2)), two_way], (dt, n_att),
                     1000 * two_way / cp - dt / 2, (cp, alpha))
    velk.fold(echo, loss, out=bscan, mode="+=")   # adds into the B-scan in place

# Sample r of an A-scan holds two-way time 2 t0 + r dt; the echo of a path of
# two-way time T peaks at sample (T + t_pulse + dt - 2 t0) / dt. The focusing
# reads sample (2 R / cp - 2 tau) / dt, so tau aligns the two.
tau = t0 - (t_pulse + dt) / 2
image_x = np.arange(-12, 12.001, 0.1)
image_z = np.arange(14, 36.001, 0.1)
X, Z = np.meshgrid(image_x, image_z)
grid = np.c_[X.ravel(), np.zeros(X.size), Z.ravel()]
positions = np.c_[scan_x, np.zeros((N, 2))]
aperture = 16.0      # mm


def analytic(x):
    """The analytic signal of each row: negative frequencies removed."""
    n = x.shape[1]
    weights = np.zeros(n)
    weights[0] = 1
    weights[1:(n + 1) // 2] = 2
    if n % 2 == 0:
        weights[n // 2] = 1
    return np.fft.ifft(np.fft.fft(x, axis=1) * weights, axis=1)


# Focusing is linear, so focusing the analytic A-scans gives the analytic
# image, whose magnitude is the envelope.
analytic_scan = analytic(bscan)
focused = (velk.echofocus(analytic_scan.real, positions, tau, dt, cp, grid, aperture)
           + 1j * velk.echofocus(analytic_scan.imag, positions, tau, dt, cp, grid, aperture))
envelope = np.abs(focused).reshape(X.shape)

print(f"Pulse-echo scan from Python (velk {velk.__version__}): piston a = {a:g} mm, {N} "
      f"positions from {scan_x[0]:g} to {scan_x[-1]:g} mm, {f0:g} MHz pulse, "
      f"alpha = {alpha:g} dB/(cm MHz)")

# The time integral of the one-way response at the deepest scatterer's depth,
# on the axis and beside it: from samples at instants, from the averages
# over each sampling interval, and from samples 1000 times finer.
aside = np.array([0, 0.5, 1, 2])
z = scatterers[-1, 2]
points = np.c_[aside, np.zeros(len(aside)), np.full(len(aside), z)]
fine = dt / 1000
sampled = velk.discwave(points, a, (dt, nt), t0, (1, cp)).sum(axis=1) * dt
averaged = velk.discwave_avg(points, a, (dt, nt), t0, (1, cp), n_intervals).sum(axis=1) * dt
reference = velk.discwave(points, a, (fine, 1000 * nt), t0 - dt / 2, (1, cp)).sum(axis=1) * fine
print(f"  time integral of the one-way response at z = {z:g} mm, dt = {dt:g} us [m/s us]:")
print(f"  {'aside [mm]':<12} {'sampled':>10} {'averaged':>10} {'fine (dt/1000)':>16}")
for row in zip(aside, sampled, averaged, reference):
    print("  {:<12g} {:10.2f} {:10.2f} {:16.2f}".format(*row))

print(f"  {'scatterer [mm]':<22} {'image maximum [mm]':<22} distance [mm]")
for sx, _, sz in scatterers:
    near = (np.abs(X - sx) <= 3) & (np.abs(Z - sz) <= 3)
    k = np.argmax(np.where(near, envelope, 0))
    # The grid's x = 0 is a rounding error below it: rounded, then + 0.0, no "-0.0".
    x_max, z_max = round(X.flat[k], 9) + 0.0, Z.flat[k]
    print(f"  ({sx:5.1f}, {sz:5.1f})         ({x_max:5.1f}, {z_max:5.1f})         "
          f"{np.hypot(x_max - sx, z_max - sz):.2f}")


def decibels(magnitude):
    return 20 * np.log10(magnitude / magnitude.max())


output = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "demo_output")
output.mkdir(parents=True, exist_ok=True)
figure, (left, right) = plt.subplots(1, 2, figsize=(11, 4.8), constrained_layout=True)
depth = (2 * t0 + np.arange(bscan.shape[1]) * dt) * cp / 2000
shown = (depth >= image_z[0]) & (depth <= image_z[-1])
left.imshow(decibels(np.abs(analytic_scan))[:, shown].T, cmap="gray", vmin=-40, vmax=0,
            aspect="auto", origin="upper",
            extent=(scan_x[0], scan_x[-1], depth[shown][-1], depth[shown][0]))
left.set(xlabel="transducer position x [mm]", ylabel="depth c t / 2 [mm]",
         title="B-scan, envelope [dB]")
shown_image = right.imshow(decibels(envelope), cmap="hot", vmin=-40, vmax=0, aspect="auto",
                           origin="upper",
                           extent=(image_x[0], image_x[-1], image_z[-1], image_z[0]))
right.plot(scatterers[:, 0], scatterers[:, 2], "c+", markersize=12, label="scatterers")
right.set(xlabel="x [mm]", ylabel="z [mm]", title="Focused image, envelope [dB]")
right.legend(loc="lower left")
figure.colorbar(shown_image, ax=right, label="dB")
figure.savefig(output / "pulse_echo_python.png", dpi=100)
print(f"Figure written to {output / 'pulse_echo_python.png'}")
