"""A 10^6-scatterer phantom, one focused line (64-element aperture, received on its 64
elements), over a local cluster of two worker processes: time and each worker's peak RSS.

    python bench/pulse_echo_cluster_memory.py
"""
import resource, time
import numpy as np
import distributed
import velk, velk.distributed as vd

def peak_mb():
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024

def main():
    n = 1_000_000
    rng = np.random.default_rng(0)
    s = np.c_[rng.uniform(-15, 15, n), rng.uniform(-5, 5, n), rng.uniform(5, 60, n)]
    a = rng.standard_normal(n)
    probe = velk.linear_probe(128, 0.3, (0.27, 5))
    events = velk.focused_events(probe, [[0, 0, 30]], 1540, 64)
    t = np.arange(41) * 0.025
    pulse = np.sin(2 * np.pi * 5 * t) * np.hanning(41)
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True, host="127.0.0.1",
                                  dashboard_address="127.0.0.1:0", memory_limit=0) as cluster, \
            distributed.Client(cluster) as client:
        print("workers' RSS before:", {k: round(v) for k, v in client.run(peak_mb).items()}, "MB", flush=True)
        start = time.perf_counter()
        y = vd.pulse_echo(s, a, probe, events, pulse, 0.025, 3200, 0, 1540, 0.5, client=client,
                          chunk_points=50_000, progress=False)
        took = time.perf_counter() - start
        print(f"{n} scatterers, one focused line of 64 elements: {took:.0f} s; result {y.shape}", flush=True)
        print("workers' peak RSS:", {k: round(v) for k, v in client.run(peak_mb).items()}, "MB")
        print(f"client peak RSS {peak_mb():.0f} MB (the scatterers {(s.nbytes + a.nbytes) / 2**20:.0f} MB)")


if __name__ == "__main__":
    main()
