"""The package against the Octave modules on the same inputs: every
example call (examples.py) bit for bit, and the refusals with the same
message. Octave runs once for all cases; arrays go both ways as raw doubles."""
import pathlib
import types
import warnings

import numpy as np
import pytest

import velk
from conftest import read_matrix, write_matrix
from examples import PYTHON_FORM, load, registered_modules

rng = np.random.default_rng(11)
_P = np.vstack([[[0, 0, 20], [5, 0, 10], [0, 0, 32], [3, 4, 0.5]],
                np.c_[rng.uniform(-8, 8, (6, 2)), rng.uniform(5, 40, 6)]])
_N = 16
v = types.SimpleNamespace(
    P=_P, D=rng.uniform(2, 10, len(_P)), SC=rng.standard_normal((_N, 300)),
    POS=np.c_[np.linspace(-8, 8, _N), np.zeros((_N, 2))],
    G=np.c_[rng.uniform(-8, 8, 60), np.zeros(60), rng.uniform(2, 7, 60)],
    S=rng.standard_normal((5, 40)), F=rng.standard_normal((5, 7)))

CALLS = load()

# (name, a refused Python call, the same call in Octave).
REFUSALS = [
    ("scalar", lambda: velk.discwave(v.P, [1, 2], (0.025, 10), 0, (1, 1500)),
     "discwave(P, [1 2], [0.025 10], 0, [1 1500]);"),
    ("pair", lambda: velk.platewave(v.P, 10, (0.025, 10), 0, (1, 1500)),
     "platewave(P, 10, [0.025 10], 0, [1 1500]);"),
    ("per point", lambda: velk.discwave(v.P, 1, (0.025, 10), v.D[:3], (1, 1500)),
     "discwave(P, 1, [0.025 10], D(1:3), [1 1500]);"),
    ("intervals", lambda: velk.discwave_avg(v.P, 1, (0.025, 10), 0, (1, 1500), 0.5),
     "discwave_avg(P, 1, [0.025 10], 0, [1 1500], 0.5);"),
    ("samples", lambda: velk.damp(v.P, (0.05, 0), 0, (1500, 0.5)),
     "velk_damp(P, [0.05 0], 0, [1500 0.5]);"),
    ("level", lambda: velk.lagsum(v.P, (0.1, 10), 0, 1500, "loud"),
     "lagsum(P, [0.1 10], 0, 1500, 'loud');"),
    ("positions", lambda: velk.echofocus(v.SC, v.POS[1:], 0, 0.05, 1500, v.G, 6),
     "echofocus_mt(SC.', POS(2:end, :), 0, 0.05, 1500, G, 6, 2);"),
    ("threads", lambda: velk.fold(v.S, v.F, threads=0), "fold_mt(S.', F.', 0);"),
    ("window", lambda: velk.taper("ud", 4, 0), "velk_taper('ud', 4, 0);"),
]

_READ = "\n".join(f'{name} = velk_in("{name}");' for name in vars(v))
_HELPERS = """1;
function X = velk_in(name)
  f = fopen([name ".bin"], "r"); raw = fread(f, Inf, "double"); fclose(f);
  X = reshape(raw(3:end), raw(1), raw(2));
endfunction
function velk_out(name, R)
  for k = 1:numel (R)
    f = fopen(sprintf("%s_%d.bin", name, k), "w");
    fwrite(f, [rows(R{k}); prod(size (R{k})(2:end)); R{k}(:)], "double"); fclose(f);
  endfor
endfunction
function velk_error(name, message)
  f = fopen([name ".txt"], "w"); fputs(f, message); fclose(f);
endfunction
"""

# Each example's results in Octave: the results it returns, and the
# argument it writes in place for the modules that write one.
_WRITTEN = {"fold_mt": 4, "paste_mt": 1}


@pytest.fixture(scope="module")
def octave_run(octave, tmp_path_factory):
    folder = tmp_path_factory.mktemp("inputs")
    calls_dir = pathlib.Path(__file__).parents[1] / "calls"
    statements = [_HELPERS, f"addpath('{calls_dir}'); cd('{folder}');", _READ,
                  "calls = example_calls ();",
                  "for i = 1:numel (calls)",
                  "  c = calls(i); R = cell (1, c.n_out); args = c.args;",
                  "  try; [R{:}] = feval (c.name, args{:});",
                  "    written = struct (" + ", ".join(f'"{k}", {n}' for k, n in _WRITTEN.items())
                  + ");",
                  "    if (isfield (written, c.name) && numel (args) >= written.(c.name))",
                  "      R = args(written.(c.name));",
                  "    endif",
                  "    velk_out(sprintf ('call%d', i), R);",
                  "  catch err; velk_error(sprintf ('call%d', i), err.message); end_try_catch",
                  "endfor"]
    for name, value in vars(v).items():
        write_matrix(folder / f"{name}.bin", value)
    for i, (_, _, statement) in enumerate(REFUSALS):
        statements.append(f"try; {statement} catch err; velk_error('refusal{i}', err.message); "
                          "end_try_catch")
    octave("\n".join(statements))
    return folder


def bits(x):
    x = np.asarray(x, dtype=np.float64)
    return x.shape, x.tobytes()


def test_every_registered_module_has_its_python_form_and_examples():
    registered = registered_modules()
    assert list(velk._core.modules) == registered
    assert sorted(PYTHON_FORM) == sorted(registered)
    assert sorted({c["name"] for c in CALLS}) == sorted(registered)


# The attenuation's transform is planned by timing candidates (FFTW_MEASURE),
# so two processes, two Octave sessions as well, may take plans whose sums
# differ in the last bit: its results agree to the last bit of each response
# (velk_damp), or, where a channel sums attenuated pulses over its echoes, to
# a few dozen times that (pulse_echo). The ulps of each channel's peak:
TIMED_PLAN = {"velk_damp": 2, "pulse_echo": 64}


@pytest.mark.parametrize("i", range(len(CALLS)), ids=[c["name"] for c in CALLS])
def test_same_bits_as_octave(octave_run, i):
    c = CALLS[i]
    assert not (octave_run / f"call{i + 1}.txt").exists(), \
        (octave_run / f"call{i + 1}.txt").read_text()
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", velk.OutOfBoundsWarning)
        results = PYTHON_FORM[c["name"]](*c["args"])
    for k, part in enumerate(results, start=1):
        expected = read_matrix(octave_run / f"call{i + 1}_{k}.bin")
        if c["name"] in TIMED_PLAN:
            assert bits(part)[0] == bits(expected)[0]
            scale = np.abs(expected).max(axis=0, keepdims=True)
            tolerance = TIMED_PLAN[c["name"]] * np.finfo(float).eps * scale
            assert np.all(np.abs(part - expected) <= tolerance)
        else:
            assert bits(part) == bits(expected)


@pytest.mark.parametrize("i", range(len(REFUSALS)), ids=[r[0] for r in REFUSALS])
def test_same_refusal_as_octave(octave_run, i):
    octave_message = (octave_run / f"refusal{i}.txt").read_text()
    with pytest.raises(ValueError) as refusal:
        REFUSALS[i][1]()
    # Octave puts the module's name in front, Python the argument's.
    assert str(refusal.value).split(": ", 1)[1] == octave_message.split(": ", 1)[1]
