"""velk.distributed on local clusters of this machine: a focusing job's
time on two worker processes against one, the cost of a chunk (scheduling,
transfer of its points and result) against its compute time for several
chunk sizes, and the bytes each worker reads during a job.

    build/python-venv/bin/python bench/distributed_bench.py [--seconds 12] [--repeats 3]

Every cluster listens on 127.0.0.1 only. Each worker has one thread and
each module call one thread, so one worker process uses one core. Times
are the best of --repeats; other work on the machine slows them, so the
load average is printed first.
"""
import argparse
import os
import time

import numpy as np

import distributed
import velk
import velk.distributed as vd


def focus_job(n_points, seed=7):
    """A focusing job: 1024 A-scans of 2000 samples over 51 mm, an aperture
    of 20 mm (about 400 A-scans per point), n_points image points."""
    rng = np.random.default_rng(seed)
    scans = rng.standard_normal((1024, 2000))
    positions = np.c_[np.linspace(-25, 25, 1024), np.zeros((1024, 2))]
    points = np.c_[rng.uniform(-20, 20, n_points), np.zeros(n_points),
                   rng.uniform(5, 35, n_points)]
    return scans, positions, 0.1, 0.025, 1500, points, 20


def best(repeats, run):
    times = []
    for _ in range(repeats):
        started = time.perf_counter()
        run()
        times.append(time.perf_counter() - started)
    return min(times)


def cluster(n_workers):
    return distributed.LocalCluster(n_workers=n_workers, threads_per_worker=1, processes=True,
                                    host="127.0.0.1", dashboard_address="127.0.0.1:0",
                                    worker_dashboard_address="127.0.0.1:0")


def received_bytes(dask_worker=None):
    """Bytes of the messages this process has received over TCP since the
    first call (the frames distributed's TCP comm reads): the first call
    installs the counter."""
    import distributed.comm.tcp as tcp
    from distributed.utils import nbytes
    if not hasattr(tcp, "received_bytes"):
        unpack = tcp.from_frames

        async def counted(frames, *args, **kwargs):
            tcp.received_bytes += sum(nbytes(f) for f in frames)
            return await unpack(frames, *args, **kwargs)
        tcp.received_bytes = 0
        tcp.from_frames = counted
    return tcp.received_bytes


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seconds", type=float, default=12.0,
                        help="the scaling job's length on one core")
    parser.add_argument("--repeats", type=int, default=3)
    options = parser.parse_args()
    print("load average:", " ".join(f"{x:.2f}" for x in os.getloadavg()), "on", os.cpu_count(),
          "cores")

    # Compute time per point on one thread, in this process.
    probe = focus_job(20000)
    per_point = best(options.repeats, lambda: velk.echofocus(*probe, threads=1)) / 20000
    print(f"echofocus on one thread: {per_point * 1e6:.2f} us per point")

    n_points = int(options.seconds / per_point)
    job = focus_job(n_points)
    expected = velk.echofocus(*job, threads=1)
    chunk = 20000

    times = {}
    for n_workers in (1, 2):
        with cluster(n_workers) as c, distributed.Client(c) as client:
            def run():
                image = vd.echofocus(*job, client=client, chunk_points=chunk, progress=False)
                assert image.tobytes() == expected.tobytes()
            run()                                              # workers warmed up
            times[n_workers] = best(options.repeats, run)
            print(f"{n_workers} worker process(es): {n_points} points in chunks of {chunk}: "
                  f"{times[n_workers]:.2f} s")
            client.run(received_bytes)
            before = client.run(received_bytes)
            run()
            after = client.run(received_bytes)
            chunks = -(-n_points // chunk)
            print(f"  bytes each worker received during one job of {chunks} chunks: "
                  f"{sorted(after[w] - before[w] for w in after)} (A-scans {job[0].nbytes}, "
                  f"points {job[5].nbytes}, image {expected.nbytes}; the A-scans once per "
                  f"chunk would be {job[0].nbytes * chunks})")
            if n_workers == 1:
                # A chunk's cost apart from its compute: a job whose chunks
                # compute nothing, with the points and results of the focusing
                # job's chunks, divided by its chunk count.
                print("chunk points | chunk compute ms | overhead per chunk ms | "
                      "overhead / compute")
                for size in (1000, 5000, 10000, 20000, 50000):
                    sub = focus_job(50 * size)[5]
                    empty = best(options.repeats, lambda: vd.map_points(
                        lambda p: np.zeros(len(p)), sub, client=client, chunk_points=size,
                        progress=False))
                    overhead, compute = empty / 50, size * per_point
                    print(f"{size:12d} | {compute * 1e3:16.1f} | {overhead * 1e3:21.2f} | "
                          f"{overhead / compute:17.1%}")
    print(f"scaling, one worker process against two: {times[1] / times[2]:.2f}")
    print("load average:", " ".join(f"{x:.2f}" for x in os.getloadavg()))


if __name__ == "__main__":
    main()
