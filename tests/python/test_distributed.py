"""velk.distributed: the point-wise modules over chunks of points, on
Dask's local threads and on a local cluster of two worker processes
(loopback only): the same bits as one call, the held arrays sent to each
worker once, a worker killed mid-job, a chunk that fails, Ctrl-C."""
import collections
import doctest
import faulthandler
import os
import signal
import threading
import time

import numpy as np
import pytest

distributed = pytest.importorskip("distributed")
import velk  # noqa: E402
import velk.distributed as vd  # noqa: E402

rng = np.random.default_rng(17)
P = np.c_[rng.uniform(-8, 8, (23, 2)), rng.uniform(5, 40, 23)]
D = rng.uniform(2, 10, len(P))
N = 24
SCANS = rng.standard_normal((N, 400))
POS = np.c_[np.linspace(-8, 8, N), np.zeros((N, 2))]
G = np.c_[rng.uniform(-8, 8, 50), np.zeros(50), rng.uniform(2, 7, 50)]


@pytest.fixture(scope="module")
def client():
    """Two worker processes of one thread, every server on the loopback
    address; closed after the module's tests."""
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  host="127.0.0.1", dashboard_address="127.0.0.1:0",
                                  worker_dashboard_address="127.0.0.1:0") as cluster, \
            distributed.Client(cluster) as c:
        yield c


@pytest.fixture(autouse=True)
def no_hang():
    """A job that hangs ends the run with every thread's stack, not CI's timeout."""
    faulthandler.dump_traceback_later(300, exit=True)
    yield
    faulthandler.cancel_dump_traceback_later()


def lagsum_pair(lagsum, *args, **kwargs):
    H, status = lagsum(*args, **kwargs)
    return np.append(H.ravel(), status)


# (name, the one call, the same over chunks: each a function of the keywords
# client and chunk_points).
CASES = [
    ("discwave per-point delay", lambda: velk.discwave(P, 5, (0.025, 900), D, (1, 1500)),
     lambda **k: vd.discwave(P, 5, (0.025, 900), D, (1, 1500), **k)),
    ("platewave", lambda: velk.platewave(P, (10, 6), (0.025, 900), 4, (1, 1500)),
     lambda **k: vd.platewave(P, (10, 6), (0.025, 900), 4, (1, 1500), **k)),
    ("discwave_avg", lambda: velk.discwave_avg(P, 1, (0.025, 900), D, (1, 1500), 8),
     lambda **k: vd.discwave_avg(P, 1, (0.025, 900), D, (1, 1500), 8, **k)),
    ("platewave_avg", lambda: velk.platewave_avg(P, (0.3, 5), (0.05, 450), D, (1, 1500), 4),
     lambda **k: vd.platewave_avg(P, (0.3, 5), (0.05, 450), D, (1, 1500), 4, **k)),
    ("platewave_array", lambda: velk.platewave_array(P, velk.linear_array(8, 0.3), (0.27, 5),
                                                     (0.05, 450), D, (1, 1500), focus=("x", 20.0),
                                                     apod="triangle", intervals=2),
     lambda **k: vd.platewave_array(P, velk.linear_array(8, 0.3), (0.27, 5), (0.05, 450), D,
                                    (1, 1500), focus=("x", 20.0), apod="triangle", intervals=2,
                                    **k)),
    ("damp", lambda: velk.damp(P, (0.05, 256), D, (1500, 0.5)),
     lambda **k: vd.damp(P, (0.05, 256), D, (1500, 0.5), **k)),
    ("lagsum ignore", lambda: lagsum_pair(velk.lagsum, P, (0.1, 150), D, 1500, "ignore"),
     lambda **k: lagsum_pair(vd.lagsum, P, (0.1, 150), D, 1500, "ignore", **k)),
    ("echofocus", lambda: velk.echofocus(SCANS, POS, 0.1, 0.05, 1500, G, 6),
     lambda **k: vd.echofocus(SCANS, POS, 0.1, 0.05, 1500, G, 6, **k)),
    ("map_points empty", lambda: velk.discwave(np.zeros((0, 3)), 5, (0.025, 9), 0, (1, 1500)),
     lambda **k: vd.map_points(lambda p: velk.discwave(p, 5, (0.025, 9), 0, (1, 1500)),
                               np.zeros((0, 3)), **k)),
]


