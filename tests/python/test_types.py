"""The type hints, checked by mypy with the package's configuration
(pyproject.toml: --strict, as Python 3.9 reads it) in one run: the
package's sources pass, the calls its users write (typed_calls.py) pass,
and each call of a table of misuses is refused."""
import pathlib
import re
import subprocess
import sys

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]

PREAMBLE = """import numpy as np
import velk
import velk.distributed as vd
P = np.zeros((4, 3))
S = np.ones((4, 100))
Y = np.zeros((4, 101))
"""

# (what is wrong, the call, a part of mypy's message).
MISUSES = [
    ("fold's mode", 'velk.fold(S, [1, 1], out=Y, mode="*=")', '"fold" has incompatible type'),
    ("lagsum's level", 'velk.lagsum(P, (0.1, 9), 0, 1500, "Warn")', "Literal['stop', 'warn'"),
    ("taper's window", 'velk.taper("hann", 8, 0)', '"taper" has incompatible type'),
    ("echofocus's threads by position", "velk.echofocus(S, P, 0, 0.1, 1500, P, 4, 2)",
     "Too many positional arguments"),
    ("fold's out by position", "velk.fold(S, [1, 1], 2, Y)", "Too many positional arguments"),
    ("lagsum's status as text", 'velk.lagsum(P, (0.1, 9), 0, 1500, "warn").status.upper()',
     '"int" has no attribute "upper"'),
    ("threads not whole", "velk.paste(Y, (0, 1), (0, 1), S, threads=1.5)",
     'Argument "threads" to "paste"'),
    ("an argument missing", "velk.discwave(P, 5, (0.025, 800), 12)",
     'Missing positional argument "material"'),
    ("paste's result used", "velk.paste(Y, (0, 1), (0, 1), S) + 1", "does not return a value"),
    ("a scalar as text", 'velk.discwave(P, "5", (0.025, 800), 12, (1, 1500))',
     'Argument 2 to "discwave" has incompatible type "str"'),
    ("client by position", "vd.map_points(lambda p: p, P, None, 100)",
     "Too many positional arguments"),
]


@pytest.fixture(scope="module")
def errors(tmp_path_factory):
    """{file: {line: [messages]}} of one mypy run over the package, the
    users' calls and the misuses (one a line after the preamble)."""
    folder = tmp_path_factory.mktemp("mypy")
    misuses = folder / "misuses.py"
    misuses.write_text(PREAMBLE + "".join(f"{code}\n" for _, code, _ in MISUSES))
    run = subprocess.run(
        [sys.executable, "-m", "mypy", "--config-file", "pyproject.toml",
         "--cache-dir", str(folder / "cache"), "--show-absolute-path",
         "python/velk", "tests/python/typed_calls.py", str(misuses)],
        cwd=ROOT, capture_output=True, text=True, timeout=600)
    if "No module named mypy" in run.stderr:
        pytest.fail("mypy is needed (scripts/setup.sh installs Debian's python3-mypy)")
    found = {}
    for line in run.stdout.splitlines():
        error = re.match(r"(.*?):(\d+): error: (.*)", line)
        if error:
            path, number, message = error.groups()
            key = "misuses.py" if pathlib.Path(path) == misuses else path
            found.setdefault(key, {}).setdefault(int(number), []).append(message)
    # The misuses always fail the run; any other ending is mypy's own failure.
    assert run.returncode == 1 and "misuses.py" in found, run.stdout + run.stderr
    return found


def test_the_package_and_its_users_calls_pass(errors):
    assert {path: lines for path, lines in errors.items() if path != "misuses.py"} == {}


@pytest.mark.parametrize("i", range(len(MISUSES)), ids=[m[0] for m in MISUSES])
def test_each_misuse_is_refused(errors, i):
    line = PREAMBLE.count("\n") + i + 1
    messages = errors.get("misuses.py", {}).get(line, [])
    assert any(MISUSES[i][2] in m for m in messages), messages
