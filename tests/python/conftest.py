"""Shared by the tests of the Python package: the installed package velk,
and Octave with the CMake build's modules (VELK_MEX_DIR) for the parity
tests."""
import os
import pathlib
import shutil
import signal
import subprocess

import numpy as np
import pytest


@pytest.fixture(scope="session")
def octave(tmp_path_factory):
    """Runs an Octave script with the modules on the path; returns a
    function script -> folder in which the script ran (its files there)."""
    mex_dir = os.environ.get("VELK_MEX_DIR")
    if not mex_dir or not shutil.which("octave-cli"):
        pytest.skip("VELK_MEX_DIR (the CMake build's modules) and octave-cli are needed")

    def run(script):
        folder = tmp_path_factory.mktemp("octave")
        (folder / "case_script.m").write_text(script)
        subprocess.run(["octave-cli", "--norc", "--no-window-system", "--eval",
                        f"addpath('{mex_dir}'); cd('{folder}'); case_script;"],
                       env=dict(os.environ, OCTAVE_HISTFILE="/dev/null"), check=False,
                       capture_output=True, timeout=300)
        return folder
    return run


def write_matrix(path: pathlib.Path, x):
    """A 1-D or 2-D array as rows, cols and the elements in Fortran order,
    all as doubles: Octave reads the matrix with NumPy's shape."""
    x = np.asarray(x, dtype=np.float64)
    x = x.reshape(-1, 1) if x.ndim < 2 else x
    np.concatenate([x.shape, x.ravel(order="F")]).astype(np.float64).tofile(path)


def read_matrix(path: pathlib.Path):
    raw = np.fromfile(path, dtype=np.float64)
    rows, cols = int(raw[0]), int(raw[1])
    return raw[2:].reshape((rows, cols), order="F")


@pytest.fixture
def sigint_delivered():
    """Fails the Ctrl-C tests at once, with the reason, where SIGINT is ignored (a
    background job of a shell without job control): Python then never raises
    KeyboardInterrupt, and neither do its children."""
    if signal.getsignal(signal.SIGINT) is signal.SIG_IGN:
        pytest.fail("SIGINT is ignored in this process: run the tests in the foreground "
                    "or from a shell with job control (set -m)")
