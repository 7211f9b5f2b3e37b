#!/bin/sh
# Installs what a fresh Debian machine lacks to build, test and demo the toolbox.
# Safe to run again: packages already present are left as they are.
set -eu

PACKAGES="build-essential cmake pkg-config octave liboctave-dev libfftw3-dev \
libgtest-dev libbenchmark-dev gnuplot-nox fonts-freefont-otf valgrind \
libhwy-dev nlohmann-json3-dev \
python3 python3-venv python3-pip python3-setuptools python3-wheel \
pybind11-dev python3-pybind11 python3-numpy python3-pytest python3-matplotlib \
python3-dask python3-distributed octave-parallel \
python3-mypy python3-numpydoc python3-tqdm"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $p"
done

if [ -n "$missing" ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    echo "setup: installing$missing"
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
fi
echo "setup: all packages present"
