#!/bin/sh
# Sets up a fresh machine, builds the modules and runs the demo, which writes
# its figures to demo_output/.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
OCTAVE_HISTFILE=/dev/null octave-cli --norc --no-window-system \
    --eval "addpath('build/mex', 'examples'); run_demo('demo_output');"
