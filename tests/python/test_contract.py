"""One contract in both hosts: every argument and result that an Octave help
file lists (its Arguments and Result sections) against the Python
function's numpydoc Parameters and Returns, through an explicit map of
names. The units each entry states ("in mm", "in m/s", "dimensionless")
must be the same, in the same order, and the shapes ("No x 3", "NT x No")
must be those of the Python entry once read in NumPy's layout."""
import pathlib
import re

import pytest
from numpydoc.docscrape import FunctionDoc

import velk

ROOT = pathlib.Path(__file__).resolve().parents[2]

RETURN = ""             # the name numpydoc gives the one unnamed result
SAME, TRANSPOSED, COLUMN = "same", "transposed", "column"

# The modules as modules.def lists them: (name, folder, Python function).
MODULES = [m.groups() for m in re.finditer(r"^VELK_MODULE\((\w+), (\w+), (\w+),",
                                           (ROOT / "modules.def").read_text(), re.M)]

# Module -> ({argument: parameter}, {result: returned}), the entries of its
# help file <folder>/<name>.m against those of its Python function. A name
# maps to the Python name, or to (name, layout) where the shape reads
# otherwise in NumPy: TRANSPOSED, a signal per column there and per row
# here; COLUMN, an N x 1 column there and an (N,) array here (and any other
# shape read transposed). A list of names: an entry that holds several
# parameters ([T0 DT], a struct of options), its units theirs in order.
# None: an entry that refers to another help file.
CONTRACTS = {
    "discwave": ({"POINTS": "points", "A": "a", "[DT NT]": "sampling", "DELAY": "delay",
                  "[V CP]": "material"},
                 {"H": (RETURN, TRANSPOSED)}),
    "platewave": ({"POINTS": "points", "[A B]": "size", "[DT NT]": "sampling",
                   "DELAY": "delay", "[V CP]": "material"},
                  {"H": (RETURN, TRANSPOSED)}),
    "discwave_avg": ({"POINTS": "points", "A": "a", "[DT NT]": "sampling", "DELAY": "delay",
                      "[V CP]": "material", "N": "n_intervals"},
                     {"H": (RETURN, TRANSPOSED)}),
    "platewave_avg": ({"POINTS": "points", "[A B]": "size", "[DT NT]": "sampling",
                       "DELAY": "delay", "[V CP]": "material", "N": "n_intervals"},
                      {"H": (RETURN, TRANSPOSED)}),
    "platewave_array": ({"POINTS": "points", "ELEMENTS": "elements", "[A B]": "size",
                         "[DT NT]": "sampling", "DELAY": "delay", "[V CP]": "material",
                         "FOCUS": "focus", "STEER": "steer", "APOD": "apod", "N": "intervals",
                         "NCPU": "threads"},
                        {"H": (RETURN, TRANSPOSED), "TAU": None, "W": None}),
    "discwave_array": ({"POINTS": "points", "ELEMENTS": "elements", "A": "a",
                        "[DT NT]": "sampling", "DELAY": "delay", "[V CP]": "material",
                        "FOCUS": "focus", "STEER": "steer", "APOD": "apod", "N": "intervals",
                        "NCPU": "threads"},
                       {"H": (RETURN, TRANSPOSED), "TAU": None, "W": None}),
    "wave_arrival": ({"POINTS": "points", "KIND": "kind", "ORIGIN": "origin", "T0": "t0",
                      "CP": "cp"},
                     {"T": (RETURN, COLUMN)}),
    "velk_damp": ({"POINTS": "points", "[DT NT]": "sampling", "DELAY": "delay",
                   "[CP ALPHA]": "medium"},
                  {"H": (RETURN, TRANSPOSED)}),
    "lagsum": ({"POINTS": "points", "[DT NT]": "sampling", "DELAY": "delay", "CP": "cp",
                "LEVEL": "level"},
               {"H": ("response", TRANSPOSED), "STATUS": "status"}),
    "echofocus": ({"S": ("scans", TRANSPOSED), "POSITIONS": "positions", "DELAY": "delay",
                   "DT": "dt", "CP": "cp", "POINTS": "points", "A": "width"},
                  {"OUT": (RETURN, COLUMN)}),
    "echofocus_mt": ({"S ... A": None, "NCPU": "threads"}, {"OUT": (RETURN, COLUMN)}),
    "fold_mt": ({"A": ("signals", TRANSPOSED), "B": ("filters", TRANSPOSED), "N": "threads",
                 "Y": ("out", TRANSPOSED), "MODE": "mode"},
                {"Y": (RETURN, TRANSPOSED)}),
    "paste_mt": ({"Y": ("target", TRANSPOSED), "[R1 R2]": "cols", "[C1 C2]": "rows",
                  "S": "block", "N": "threads"},
                 {}),
    "velk_taper": ({"WINDOW": "window", "N": "n", "P": "p"}, {"W": (RETURN, COLUMN)}),
    "analytic": ({"X": ("signals", TRANSPOSED)}, {"Y": (RETURN, TRANSPOSED)}),
    "iq": ({"X": ("signals", TRANSPOSED), "[FD BANDWIDTH]": ["fd", "bandwidth"],
            "[DT DELAY]": ["dt", "delay"]},
           {"Q": (RETURN, TRANSPOSED)}),
    "beamform": ({"DATA": ("data", TRANSPOSED), "PROBE": "probe", "EVENTS": "events",
                  "[T0 DT]": ["t0", "dt"], "CP": "cp", "POINTS": "points",
                  "OPTIONS": ["interpolation", "f_number", "window", "tx_window", "compound",
                              "fd", "threads"]},
                 {"B": (RETURN, COLUMN)}),
    "pulse_echo": ({"SCATTERERS": "scatterers", "AMPLITUDES": ("amplitudes", COLUMN),
                    "PROBE": "probe", "EVENTS": "events", "PULSE": "pulse",
                    "[DT NT]": ["dt", "nt"], "T0": "t0", "[CP ALPHA]": ["cp", "alpha"],
                    "OPTIONS": ["intervals", "oversample", "threads", "progress"]},
                   {"Y": (RETURN, TRANSPOSED)}),
}

