"""Calls from several Python threads: the interpreter lock is given up
while a module computes, and calls that run at once get the results each
gets alone (each call has its own stop state and the shared workspaces
are taken in turns)."""
import ctypes
import signal
import threading

import numpy as np

import velk

rng = np.random.default_rng(3)
P = np.c_[rng.uniform(-5, 5, (40, 2)), rng.uniform(10, 40, 40)]
SCANS, N = rng.standard_normal((64, 1500)), 64
POSITIONS = np.c_[np.linspace(-10, 10, N), np.zeros((N, 2))]
GRID = np.c_[rng.uniform(-8, 8, 3000), np.zeros(3000), rng.uniform(5, 25, 3000)]


def paste_into_new():
    target = np.zeros((64, 1500))
    velk.paste(target, (0, 64), (0, 1500), SCANS, threads=2)
    return target


CALLS = [
    lambda: velk.echofocus(SCANS, POSITIONS, 0, 0.025, 1500, GRID, 12, threads=2),
    lambda: velk.fold(SCANS, SCANS[:, :40], threads=2),
    lambda: velk.lagsum(P, (0.05, 800), 0, 1500, "ignore")[0],
    lambda: velk.damp(P, (0.05, 512), 0, (1500, 0.5)),
    lambda: velk.discwave_avg(P, 2, (0.025, 1800), 0, (1, 1500), 8),
    paste_into_new,
]


def test_two_threads_get_the_results_each_gets_alone():
    alone = [call().tobytes() for call in CALLS]
    start = threading.Barrier(2)
    differing = []

    def run(order):
        start.wait()
        for _ in range(8):
            for i in order:
                if CALLS[i]().tobytes() != alone[i]:
                    differing.append(i)

    threads = [threading.Thread(target=run, args=(order,))
               for order in (range(len(CALLS)), reversed(range(len(CALLS))))]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert differing == []


def sigint_handler():
    """The process's C-level handler of SIGINT (sa_handler leads struct sigaction)."""
    action = ctypes.create_string_buffer(256)
    assert ctypes.CDLL(None).sigaction(signal.SIGINT, None, action) == 0
    return action.raw[:ctypes.sizeof(ctypes.c_void_p)]


def test_other_threads_run_while_a_module_computes_under_pythons_own_handler():
    x, z = np.meshgrid(np.linspace(-10, 10, 600), np.linspace(10, 30, 600))
    grid = np.c_[x.ravel(), np.zeros(x.size), z.ravel()]
    handler = sigint_handler()
    long_call = threading.Thread(
        target=lambda: velk.echofocus(SCANS, POSITIONS, 0, 0.025, 1500, grid, 20, threads=1))
    long_call.start()
    steps, handlers = 0, set()
    while long_call.is_alive():
        steps += 1
        if steps % 1000 == 0:
            handlers.add(sigint_handler())
    long_call.join()
    # With the lock held through the call, this thread would get a few
    # steps in at most.
    assert steps > 10000
    assert handlers == {handler}
