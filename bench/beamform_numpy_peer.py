"""The fastest vectorised NumPy a user would write for the beamformer's two
benchmark images (bench/beamform_workloads.h): delays by broadcasting, the
two neighbours of every delay fetched with np.take from the zero-padded
channels, linear interpolation, chunked over points so that memory stays
bounded, one event at a time.

    /usr/bin/python3 bench/beamform_numpy_peer.py build/bench/beamform_image [--repeats 2]

First each NumPy image is checked against the kernel's (beamform_image
writes it), then timed; the rate is point x element x event per second.
Other work on the machine slows both, so the load average is printed.
"""
import argparse
import os
import subprocess
import tempfile
import time

import numpy as np

NT, GRID, PITCH, CP, DT = 2000, 256, 0.3, 1540.0, 0.025


def workload(n_elements, plane_waves):
    """Element x, the arrivals' parameters, the samples (events, channels,
    nt) and the grid, as beamform_workloads.h builds them."""
    ex = PITCH * (np.arange(n_elements) - 0.5 * (n_elements - 1))
    if plane_waves:
        angles = (-15.0 + 30.0 * np.arange(32) / 31) * np.pi / 180
        waves = [("plane", np.sin(a), np.cos(a),
                  -np.min(np.sin(a) * ex * 1000.0 / CP)) for a in angles]
    else:
        waves = [("diverging", x, 0.0, 0.0) for x in ex]
    n_events = len(waves)
    k = np.arange(NT)
    c = np.arange(n_elements)[:, None]
    e = np.arange(n_events)[:, None, None]
    samples = ((k * 7 + c * 13 + e * 29) % 101) / 50.0 - 1.0
    half_width = 0.5 * PITCH * (n_elements - 1)
    i, kz = np.meshgrid(np.arange(GRID), np.arange(GRID), indexing="ij")
    x = (-half_width + 2 * half_width * i / (GRID - 1)).ravel()
    z = (5.0 + 30.0 * kz / (GRID - 1)).ravel()
    return ex, waves, samples, x, z


def arrival(wave, x, z):
    kind, a, b, t0 = wave
    if kind == "plane":
        return t0 + (a * x + b * z) * 1000.0 / CP
    return t0 + np.sqrt((x - a) ** 2 + z ** 2) * 1000.0 / CP


def beamform(ex, waves, samples, x, z, chunk=1024):
    """Delay-and-sum with linear interpolation. The channels are padded with
    two zero samples at each end and the sample indices clipped into the
    padding, so that samples outside the record count as 0, as in the
    kernel, with no mask. In-place operations and np.take keep the
    temporaries few; 1024 points per chunk was the fastest of 256 to 4096."""
    n_events, n_el, nt = samples.shape
    padded = np.zeros((n_events, n_el, nt + 4))
    padded[:, :, 2:-2] = samples
    flat = padded.reshape(n_events, -1)
    row = (np.arange(n_el) * (nt + 4) + 2)[:, None]
    image = np.zeros(x.size)
    for p0 in range(0, x.size, chunk):
        xs, zs = x[p0:p0 + chunk], z[p0:p0 + chunk]
        R = np.sqrt((xs[None, :] - ex[:, None]) ** 2 + zs[None, :] ** 2) * 1000.0 / CP / DT
        for e, wave in enumerate(waves):
            u = arrival(wave, xs, zs)[None, :] / DT + R
            k = np.floor(u)
            f = u - k
            np.clip(k, -2, nt, out=k)
            i = k.astype(np.intp)
            i += row
            s0 = np.take(flat[e], i)
            v = np.take(flat[e], i + 1)
            v -= s0
            v *= f
            v += s0
            image[p0:p0 + chunk] += v.sum(axis=0)
    return image


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("image_tool", help="path of the built beamform_image")
    parser.add_argument("--repeats", type=int, default=2)
    args = parser.parse_args()
    print("load average: %.2f %.2f %.2f" % os.getloadavg())
    for name, n_el, plane in (("plane", 128, True), ("fmc", 64, False)):
        ex, waves, samples, x, z = workload(n_el, plane)
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, name + ".f64")
            subprocess.run([args.image_tool, name, path], check=True)
            kernel = np.fromfile(path, dtype=np.float64)
        times = []
        for _ in range(args.repeats):
            started = time.perf_counter()
            image = beamform(ex, waves, samples, x, z)
            times.append(time.perf_counter() - started)
        scale = np.max(np.abs(kernel))
        error = np.max(np.abs(image - kernel)) / scale
        if not error < 1e-9:
            raise SystemExit(f"{name}: NumPy and kernel disagree by {error:.3g} of the peak")
        items = x.size * n_el * len(waves)
        print(f"{name}: NumPy {min(times) * 1e3:.0f} ms per image, "
              f"{items / min(times):.3g} point x element x event per second "
              f"(agrees with the kernel within {error:.1g} of the peak)")


if __name__ == "__main__":
    main()
