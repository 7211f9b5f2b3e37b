#!/bin/sh
# Configures and builds the toolbox in BUILD_DIR (default: build).
# Extra arguments go to CMake's configure step.
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" "$@" >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