# The units the help texts state, as "in <unit>"; longest first, so that
# "in m/s" is not read as "in m".
UNITS = ["m^2/s^2", "dB/(cm MHz)", "m/s", "mm", "us"]
_UNIT = re.compile(r"\bin (" + "|".join(map(re.escape, UNITS)) + r")(?![\w/^])|\b(dimensionless)\b")
_OCTAVE_SHAPE = re.compile(r"\(?[\w+\-]+\)?(?: x \(?[\w+\-]+\)?)+")
_PYTHON_SHAPE = re.compile(r"\(([^()]*,[^()]*)\)")


def units(text):
    return [unit or "1" for unit, _ in _UNIT.findall(text)]


def dimension(name):
    return re.sub(r"\s", "", name).strip("()").lower()


def octave_shapes(text, layout):
    shapes = set()
    for shape in _OCTAVE_SHAPE.findall(text):
        dims = [dimension(d) for d in shape.split(" x ")]
        if layout == COLUMN and dims[-1] == "1":
            dims.pop()
        shapes.add(tuple(reversed(dims)) if layout != SAME else tuple(dims))
    return shapes


def python_shapes(text):
    return {tuple(dimension(d) for d in shape.split(",") if d.strip())
            for shape in _PYTHON_SHAPE.findall(text)}


def octave_sections(path):
    """{"Argument": {name: text}, "Result": {name: text}} of a help file:
    each entry a line indented by 5 under its heading, its continuation
    lines indented further."""
    sections, entries = {}, None
    for line in (ROOT / path).read_text().splitlines():
        if not line.startswith("%"):
            break
        heading = re.fullmatch(r"%   (Arguments|Results?)", line)
        if heading:
            entries = sections.setdefault(heading.group(1).rstrip("s"), {})
        elif entries is not None and not line[1:].strip():
            entries = None
        elif entries is not None:
            entry = re.match(r"%     (\[[^\]]+\]|\S+(?: \.\.\. \S+)?)\s+(.*)", line)
            if entry:
                name = entry.group(1)
                entries[name] = entry.group(2)
            else:
                entries[name] += " " + line[1:].strip()
    return sections


def python_entries(function, section):
    """{name: (type, description)} of a numpydoc section."""
    return {p.name: (p.type, " ".join(p.desc))
            for p in FunctionDoc(getattr(velk, function))[section]}


def mapped(target):
    return target if isinstance(target, tuple) else (target, SAME)


def python_names(target):
    return target if isinstance(target, list) else [mapped(target)[0]]


CASES = [(f"{folder}/{module}.m", function, section, name, target)
         for module, folder, function in MODULES
         for section, table in zip(("Argument", "Result"), CONTRACTS[module])
         for name, target in table.items() if target is not None]


def test_every_module_has_a_contract():
    assert sorted(CONTRACTS) == sorted(m[0] for m in MODULES)


@pytest.mark.parametrize("module, folder, function", MODULES)
def test_every_entry_of_the_help_file_is_mapped(module, folder, function):
    arguments, results = CONTRACTS[module]
    sections = octave_sections(f"{folder}/{module}.m")
    assert set(sections.get("Argument", {})) == set(arguments)
    assert set(sections.get("Result", {})) == set(results)


@pytest.mark.parametrize("function", sorted({m[2] for m in MODULES}))
def test_every_parameter_and_result_is_mapped(function):
    tables = [CONTRACTS[m] for m, _, f in MODULES if f == function]
    parameters = {n for a, _ in tables for t in a.values() if t is not None
                  for n in python_names(t)}
    returned = {n for _, r in tables for t in r.values() if t is not None
                for n in python_names(t)}
    assert set(python_entries(function, "Parameters")) == parameters
    # A function without results (paste) documents one unnamed Returns: None.
    assert set(python_entries(function, "Returns")) == (returned or {RETURN})


@pytest.mark.parametrize("path, function, section, name, target", CASES,
                         ids=[f"{c[0]}:{c[3]}" for c in CASES])
def test_units_and_shapes_agree(path, function, section, name, target):
    octave = octave_sections(path)[section][name]
    entries = python_entries(function, "Parameters" if section == "Argument" else "Returns")
    if isinstance(target, list):  # several parameters: the units they state
        described = {u for n in target for u in units(entries[n][1])}
        assert described == set(units(octave)), (octave, target)
        return
    python_name, layout = mapped(target)
    kind, description = entries[python_name]
    assert units(description) == units(octave), (octave, description)
    # Each shape the help file gives is one the Python type states, and the
    # type states no other of 2 dimensions (a 1-D alternative, such as a
    # filter of K taps, the help file may give in words).
    expected = octave_shapes(octave, layout)
    if expected:
        found = python_shapes(kind)
        assert expected <= found and {s for s in found if len(s) > 1} <= expected, (octave, kind)
