#!/bin/sh
# Makes the virtual environment VENV (default: build/python-venv) from
# Debian's Python with its packages (NumPy, pybind11, matplotlib, pytest)
# if it is not there, and builds and installs the package velk into it, as
# the README's Python section does.
set -eu
cd "$(dirname "$0")/.."
VENV=${VENV:-$PWD/build/python-venv}
[ -x "$VENV/bin/python" ] || /usr/bin/python3 -m venv --system-site-packages "$VENV"
"$VENV/bin/pip" install --no-build-isolation --quiet .
