"""One call of a module's gateway (velk._core) from the package's functions,
and the one place where a module's failures become Python exceptions."""
from typing import Callable, Mapping, Optional

import numpy as np
from numpy.typing import NDArray

from . import _core
from ._arguments import Named


class OutOfBoundsError(ValueError):
    """A delay outside the output window, under the level "stop".

    `velk.lagsum` raises it for the first point whose impulse falls outside
    its window, with the module's report as the message. It is a
    ValueError, so code that catches refused arguments catches it too.

    See Also
    --------
    velk.OutOfBoundsWarning : The same report under the level "warn".

    Examples
    --------
    >>> import velk
    >>> try:
    ...     velk.lagsum([0, 0, 100], (0.1, 200), 0, 1500, "stop")
    ... except velk.OutOfBoundsError as error:
    ...     print(error)
    Delay out of bounds (offset = 468 samples)
    """


_RAISED = {"refused": ValueError, "wrong_class": TypeError, "resources": MemoryError,
           "out_of_bounds": OutOfBoundsError}


def call(module: str, *args: Named, n_results: int = 1, in_place: Optional[str] = None,
         reworded: Optional[Mapping[str, str]] = None,
         progress: Optional[Callable[[float, float], None]] = None
         ) -> tuple[list[NDArray[np.float64]], list[str]]:
    """Runs the module named `module` on `args`, each an argument made ready
    by velk._arguments with its name; returns (results, warnings).

    in_place: the name of the argument the call writes. progress: called as
    progress(fraction, seconds_left) by a long call that shows its progress,
    on the calling thread. reworded: maps a
    module's message to the words a Python caller reads, where the module
    speaks of its own rows and columns (which are a NumPy array's columns and
    rows).

    A refusal raises ValueError (TypeError for an argument of a class the
    module does not take) with the module's message behind the name of the
    argument it refused; memory or threads that cannot be had, MemoryError;
    a delay out of bounds under "stop", OutOfBoundsError with the report;
    Ctrl-C, KeyboardInterrupt.
    """
    names = [a.name for a in args]
    position = names.index(in_place) + 1 if in_place else 0
    try:
        gateway: _core._Gateway = getattr(_core, module)
        return gateway([a.value for a in args], n_results, position, progress)
    except _core.Failure as failure:
        kind, position, message = failure.args
        message = (reworded or {}).get(message, message)
        if 0 < position <= len(names):
            message = f"{names[position - 1]}: {message}"
        raise _RAISED[kind](message) from None
