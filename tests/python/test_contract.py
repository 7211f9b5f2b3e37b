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

# Octave help file -> (Python function, {argument: parameter}, {result:
# returned}). A name maps to the Python name, or to (name, layout) where
# the shape reads otherwise in NumPy: TRANSPOSED, a signal per column there
# and per row here; COLUMN, an N x 1 column there and an (N,) array here.
# None: an entry that refers to another help file.
CONTRACTS = {
    "transducer/discwave.m": (
        "discwave",
        {"POINTS": "points", "A": "a", "[DT NT]": "sampling", "DELAY": "delay",
         "[V CP]": "material"},
        {"H": (RETURN, TRANSPOSED)}),
    "transducer/platewave.m": (
        "platewave",
        {"POINTS": "points", "[A B]": "size", "[DT NT]": "sampling", "DELAY": "delay",
         "[V CP]": "material"},
        {"H": (RETURN, TRANSPOSED)}),
    "transducer/discwave_avg.m": (
        "discwave_avg",
        {"POINTS": "points", "A": "a", "[DT NT]": "sampling", "DELAY": "delay",
         "[V CP]": "material", "N": "n_intervals"},
        {"H": (RETURN, TRANSPOSED)}),
    "attenuation/velk_damp.m": (
        "damp",
        {"POINTS": "points", "[DT NT]": "sampling", "DELAY": "delay", "[CP ALPHA]": "medium"},
        {"H": (RETURN, TRANSPOSED)}),
    "reconstruction/lagsum.m": (
        "lagsum",
        {"POINTS": "points", "[DT NT]": "sampling", "DELAY": "delay", "CP": "cp",
         "LEVEL": "level"},
        {"H": ("response", TRANSPOSED), "STATUS": "status"}),
    "reconstruction/echofocus.m": (
        "echofocus",
        {"S": ("scans", TRANSPOSED), "POSITIONS": "positions", "DELAY": "delay", "DT": "dt",
         "CP": "cp", "POINTS": "points", "A": "width"},
        {"OUT": (RETURN, COLUMN)}),
    "reconstruction/echofocus_mt.m": (
        "echofocus", {"S ... A": None, "NCPU": "threads"}, {"OUT": (RETURN, COLUMN)}),
    "parallel/fold_mt.m": (
        "fold",
        {"A": ("signals", TRANSPOSED), "B": ("filters", TRANSPOSED), "N": "threads",
         "Y": ("out", TRANSPOSED), "MODE": "mode"},
        {"Y": (RETURN, TRANSPOSED)}),
    "parallel/paste_mt.m": (
        "paste",
        {"Y": ("target", TRANSPOSED), "[R1 R2]": "cols", "[C1 C2]": "rows", "S": "block",
         "N": "threads"},
        {}),
    "array/velk_taper.m": (
        "taper", {"WINDOW": "window", "N": "n", "P": "p"}, {"W": (RETURN, COLUMN)}),
}

# The units the help texts state, as "in <unit>"; longest first, so that
# "in m/s" is not read as "in m".
UNITS = ["m^2/s^2", "dB/(cm MHz)", "m/s", "mm", "us"]
_UNIT = re.compile(r"\bin (" + "|".join(map(re.escape, UNITS)) + r")(?![\w/^])|\b(dimensionless)\b")
_OCTAVE_SHAPE = re.compile(r"(\(?[\w+\-]+\)?) x (\(?[\w+\-]+\)?)")
_PYTHON_SHAPE = re.compile(r"\(([^()]*,[^()]*)\)")


def units(text):
    return [unit or "1" for unit, _ in _UNIT.findall(text)]


def dimension(name):
    return re.sub(r"\s", "", name).strip("()").lower()


def octave_shapes(text, layout):
    shapes = set()
    for rows, cols in _OCTAVE_SHAPE.findall(text):
        rows, cols = dimension(rows), dimension(cols)
        if layout == COLUMN and cols == "1":
            shapes.add((rows,))
        else:
            shapes.add((cols, rows) if layout == TRANSPOSED else (rows, cols))
    return shapes


def python_shapes(text):
    return {tuple(dimension(d) for d in shape.split(",") if d.strip())
            for shape in _PYTHON_SHAPE.findall(text)}


def octave_sections(path):
    """{"Arguments": {name: text}, "Result": {name: text}} of a help file:
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
                name, entries[entry.group(1)] = entry.group(1), entry.group(2)
            else:
                entries[name] += " " + line[1:].strip()
    return sections


def python_entries(function, section):
    """{name: (type, description)} of a numpydoc section."""
    return {p.name: (p.type, " ".join(p.desc))
            for p in FunctionDoc(getattr(velk, function))[section]}


def mapped(target):
    return target if isinstance(target, tuple) else (target, SAME)


CASES = [(path, section, name, target)
         for path, (_, arguments, results) in CONTRACTS.items()
         for section, table in (("Argument", arguments), ("Result", results))
         for name, target in table.items() if target is not None]


@pytest.mark.parametrize("path", CONTRACTS)
def test_every_entry_of_the_help_file_is_mapped(path):
    _, arguments, results = CONTRACTS[path]
    sections = octave_sections(path)
    assert set(sections.get("Argument", {})) == set(arguments)
    assert set(sections.get("Result", {})) == set(results)


@pytest.mark.parametrize("function", sorted({c[0] for c in CONTRACTS.values()}))
def test_every_parameter_and_result_is_mapped(function):
    tables = [c for c in CONTRACTS.values() if c[0] == function]
    parameters = {mapped(t)[0] for _, a, _ in tables for t in a.values() if t is not None}
    returned = {mapped(t)[0] for _, _, r in tables for t in r.values()}
    assert set(python_entries(function, "Parameters")) == parameters
    assert set(python_entries(function, "Returns")) == returned or (
        returned == set() and list(python_entries(function, "Returns")) == [RETURN])


@pytest.mark.parametrize("path, section, name, target", CASES,
                         ids=[f"{c[0]}:{c[2]}" for c in CASES])
def test_units_and_shapes_agree(path, section, name, target):
    function = CONTRACTS[path][0]
    python_name, layout = mapped(target)
    octave = octave_sections(path)[section][name]
    entries = python_entries(function, "Parameters" if section == "Argument" else "Returns")
    kind, description = entries[python_name]
    assert units(description) == units(octave), (octave, description)
    expected = octave_shapes(octave, layout)
    if expected:
        found = python_shapes(kind)
        assert expected <= found and {s for s in found if len(s) > 1} <= expected, (octave, kind)
