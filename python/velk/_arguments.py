"""The arguments of a Python call, made into what a module's call takes.

A module sees every numeric argument as Octave would pass it: a float64
matrix stored column by column (velk._core takes a Fortran-ordered array of
at most 2 dimensions). Each function here tests one Python argument and
makes it into that form in one step, raising TypeError for what is not a
real number and ValueError for what cannot be given the form, and returns
it with its name (Named), by which a refusal of the module names it.
"""
import operator
import os
from typing import Any, Iterable, NamedTuple, Optional, SupportsIndex

import numpy as np
from numpy.typing import ArrayLike, NDArray


class Named(NamedTuple):
    """An argument made ready for a module, with the caller's name for it."""
    name: str
    value: Any


def real(name: str, value: ArrayLike) -> NDArray[np.float64]:
    """value as a float64 array: anything NumPy turns into real numbers
    (lists, integer, float32 or float64 arrays in any memory order)."""
    try:
        array = np.asarray(value)
    except (TypeError, ValueError):
        raise TypeError(f"{name} must be an array of real numbers, "
                        f"not {type(value).__name__}") from None
    if array.dtype.kind not in "iuf":
        raise TypeError(f"{name} must be an array of real numbers, not of {array.dtype}")
    if array.ndim > 2:
        raise ValueError(f"{name} must have at most 2 dimensions, not {array.ndim}")
    return array.astype(np.float64, copy=False)


def values(name: str, value: ArrayLike) -> Named:
    """A scalar, a pair or one value per point: its numbers in the order of
    np.ravel, as one vector."""
    return Named(name, np.ravel(real(name, value)))


def points(name: str, value: ArrayLike) -> Named:
    """A (count, 3) array of x, y, z per row; one point may be given as [x, y, z]."""
    return Named(name, np.asfortranarray(np.atleast_2d(real(name, value))))


def signals(name: str, value: ArrayLike) -> Named:
    """An array of one signal per row (a 1-D array is one signal), seen as the
    module's matrix of one signal per column: the same memory when the array
    is C-ordered."""
    return Named(name, np.asfortranarray(np.atleast_2d(real(name, value)).T))


def target(name: str, value: object) -> Named:
    """An array the call writes in place, one signal per row: only a
    writable, C-ordered float64 array of 2 dimensions, since any other would
    have to be copied and the caller's array would stay unchanged."""
    if not (isinstance(value, np.ndarray) and value.dtype == np.float64
            and value.dtype.isnative and value.ndim == 2
            and value.flags.c_contiguous and value.flags.writeable):
        raise ValueError(f"{name} must be a writable, C-ordered float64 array of 2 dimensions")
    return Named(name, value.T)


def keyword(name: str, value: object) -> Named:
    if not isinstance(value, str):
        raise TypeError(f"{name} must be a str, not {type(value).__name__}")
    return Named(name, value)


def threads(value: Optional[SupportsIndex]) -> Named:
    """The thread count: every core when None, else an integer."""
    if value is None:
        value = os.cpu_count() or 1
    try:
        count = operator.index(value)
    except TypeError:
        raise TypeError(f"threads must be an integer, not {type(value).__name__}") from None
    return Named("threads", np.array([float(count)]))


def index_range(name: str, value: Iterable[SupportsIndex], length: int) -> Named:
    """A (start, stop) pair of indices as in a slice, 0 <= start < stop <= length,
    as the 1-based first and last index the module takes."""
    try:
        start, stop = (operator.index(v) for v in value)
    except (TypeError, ValueError):
        raise TypeError(f"{name} must be a pair of integers (start, stop)") from None
    if not 0 <= start < stop <= length:
        raise ValueError(f"{name} must be (start, stop) with 0 <= start < stop <= {length}, "
                         f"not ({start}, {stop})")
    return Named(name, np.array([start + 1.0, float(stop)]))


def option(name: str, value: object) -> Named:
    """An option as the module takes it: a keyword alone ("off"), or a tuple
    of a keyword and its values (("x", 30.0), ("ud", delays)), which the
    module sees as a cell of the keyword and the values."""
    if isinstance(value, str):
        return Named(name, value)
    if isinstance(value, (tuple, list)) and value and isinstance(value[0], str):
        return Named(name, (value[0], *(np.ravel(real(name, v)) for v in value[1:])))
    raise TypeError(f"{name} must be a str or a tuple of a str and its values, "
                    f"not {type(value).__name__}")


def samples(name: str, value: ArrayLike, channels: int) -> Named:
    """Channel data of shape (events, channels, nt) as the module's nt x
    (channels x events) matrix: the same memory for a C-ordered float64,
    float32, complex128 or complex64 array (other real numbers become
    float64)."""
    array = np.asarray(value)
    if array.dtype not in (np.float64, np.float32, np.complex128, np.complex64):
        array = real(name, array) if array.ndim <= 2 else np.asarray(value, dtype=np.float64)
    if array.ndim == 2:
        array = array[None]
    if array.ndim != 3 or array.shape[1] != channels:
        raise ValueError(f"{name} must have the shape (events, {channels}, nt), not "
                         f"{array.shape}")
    array = np.ascontiguousarray(array)
    return Named(name, array.reshape(-1, array.shape[2]).T)
