#!/bin/sh
# Installs the Python package into a fresh virtual environment made from
# Debian's Python, as a user would, and runs its tests; the parity tests
# call the Octave modules that scripts/build.sh left in BUILD_DIR (default:
# build).
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
VENV="$PWD/$BUILD_DIR/python-venv"
rm -rf "$VENV"
VENV="$VENV" ./scripts/install_python.sh
cd tests/python
VELK_MEX_DIR="$(cd "../../$BUILD_DIR/mex" && pwd)" \
    VELK_EXAMPLE_CALLS="$(cd "../../$BUILD_DIR" && pwd)/example_calls.json" "$VENV/bin/python" -m pytest -q -p no:cacheprovider
