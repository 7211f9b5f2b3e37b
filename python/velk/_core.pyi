# The extension's interface as the package's functions use it. The gateways
# are made from modules.def, one function per module, so they are typed by
# the one signature they share rather than listed here.
from typing import Any, Callable, Optional, Protocol, Sequence

import numpy as np
from numpy.typing import NDArray

__version__: str
modules: tuple[str, ...]

class Failure(Exception):
    """Failure(kind, position, message) of a module's call (numpy_call.h)."""

class _Gateway(Protocol):
    def __call__(self, args: Sequence[Any], n_results: int,
                 in_place: int = ...,
                 progress: Optional[Callable[[float, float], None]] = ...
                 ) -> tuple[list[NDArray[np.float64]], list[str]]: ...

def __getattr__(name: str) -> _Gateway: ...
