"""velk.distributed.pulse_echo on a local cluster of one worker process, then of two: 30,000
scatterers, one plane wave, 128 elements, attenuated; the wall time of each, the ratio, and
how far apart the two results are (the chunks are summed in the same order).

    python bench/pulse_echo_cluster_scaling.py
"""
import time
import numpy as np
import distributed
import velk, velk.distributed as vd

def main():
    rng = np.random.default_rng(0)
    n = 30000
    s = np.c_[rng.uniform(-15, 15, n), np.zeros(n), rng.uniform(5, 60, n)]
    a = rng.standard_normal(n)
    probe = velk.linear_probe(128, 0.3, (0.27, 5))
    events = velk.plane_wave_events(probe, [0.0], 1540)
    t = np.arange(41) * 0.025
    pulse = np.sin(2 * np.pi * 5 * t) * np.hanning(41)
    job = (s, a, probe, events, pulse, 0.025, 3200, 0, 1540, 0.5)
    times, results = {}, {}
    for workers in (1, 2):
        with distributed.LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                                      host="127.0.0.1", dashboard_address="127.0.0.1:0") as cluster, \
                distributed.Client(cluster) as client:
            start = time.perf_counter()
            results[workers] = vd.pulse_echo(*job, client=client, chunk_points=2000, progress=False)
            times[workers] = time.perf_counter() - start
            print(f"{workers} worker(s): {times[workers]:.1f} s, {n * 128 / times[workers]:.3g} pairs/s", flush=True)
    # Attenuated, each process's FFT plan (timed as it is made) may differ in the last bits.
    peak = np.abs(results[1]).max()
    print(f"scaling 1 -> 2 workers: {times[1] / times[2]:.2f}x; the two differ by at most "
          f"{np.abs(results[1] - results[2]).max() / peak:.1e} of the peak")


if __name__ == "__main__":
    main()
