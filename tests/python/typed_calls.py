"""Calls of the package as its users write them: mypy must accept each
(test_types.py checks this file, which never runs)."""
import numpy as np
from numpy.typing import NDArray

import velk
import velk.distributed as vd

P = np.zeros((4, 3))
S = np.ones((4, 100))

H: NDArray[np.float64] = velk.discwave([[0, 0, 20]], 5, (0.025, 800), 12, (1, 1500))
H = velk.platewave(P, [10, 6], np.array([0.025, 600]), np.zeros(4), (1, 1500))
H = velk.discwave_avg(P[0], 1.0, (0.025, 100), 20, (1, 1500), 20)
H = velk.damp(P, (0.025, 256), [18, 38, 1, 2], (1500, 0.5))
result = velk.lagsum(P, (0.1, 300), 0, 1500, "warn")
H, status = result
code: int = result.status + status
H = result.response
image: NDArray[np.float64] = velk.echofocus(S, P, 0, 0.1, 1500, P, 4, threads=np.int64(2))
Y = velk.fold(S, [1, 1], 2)
Y = velk.fold(S, S, threads=None, out=Y, mode="+=")
velk.paste(Y, (0, 1), (np.intp(0), 1), [[1.0]], threads=1)
w: NDArray[np.float64] = velk.taper("gauss", 8, 0.5)
try:
    velk.lagsum(P, (0.1, 3), 0, 1500, "stop")
except velk.OutOfBoundsError as error:
    message: str = str(error)

image = vd.echofocus(S, P, 0, 0.1, 1500, P, 4, client=None, chunk_points=100, progress=False)
H = vd.discwave(P, 5, (0.025, 800), np.arange(4.0), (1, 1500), chunk_points=2)
H = vd.platewave(P, (10, 6), (0.025, 600), 12, (1, 1500))
H = vd.discwave_avg(P, 1, (0.025, 100), 20, (1, 1500), 20, progress=False)
H = vd.damp(P, (0.025, 256), 0, (1500, 0.5))
H, status = vd.lagsum(P, (0.1, 300), 0, 1500, "ignore")
R = vd.map_points(lambda p: p[:, 0], P, per_point=(np.zeros(4),), chunk_points=2)
