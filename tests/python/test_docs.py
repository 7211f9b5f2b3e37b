"""Every function's help: the call, the Octave equivalent, and examples
that run and print what they say. The README's and docs/'s relative links
lead to files of the repository, and their #anchors to headings there."""
import doctest
import importlib
import pathlib
import re

import pytest

import velk

FUNCTIONS = ["discwave", "platewave", "discwave_avg", "damp", "lagsum", "echofocus", "fold",
             "paste", "taper"]

ROOT = pathlib.Path(__file__).parents[2]
DOCUMENTS = [ROOT / "README.md", *sorted((ROOT / "docs").glob("*.md"))]


@pytest.mark.parametrize("name", FUNCTIONS)
def test_help_shows_the_call_the_octave_call_and_an_example(name):
    text = getattr(velk, name).__doc__
    assert f"velk.{name}(" in text and "Octave" in text and ">>> " in text


@pytest.mark.parametrize("module", sorted({getattr(velk, f).__module__ for f in FUNCTIONS}))
def test_examples_run_as_shown(module):
    failed, attempted = doctest.testmod(importlib.import_module(module))
    assert attempted > 0 and failed == 0


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