@pytest.mark.parametrize("name, one_call, chunked", CASES, ids=[c[0] for c in CASES])
def test_chunks_give_the_bits_of_one_call(client, name, one_call, chunked):
    expected = one_call()
    for chunk_points in (1, 7, 100):                     # single, ragged, one chunk
        assert chunked(chunk_points=chunk_points).tobytes() == expected.tobytes()
    # damp's transform is planned by timing in each process: the last bit
    # may differ between processes.
    on_cluster = chunked(client=client, chunk_points=7)
    if name == "damp":
        np.testing.assert_allclose(on_cluster, expected, rtol=0, atol=1e-14 * abs(expected).max())
    else:
        assert on_cluster.tobytes() == expected.tobytes()


def test_lagsum_reports_come_back_in_the_order_of_the_points(client):
    far = np.vstack([P, [[0, 0, 500]], P[:3], [[0, 0, 900]]])
    with pytest.warns(velk.OutOfBoundsWarning) as one:
        H, status = velk.lagsum(far, (0.1, 150), 0, 1500, "warn")
    with pytest.warns(velk.OutOfBoundsWarning) as chunked:
        Hc, status_c = vd.lagsum(far, (0.1, 150), 0, 1500, "warn", client=client,
                                 chunk_points=5)
    assert [str(w.message) for w in chunked] == [str(w.message) for w in one]
    assert (Hc.tobytes(), status_c) == (H.tobytes(), status) and status == -2


@pytest.mark.parametrize("on_cluster", [False, True], ids=["local", "cluster"])
def test_a_failing_chunk_fails_the_job_with_its_message(client, on_cluster):
    far = P.copy()
    far[12] = [0, 0, 500]                     # the one point out of the window: chunk 3 of 5
    with pytest.raises(ValueError) as one:
        velk.lagsum(far, (0.1, 400), 0, 1500, "stop")
    started = time.monotonic()
    with pytest.raises(ValueError) as chunked:
        vd.lagsum(far, (0.1, 400), 0, 1500, "stop", client=client if on_cluster else None,
                  chunk_points=5)
    assert str(chunked.value) == str(one.value)
    assert time.monotonic() - started < 30


@pytest.mark.parametrize("result", [np.zeros(2), np.float64(1.0)], ids=["rows", "scalar"])
def test_a_result_without_one_row_per_point_is_refused(result):
    with pytest.raises(ValueError, match="one row per point"):
        vd.map_points(lambda p: result, P, chunk_points=5)


class CountedFocus:
    """An echofocus job that holds its A-scans, and whose every unpickling
    (in any process) appends that process's id to a file."""

    def __init__(self, log):
        self.log, self.scans = log, SCANS.copy()

    def __call__(self, chunk):
        return velk.echofocus(self.scans, POS, 0.1, 0.05, 1500, chunk, 6, threads=1)

    def __setstate__(self, state):
        self.__dict__.update(state)
        with open(self.log, "a") as log:
            log.write(f"{os.getpid()}\n")


def test_the_held_arrays_reach_each_worker_once(client, tmp_path):
    log = tmp_path / "unpickled"
    job = CountedFocus(str(log))
    result = vd.map_points(job, G, client=client, chunk_points=5)    # 10 chunks
    assert result.tobytes() == job(G).tobytes()
    unpickled = collections.Counter(log.read_text().split())
    workers = {str(pid) for pid in client.run(os.getpid).values()}
    assert unpickled == collections.Counter(workers)


def focus_job(points):
    """A focusing job of a few seconds on one core: 32 chunks of 8000 points."""
    scans = np.random.default_rng(1).standard_normal((2048, 1500))
    positions = np.c_[np.linspace(-12, 12, 2048), np.zeros((2048, 2))]
    return (scans, positions, 0.1, 0.025, 1500, points, 24)


GRID = np.c_[rng.uniform(-10, 10, 32 * 8000), np.zeros(32 * 8000), rng.uniform(5, 30, 32 * 8000)]


def tasks_in_memory(dask_scheduler):
    return sum(ts.state == "memory" and "velk-chunk" in str(ts.key)
               for ts in dask_scheduler.tasks.values())


