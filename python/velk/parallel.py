"""Column operations on worker threads: convolution and block copy."""
from typing import Literal, Optional, SupportsIndex

import numpy as np
from numpy.typing import ArrayLike, NDArray

from . import _arguments as arg
from ._call import call

Mode = Literal["=", "+=", "-="]

# The modules count the samples of a signal as their rows; here they are
# an array's columns.
_FOLD_WORDS = {
    "Argument 2 must be a vector or have as many columns as argument 1!":
        "Argument 2 must be a vector or have as many rows as argument 1!",
    "Argument 2 makes the result's columns longer than 2147483647 samples!":
        "Argument 2 makes the result's rows longer than 2147483647 samples!",
    "Wrong number of rows in argument 4!": "Wrong number of columns in argument 4!",
    "Wrong number of columns in argument 4!": "Wrong number of rows in argument 4!",
}
_PASTE_WORDS = {
    "Argument 4 has not the number of rows as given by arg 2!":
        "Argument 4 has not the number of columns as given by arg 3!",
    "Argument 4 has not the number of columns as given by arg 3!":
        "Argument 4 has not the number of rows as given by arg 2!",
}


def fold(signals: ArrayLike, filters: ArrayLike, threads: Optional[SupportsIndex] = None, *,
         out: Optional[NDArray[np.float64]] = None, mode: Mode = "=") -> NDArray[np.float64]:
    """Convolution of every signal with a filter, on worker threads.

    Row i of the result is the full convolution of ``signals[i]`` with its
    filter: the one filter of `filters`, or ``filters[i]``. The sums are
    direct (no transform): sample m is ``signals[i, j] * filter[m - j]``
    added up in increasing j, each partial sum rounded to double (not
    ``np.convolve``'s order, so the last bits may differ from it).

    Parameters
    ----------
    signals : array_like, shape (N, M)
        N signals of M samples, one per row, in any unit; time runs along
        axis 1 (a vector is one signal).
    filters : array_like, shape (K,) or (N, K)
        One filter shared by every signal: a vector of K taps, or a
        ``(1, K)`` or ``(K, 1)`` array; or one filter per signal, in its
        row: ``(N, K)``.
    threads : int, optional
        Worker threads, at least 1 (default: every core); at most one
        thread per signal is started. The values are the same for any
        count.
    out : ndarray of float64, shape (N, M + K - 1), optional
        A writable, C-ordered float64 array into which the convolutions are
        written in place, never copied: the write reaches every view of it.
    mode : {"=", "+=", "-="}
        With `out`: "=" writes the convolutions, "+=" adds them to what
        `out` holds, "-=" subtracts them. Without `out`, only "=".

    Returns
    -------
    ndarray of float64, shape (N, M + K - 1)
        The convolutions, one per row, in the unit of the signals times
        that of the filters; time runs along axis 1. With `out`, `out`
        itself.

    Raises
    ------
    TypeError
        An argument that is not an array of real numbers, threads that is
        not an integer, or a mode that is not a str.
    ValueError
        An argument of a shape or value the module refuses: the module's
        message behind the parameter's name (``filters: Argument 2 must be
        a vector or have as many rows as argument 1!``); an `out` that is
        not a writable, C-ordered float64 array of 2 dimensions; a mode
        other than "=" without `out`.
    MemoryError
        The worker threads or their buffers cannot be had.
    KeyboardInterrupt
        Ctrl-C, which stops the call once each thread has finished its
        current signal; the rows of `out` it finished hold their new
        values, the others their old ones.

    See Also
    --------
    velk.paste : Copy of a block into part of an array, on worker threads.
    numpy.convolve : The convolution of two vectors.

    Notes
    -----
    The same bits as Octave's ``Y = fold_mt(A, B, threads)`` and
    ``fold_mt(A, B, threads, Y, mode)``, with ``A = signals.'``,
    ``B = filters.'`` and ``Y = out.'`` there.

    Examples
    --------
    >>> import numpy as np, velk
    >>> velk.fold([[1, 2, 3]], [1, 1], threads=1)
    array([[1., 3., 5., 3.]])
    >>> Y = np.ones((1, 4))
    >>> _ = velk.fold([[1, 2, 3]], [1, 1], out=Y, mode="+=")
    >>> Y
    array([[2., 4., 6., 4.]])
    """
    signals_, filters_ = arg.signals("signals", signals), arg.signals("filters", filters)
    count = arg.threads(threads)
    mode_ = arg.keyword("mode", mode)
    if out is None:
        if mode_.value != "=":
            raise ValueError(f'mode "{mode_.value}" needs an out array')
        results, _ = call("fold_mt", signals_, filters_, count, reworded=_FOLD_WORDS)
        return results[0]
    call("fold_mt", signals_, filters_, count, arg.target("out", out), mode_, n_results=0,
         in_place="out", reworded=_FOLD_WORDS)
    return out


