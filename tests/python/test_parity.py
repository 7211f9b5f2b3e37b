"""The package against the Octave modules on the same inputs: every
module's results bit for bit, and its refusals with the same message.
Octave runs once for all cases; arrays go both ways as raw doubles."""
import types
import warnings

import numpy as np
import pytest

import velk
from conftest import read_matrix, write_matrix

rng = np.random.default_rng(11)
_P = np.vstack([[[0, 0, 20], [5, 0, 10], [0, 0, 32], [3, 4, 0.5]],
                np.c_[rng.uniform(-8, 8, (6, 2)), rng.uniform(5, 40, 6)]])
_r = np.sqrt((_P ** 2).sum(axis=1))
_N = 16
v = types.SimpleNamespace(
    P=_P, D=rng.uniform(2, 10, len(_P)), DD=1000 * _r / 1500 - 3,
    SC=rng.standard_normal((_N, 300)),
    POS=np.c_[np.linspace(-8, 8, _N), np.zeros((_N, 2))], DS=rng.uniform(0, 0.5, _N),
    G=np.c_[rng.uniform(-8, 8, 60), np.zeros(60), rng.uniform(2, 7, 60)],
    S=rng.standard_normal((5, 40)), F=rng.standard_normal((5, 7)), f=rng.standard_normal(7),
    Y0=rng.standard_normal((5, 46)), T0=rng.standard_normal((6, 9)),
    B=rng.standard_normal((3, 5)))


def in_place(function, initial, *args, **kwargs):
    target = initial.copy()
    function(target, *args, **kwargs) if function is velk.paste else function(
        *args, out=target, **kwargs)
    return target


# (name, the Python call, Octave statements that leave in R the same
# values with NumPy's shape: a signal per row, a vector as a column).
CASES = [
    ("discwave", lambda: velk.discwave(v.P, 5, (0.025, 1200), v.D, (1, 1500)),
     "R = discwave(P, 5, [0.025 1200], D, [1 1500]).';"),
    ("platewave", lambda: velk.platewave(v.P, (10, 6), (0.025, 1200), 4, (1, 1500)),
     "R = platewave(P, [10 6], [0.025 1200], 4, [1 1500]).';"),
    ("discwave_avg", lambda: velk.discwave_avg(v.P, 1, (0.025, 1200), v.D, (1, 1500), 16),
     "R = discwave_avg(P, 1, [0.025 1200], D, [1 1500], 16).';"),
    ("damp", lambda: velk.damp(v.P, (0.05, 256), v.DD, (1500, 0.5)),
     "R = velk_damp(P, [0.05 256], DD, [1500 0.5]).';"),
    ("lagsum warn", lambda: velk.lagsum(v.P, (0.1, 150), 0, 1500, "warn"),
     "[H, s] = lagsum(P, [0.1 150], 0, 1500, 'warn'); R = {H.', s};"),
    ("lagsum ignore", lambda: velk.lagsum(v.P, (0.1, 300), v.D, 1500, "ignore"),
     "[H, s] = lagsum(P, [0.1 300], D, 1500, 'ignore'); R = {H.', s};"),
    ("echofocus", lambda: velk.echofocus(v.SC, v.POS, v.DS, 0.05, 1500, v.G, 10),
     "R = echofocus(SC.', POS, DS, 0.05, 1500, G, 10);"),
    ("echofocus_mt", lambda: velk.echofocus(v.SC, v.POS, 0.1, 0.05, 1500, v.G, 6, threads=3),
     "R = echofocus_mt(SC.', POS, 0.1, 0.05, 1500, G, 6, 3);"),
    ("fold", lambda: velk.fold(v.S, v.F, threads=2),
     "R = fold_mt(S.', F.', 2).';"),
    ("fold shared filter", lambda: velk.fold(v.S, v.f, threads=1),
     "R = fold_mt(S.', f, 1).';"),
] + [
    (f"fold {mode}", lambda mode=mode: in_place(velk.fold, v.Y0, v.S, v.F, 2, mode=mode),
     f"Y = Y0.'; fold_mt(S.', F.', 2, Y, '{mode}'); R = Y.';") for mode in ("=", "+=", "-=")
] + [
    ("paste", lambda: in_place(velk.paste, v.T0, (2, 5), (1, 4), v.B, threads=2),
     "Y = T0.'; paste_mt(Y, [2 4], [3 5], B.', 2); R = Y.';"),
] + [
    (f"taper {w}", lambda w=w: velk.taper(w, 9, 0.3), f"R = velk_taper('{w}', 9, 0.3);")
    for w in ("off", "triangle", "gauss", "raised", "simply", "clamped")
]

# The attenuation's transform is planned by timing candidates (FFTW_MEASURE),
# so two processes, two Octave sessions as well, may take plans whose sums
# differ in the last bit: its results agree to the last bit of each response.
TIMED_PLAN = {"damp"}

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
  if (! iscell (R)) R = {R}; endif
  for k = 1:numel (R)
    f = fopen(sprintf("%s_%d.bin", name, k), "w");
    fwrite(f, [size(R{k})'; R{k}(:)], "double"); fclose(f);
  endfor
endfunction
function velk_error(name, message)
  f = fopen([name ".txt"], "w"); fputs(f, message); fclose(f);
endfunction
"""


@pytest.fixture(scope="module")
def octave_run(octave, tmp_path_factory):
    folder = tmp_path_factory.mktemp("inputs")
    statements = [_HELPERS, f"cd('{folder}');", _READ]
    for name, value in vars(v).items():
        write_matrix(folder / f"{name}.bin", value)
    for i, (_, _, statement) in enumerate(CASES):
        statements.append(f"try; {statement} velk_out('case{i}', R); catch err; "
                          f"velk_error('case{i}', err.message); end_try_catch")
    for i, (_, _, statement) in enumerate(REFUSALS):
        statements.append(f"try; {statement} catch err; velk_error('refusal{i}', err.message); "
                          "end_try_catch")
    octave("\n".join(statements))
    return folder


def bits(x):
    x = np.asarray(x, dtype=np.float64)
    return (x.shape if x.ndim == 2 else (x.size, 1)), x.tobytes()


@pytest.mark.parametrize("i", range(len(CASES)), ids=[c[0] for c in CASES])
def test_same_bits_as_octave(octave_run, i):
    assert not (octave_run / f"case{i}.txt").exists(), (octave_run / f"case{i}.txt").read_text()
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", velk.OutOfBoundsWarning)
        result = CASES[i][1]()
    parts = result if isinstance(result, tuple) else (result,)
    for k, part in enumerate(parts, start=1):
        expected = read_matrix(octave_run / f"case{i}_{k}.bin")
        if CASES[i][0] in TIMED_PLAN:
            assert bits(part)[0] == bits(expected)[0]
            scale = np.abs(expected).max(axis=1, keepdims=True)
            assert np.all(np.abs(part - expected) <= 2 * np.finfo(float).eps * scale)
        else:
            assert bits(part) == bits(expected)


@pytest.mark.parametrize("i", range(len(REFUSALS)), ids=[r[0] for r in REFUSALS])
def test_same_refusal_as_octave(octave_run, i):
    octave_message = (octave_run / f"refusal{i}.txt").read_text()
    with pytest.raises(ValueError) as refusal:
        REFUSALS[i][1]()
    # Octave puts the module's name in front, Python the argument's.
    assert str(refusal.value).split(": ", 1)[1] == octave_message.split(": ", 1)[1]
