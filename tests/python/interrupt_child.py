"""One long call of the package, stopped by SIGINT from the parent
(test_interrupt.py), while another thread makes small calls of the same
module: `python interrupt_child.py <case>` prints "ready" just before the
call, then, on its last line, what the test checks as JSON."""
import ctypes
import json
import os
import sys
import threading
import time
import traceback

import numpy as np

import velk

rng = np.random.default_rng(5)


ALONGSIDE = b"alongside"


def worker_count():
    """The threads of the process but those of the other thread's calls
    (which take its name when they start). A thread just joined may linger
    in /proc for a moment: the count is the one that holds for 50 ms."""
    count, settled = task_count(), -1
    for _ in range(40):
        time.sleep(0.05)
        count, settled = task_count(), count
        if count == settled:
            break
    return count


def task_count():
    count = 0
    for task in os.listdir("/proc/self/task"):
        try:
            with open(f"/proc/self/task/{task}/comm", "rb") as comm:
                count += comm.read().strip() != ALONGSIDE
        except FileNotFoundError:  # ended meanwhile
            pass
    return count


def fold():
    # Long enough (about 2 s on two threads of a vectorised convolution) that
    # the signal falls inside the call even on an idle machine.
    signals, filters = rng.random((256, 20000)), rng.random(8192) - 0.5
    out = np.full((256, 20000 + 8191), np.nan)

    def in_place():  # every row untouched, or its whole convolution
        written = [i for i in range(len(out)) if not np.isnan(out[i]).all()]
        if not 0 < len(written) < len(out):
            return f"{len(written)} of {len(out)} rows written"
        for i in written:
            if out[i].tobytes() != velk.fold(signals[i], filters, threads=1)[0].tobytes():
                return f"row {i} half written"
        return ""
    return (lambda: velk.fold(signals, filters, threads=2, out=out), 1, in_place,
            lambda: velk.fold(signals[:3, :50], filters[:9], threads=2))


def paste():
    # Calls that each take a moment, one after the other, pasting two blocks
    # in turn: a row of the target holds one of them whole, or its old values.
    target = np.full((1000, 20000), np.nan)
    blocks = [rng.random((1000, 20000)), rng.random((1000, 20000))]
    calls = iter(range(10 ** 6))

    def in_place():
        rows = [{r.tobytes() for r in b} for b in blocks]
        for i, row in enumerate(target):
            if not (np.isnan(row).all() or row.tobytes() in rows[0] | rows[1]):
                return f"row {i} half written"
        return ""
    return (lambda: velk.paste(target, (0, 1000), (0, 20000), blocks[next(calls) % 2],
                               threads=2), 400, in_place,
            small_paste)


def small_paste():
    target = np.zeros((4, 4))
    velk.paste(target, (1, 3), (1, 3), [[1, 2], [3, 4]], threads=2)
    return target


def lagsum():
    points = np.c_[rng.random((4 * 10 ** 6, 2)) * 10, 20 + rng.random(4 * 10 ** 6) * 10]
    return (lambda: velk.lagsum(points, (0.1, 20), 12, 1500, "ignore"), 1, None,
            lambda: velk.lagsum(points[:30], (0.1, 300), 0, 1500, "ignore")[0])


def echofocus():
    scans, n = rng.random((1024, 2048)) - 0.5, 1024
    positions = np.c_[np.linspace(-16, 16, n), np.zeros((n, 2))]
    x, z = np.meshgrid(np.linspace(-10, 10, 1000), np.linspace(10, 30, 1000))
    points = np.c_[x.ravel(), np.zeros(x.size), z.ravel()]
    return (lambda: velk.echofocus(scans, positions, 0, 0.025, 1500, points, 20, threads=2), 1,
            None, lambda: velk.echofocus(scans, positions, 0, 0.025, 1500, points[:99], 20))


call, repeats, in_place, small_call = globals()[sys.argv[1]]()
small_before = small_call()
workers_before = worker_count()

# Another thread calls the same module meanwhile: the interrupt is the main
# thread's call's alone.
companion = {"calls": 0, "differing": 0, "stop": threading.Event()}


def call_alongside():
    ctypes.CDLL(None).prctl(15, ALONGSIDE, 0, 0, 0)  # PR_SET_NAME
    while not companion["stop"].is_set():
        companion["calls"] += 1
        companion["differing"] += small_call().tobytes() != small_before.tobytes()


# A daemon, so that the child never waits for it at exit; a signal that
# comes before the call (during the print) is caught as outside the call.
alongside = threading.Thread(target=call_alongside, daemon=True)
alongside.start()
report = {"interrupted": False}
try:
    print("ready", flush=True)
    for _ in range(repeats):
        call()
except KeyboardInterrupt:
    report.update(caught=time.monotonic(), interrupted=True, workers_after=worker_count(),
                  workers_before=workers_before)
    companion["stop"].set()
    alongside.join()
    report.update(calls_alongside=companion["calls"], differing_alongside=companion["differing"])
    frames = traceback.extract_tb(sys.exc_info()[2])
    report["inside_call"] = os.path.basename(frames[-1].filename) == "_call.py"
    report["in_place"] = in_place() if in_place else ""
    small_after = small_call()
    report["next_call_same"] = small_after.tobytes() == small_before.tobytes()
# Joined before exit also when no signal came: a daemon thread still inside a
# call when the interpreter ends is unwound through C++ frames and aborts.
companion["stop"].set()
alongside.join()
print(json.dumps(report), flush=True)