def paste(target: NDArray[np.float64], rows: tuple[SupportsIndex, SupportsIndex],
          cols: tuple[SupportsIndex, SupportsIndex], block: ArrayLike, *,
          threads: Optional[SupportsIndex] = None) -> None:
    """Copy of a block into part of an array, in place, on worker threads.

    Does ``target[r0:r1, c0:c1] = block[:, :c1 - c0]`` for
    ``rows = (r0, r1)`` and ``cols = (c0, c1)`` in `target`'s own memory,
    one row of the block per work item; the rows are divided among the
    threads.

    Parameters
    ----------
    target : ndarray of float64, shape (N1, M1)
        A writable, C-ordered float64 array of 2 dimensions, written in
        place, never copied: the write reaches every view of it.
    rows : tuple of int
        ``(r0, r1)``: the rows r0 to r1 - 1 of `target`, as a slice
        selects them; ``0 <= r0 < r1 <= N1``.
    cols : tuple of int
        ``(c0, c1)``: the columns c0 to c1 - 1, likewise;
        ``0 <= c0 < c1 <= M1``.
    block : array_like, shape (r1 - r0, C)
        The source, at least ``c1 - c0`` columns: its first ``c1 - c0`` are
        copied, any further ones are not read. It may share memory with
        `target`: it is read as it was before the call.
    threads : int, optional
        Worker threads, at least 1 (default: every core); at most one per
        row of the block is started.

    Returns
    -------
    None
        The copy is in `target`.

    Raises
    ------
    TypeError
        A block that is not an array of real numbers, rows or cols that are
        not pairs of integers, or threads that is not an integer.
    ValueError
        A target that is not a writable, C-ordered float64 array of 2
        dimensions; rows or cols outside it or empty; a block of a shape
        the module refuses: the module's message behind the parameter's
        name (``block: Argument 4 has not the number of rows as given by
        arg 2!``).
    MemoryError
        The worker threads or the copy of a shared block cannot be had.
    KeyboardInterrupt
        Ctrl-C, which stops the call once each thread has finished its
        current row; the rows it finished hold the block's, the others
        their old values.

    See Also
    --------
    velk.fold : Convolution of every signal with a filter, on worker threads.

    Notes
    -----
    Octave's ``paste_mt(Y, [c0 + 1, c1], [r0 + 1, r1], block.', threads)``
    on ``Y = target.'`` does the same: a row of `target` is a column of
    ``Y``, and the ranges there are 1-based and inclusive.

    Examples
    --------
    >>> import numpy as np, velk
    >>> Y = np.zeros((4, 3))
    >>> velk.paste(Y, (1, 3), (1, 3), [[1, 2], [3, 4]], threads=2)
    >>> Y
    array([[0., 0., 0.],
           [0., 1., 2.],
           [0., 3., 4.],
           [0., 0., 0.]])
    """
    destination = arg.target("target", target)
    call("paste_mt", destination, arg.index_range("cols", cols, destination.value.shape[0]),
         arg.index_range("rows", rows, destination.value.shape[1]), arg.signals("block", block),
         arg.threads(threads), n_results=0, in_place="target", reworded=_PASTE_WORDS)
