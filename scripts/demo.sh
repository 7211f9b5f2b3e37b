#!/bin/sh
# Sets up a fresh machine, builds the modules and runs the demo, which writes
# its figures to demo_output/: the Octave demo, then the Python example with
# the package installed into build/python-venv.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
OCTAVE_HISTFILE=/dev/null octave-cli --norc --no-window-system \
    --eval "addpath('build/mex', 'examples'); run_demo('demo_output');"
echo
./scripts/install_python.sh
build/python-venv/bin/python examples/pulse_echo.py demo_output
build/python-venv/bin/python examples/cyst_phantom.py demo_output 0.005
build/python-venv/bin/python examples/cyst_phantom.py demo_output 0.002 fmc
