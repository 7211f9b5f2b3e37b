"""Every public function's and class's help: numpydoc's sections in
numpydoc's order (Parameters, Returns, Raises, See Also, Examples), each
parameter typed and described, the Octave call of each function, and
examples that run and print what they say. The README's and docs/'s
relative links lead to files of the repository, and their #anchors to
headings there."""
import doctest
import importlib
import inspect
import pathlib
import re

import pytest
from numpydoc.docscrape import FunctionDoc
from numpydoc.validate import validate

import velk

FUNCTIONS = [n for n in velk.__all__ if inspect.isfunction(getattr(velk, n))]
PUBLIC = [f"velk.{n}" for n in velk.__all__ if n != "__version__"]
try:
    import velk.distributed as vd
    PUBLIC += [f"velk.distributed.{n}" for n, f in vars(vd).items()
               if inspect.isfunction(f) and f.__module__ == vd.__name__ and n[0] != "_"]
except ImportError:                   # no Dask: test_distributed.py is skipped too
    pass

# numpydoc's checks this package does not follow: the summary stands on the
# line of the opening quotes (PEP 257), not on the next.
NOT_CHECKED = {"GL01"}


def obj(name):
    module, _, attribute = name.rpartition(".")
    return getattr(importlib.import_module(module), attribute)


@pytest.mark.parametrize("name", PUBLIC)
def test_help_follows_numpydoc(name):
    errors = [f"{code}: {message}" for code, message in validate(name)["errors"]
              if code not in NOT_CHECKED]
    assert errors == []
    if inspect.isfunction(obj(name)):
        assert FunctionDoc(obj(name))["Raises"], "no Raises section"


@pytest.mark.parametrize("name", FUNCTIONS)
def test_help_shows_the_call_the_octave_call_and_an_example(name):
    text = getattr(velk, name).__doc__
    assert f"velk.{name}(" in text and "Octave" in text and ">>> " in text


# velk.distributed's examples run in test_distributed.py.
MODULES = sorted({obj(n).__module__ for n in PUBLIC} - {"velk.distributed"})


@pytest.mark.parametrize("module", MODULES)
def test_examples_run_as_shown(module):
    failed, attempted = doctest.testmod(importlib.import_module(module))
    assert attempted > 0 and failed == 0


ROOT = pathlib.Path(__file__).parents[2]
DOCUMENTS = [ROOT / "README.md", *sorted((ROOT / "docs").glob("*.md"))]


def prose(document):
    """The lines of a Markdown document outside code blocks (fenced, or
    indented by four spaces after a blank line)."""
    lines, fenced, indented, blank = [], False, False, True
    for line in document.read_text().splitlines():
        if line.startswith("```"):
            fenced = not fenced
        elif not fenced:
            indented = line.startswith("    ") and (blank or indented)
            if not indented:
                lines.append(line)
        blank = not line.strip()
    return lines


def anchor(heading):
    """The anchor a heading gets: lower case, punctuation dropped, spaces as hyphens."""
    return re.sub(r"[^\w\- ]", "", heading.strip().lower()).replace(" ", "-")


def anchors(document):
    return {anchor(line.lstrip("#")) for line in prose(document) if line.startswith("#")}


def links(document):
    """The relative link targets of a document: Markdown links and images,
    and the src and href of HTML elements."""
    text = "\n".join(re.sub(r"`[^`]*`", "", line) for line in prose(document))
    targets = re.findall(r"\]\(([^)\s]+)\)", text) + re.findall(r'(?:src|href)="([^"]+)"', text)
    return [t for t in targets if not re.match(r"[a-z]+:", t)]


@pytest.mark.parametrize("document", DOCUMENTS, ids=[d.name for d in DOCUMENTS])
def test_relative_links_lead_to_files_and_headings(document):
    broken = []
    for target in links(document):
        path, _, fragment = target.partition("#")
        linked = (document.parent / path).resolve() if path else document
        if ROOT.resolve() not in linked.parents or not linked.exists():
            broken.append(target)
        elif fragment and (linked.suffix != ".md" or fragment not in anchors(linked)):
            broken.append(target)
    assert broken == [], f"{document.name}: no such file or heading: {broken}"
