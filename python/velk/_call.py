"""One call of a module's gateway (velk._core) from the package's functions."""
from . import _core


def call(module, args, n_results=1, in_place=0, reworded=None):
    """Runs the module named `module` on the prepared `args`; returns
    (results, warnings). `reworded` maps a module's message to the words a
    Python caller reads, where the module speaks of its own rows and columns
    (which are a NumPy array's columns and rows)."""
    try:
        return getattr(_core, module)(args, n_results, in_place)
    except ValueError as refusal:
        if reworded and str(refusal) in reworded:
            raise ValueError(reworded[str(refusal)]) from None
        raise