def test_a_worker_killed_mid_job_leaves_the_same_bits(client):
    args = focus_job(GRID)
    expected = velk.echofocus(*args)
    pids = client.run(os.getpid)
    outcome = {}
    job = threading.Thread(target=lambda: outcome.update(
        image=vd.echofocus(*args, client=client, chunk_points=8000, progress=False)))
    job.start()
    while client.run_on_scheduler(tasks_in_memory) < 4:
        assert job.is_alive()
        time.sleep(0.05)
    victim = next(iter(pids.values()))
    os.kill(victim, signal.SIGKILL)
    assert job.is_alive()                     # the job was not over when its worker died
    job.join(timeout=240)
    assert outcome["image"].tobytes() == expected.tobytes()
    client.wait_for_workers(2, timeout=60)    # the nanny started another
    assert victim not in client.run(os.getpid).values()


@pytest.mark.parametrize("on_cluster", [False, True], ids=["local", "cluster"])
def test_a_progress_bar_for_long_jobs_only(client, capsys, on_cluster):
    # The short job (two chunks of a few milliseconds) ends well within the
    # second even on a loaded machine; the long one takes several.
    client = client if on_cluster else None
    vd.echofocus(*focus_job(GRID[:400]), client=client, chunk_points=200)
    assert capsys.readouterr().out == ""
    vd.echofocus(*focus_job(GRID), client=client, chunk_points=8000)
    assert "100% Completed" in capsys.readouterr().out


@pytest.mark.parametrize("on_cluster", [False, True], ids=["local", "cluster"])
def test_ctrl_c_cancels_the_pending_chunks(client, on_cluster, sigint_delivered):
    args = focus_job(GRID)
    main = threading.get_ident()
    timer = threading.Timer(1.0, signal.pthread_kill, (main, signal.SIGINT))
    timer.start()
    started = time.monotonic()
    with pytest.raises(KeyboardInterrupt):
        vd.echofocus(*args, client=client if on_cluster else None, chunk_points=8000,
                     progress=False)
    # Stopped within a chunk or two of the signal, not at the end of the job.
    assert time.monotonic() - started < 4
    if on_cluster:
        assert client.run_on_scheduler(
            lambda dask_scheduler: [k for k in dask_scheduler.tasks if "velk" in str(k)]) == []


def test_the_help_example_runs_as_shown():
    failed, attempted = doctest.testmod(vd)
    assert attempted > 0 and failed == 0


@pytest.mark.parametrize("alpha", [0.0, 0.5])
def test_pulse_echo_chunks_add_to_one_call(client, alpha):
    # With attenuation each process times its own transform plan, so the
    # chunks agree to the last bits of the attenuated pulses, not to the bit.
    probe = velk.linear_probe(8, 0.3, (0.27, 5))
    events = velk.plane_wave_events(probe, [-5.0, 5.0], 1540)
    s = np.c_[rng.uniform(-2, 2, 50), np.zeros(50), rng.uniform(4, 9, 50)]
    job = (s, rng.standard_normal(50), probe, events, [1.0, 0.5, -1.0], 0.05, 300, 0, 1540, alpha)
    whole = velk.pulse_echo(*job)
    local = vd.pulse_echo(*job, chunk_points=7, progress=False)
    cluster = vd.pulse_echo(*job, chunk_points=7, client=client, progress=False)
    assert np.abs(local - whole).max() <= 1e-12 * np.abs(whole).max()
    if alpha == 0:
        assert local.tobytes() == cluster.tobytes()
    else:
        assert np.abs(local - cluster).max() <= 1e-12 * np.abs(whole).max()


@pytest.mark.parametrize("compound", [True, False])
def test_beamform_chunks_give_the_bits_of_one_call(client, compound):
    probe = velk.linear_probe(8, 0.3, (0.27, 5))
    events = velk.plane_wave_events(probe, [-4.0, 4.0], 1540)
    data = rng.standard_normal((2, 8, 400))
    args = (data, probe, events, 0, 0.025, 1540, G)
    whole = velk.beamform(*args, compound=compound)
    assert vd.beamform(*args, compound=compound, client=client, chunk_points=16,
                       progress=False).tobytes() == whole.tobytes()
