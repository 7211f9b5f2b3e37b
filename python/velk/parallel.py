"""Column operations on worker threads: convolution and block copy."""
from . import _arguments as arg
from ._call import call

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


def fold(signals, filters, threads=None, out=None, mode="="):
    """Convolution of every signal with a filter, on worker threads.

    Y = velk.fold(signals, filters, threads=None)
    velk.fold(signals, filters, threads=None, out=Y, mode="=")

    signals  (N, M) N signals of M samples, one per row (1-D: one signal)
    filters  one filter shared by every signal: a 1-D array of K samples,
             or a (1, K) or (K, 1) array; or one filter per signal: (N, K)
    threads  worker threads (default: every core); the values are the same
             for any count
    out      None, or an (N, M + K - 1) writable, C-ordered float64 array
             into which the convolutions are written in place
    mode     with out: "=" writes the convolutions, "+=" adds them to what
             out holds, "-=" subtracts them

    Returns Y, shape (N, M + K - 1): Y[i] is the full convolution of
    signals[i] with its filter, each sample summed over increasing signal
    index (not np.convolve's order, so the last bits may differ). With out,
    returns out. The same bits as Octave's Y = fold_mt(A, B, threads) and
    fold_mt(A, B, threads, Y, mode), with A = signals.', B = filters.' and
    Y = out.' there. Ctrl-C stops the call once each thread has finished
    its current signal; the rows of out it finished hold their new values,
    the others their old ones.

    >>> import velk
    >>> velk.fold([[1, 2, 3]], [1, 1], threads=1)
    array([[1., 3., 5., 3.]])
    """
    signals, filters = arg.signals("signals", signals), arg.signals("filters", filters)
    count = arg.threads(threads)
    mode = arg.keyword("mode", mode)
    if out is None:
        if mode.value != "=":
            raise ValueError(f'mode "{mode.value}" needs an out array')
        results, _ = call("fold_mt", signals, filters, count, reworded=_FOLD_WORDS)
        return results[0]
    call("fold_mt", signals, filters, count, arg.target("out", out), mode, n_results=0,
         in_place="out", reworded=_FOLD_WORDS)
    return out


def paste(target, rows, cols, block, threads=None):
    """Copy of a block into part of an array, in place, on worker threads.

    velk.paste(target, rows, cols, block, threads=None)

    Does target[r0:r1, c0:c1] = block[:, :c1 - c0] for rows = (r0, r1) and
    cols = (c0, c1), one row of the block per work item.

    target   writable, C-ordered float64 array of 2 dimensions
    rows     (r0, r1): the rows r0 .. r1 - 1 of target, as a slice does;
             0 <= r0 < r1 <= target.shape[0]
    cols     (c0, c1): the columns c0 .. c1 - 1, likewise
    block    (r1 - r0, at least c1 - c0): its first c1 - c0 columns are
             copied, any further ones are not read
    threads  worker threads (default: every core)

    Returns None. A block that shares memory with target is read as it was
    before the call. Octave's paste_mt(Y, [c0 + 1, c1], [r0 + 1, r1],
    block.', threads) on Y = target.' does the same: a row of target is a
    column of Y, and the ranges there are 1-based and inclusive. Ctrl-C
    stops the call once each thread has finished its current row; the rows
    it finished hold the block's, the others their old values.

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
