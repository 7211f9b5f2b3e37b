"""Every public function's and class's help: numpydoc's sections in
numpydoc's order (Parameters, Returns, Raises, See Also, Examples), each
parameter typed and described, the Octave call of each function, and
examples that run and print what they say."""
import doctest
import importlib
import inspect

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
