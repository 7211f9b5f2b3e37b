"""velk: ultrasound modelling over NumPy arrays.

Spatial impulse responses of flat pistons (discwave, platewave,
discwave_avg), the impulse response of an attenuating medium (damp),
convolution and block copy on worker threads (fold, paste), delay-and-sum
and synthetic aperture focusing (lagsum, echofocus), and apodization
weights (taper): the kernels of the Octave modules, with the same numbers.

Units: lengths in mm, times in us, speeds in m/s, attenuation in
dB/(cm MHz). Every array of signals (responses, A-scans, fold's signals)
holds one signal per row; point and position lists are (count, 3) arrays.
Arguments may be anything NumPy turns into real numbers; other kinds raise
TypeError, a bad shape or value ValueError with the module's message. The
long calls give up the interpreter lock while they compute, and Ctrl-C
stops echofocus, lagsum, fold and paste.
"""
from ._call import OutOfBoundsError
from ._core import __version__
from .array import taper
from .arrays import discwave_array, linear_array, matrix_array, platewave_array, pressure
from .attenuation import damp
from .imaging import analytic, beamform, bmode, iq
from .parallel import fold, paste
from .probe import (Events, Probe, diverging_wave_events, element_weights, fmc_events,
                    focused_events, linear_probe, plane_wave_events, wave_arrival)
from . import phantom, quality
from .simulation import pulse_echo
from .reconstruction import LagsumResult, OutOfBoundsWarning, echofocus, lagsum
from .transducer import discwave, discwave_avg, platewave, platewave_avg

__all__ = ["discwave", "platewave", "discwave_avg", "platewave_avg", "platewave_array",
           "discwave_array", "linear_array", "matrix_array", "pressure", "damp", "lagsum",
           "echofocus", "fold", "paste", "taper", "wave_arrival", "Probe", "Events", "linear_probe",
           "element_weights", "fmc_events", "plane_wave_events", "diverging_wave_events",
           "focused_events", "pulse_echo", "beamform", "analytic", "iq", "bmode", "LagsumResult", "OutOfBoundsError", "OutOfBoundsWarning",
           "__version__"]
