"""Every function's help: the call, the Octave equivalent, and examples
that run and print what they say."""
import doctest
import importlib

import pytest

import velk

FUNCTIONS = ["discwave", "platewave", "discwave_avg", "damp", "lagsum", "echofocus", "fold",
             "paste", "taper"]


@pytest.mark.parametrize("name", FUNCTIONS)
def test_help_shows_the_call_the_octave_call_and_an_example(name):
    text = getattr(velk, name).__doc__
    assert f"velk.{name}(" in text and "Octave" in text and ">>> " in text


@pytest.mark.parametrize("module", sorted({getattr(velk, f).__module__ for f in FUNCTIONS}))
def test_examples_run_as_shown(module):
    failed, attempted = doctest.testmod(importlib.import_module(module))
    assert attempted > 0 and failed == 0
