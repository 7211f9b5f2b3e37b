#!/bin/sh
# Sets up a fresh machine, builds everything and runs all tests: the C++ unit
# tests and the tests that load the modules in Octave, then all of them again
# with every target built with AddressSanitizer and UndefinedBehaviorSanitizer
# (the modules loaded in Octave with the sanitizer runtimes preloaded).
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh

./scripts/build.sh
(cd build && ctest --output-on-failure -j "$(nproc)")

BUILD_DIR=build-asan ./scripts/build.sh -DCMAKE_BUILD_TYPE=Debug \
    -DVELK_SANITIZE=address,undefined -DVELK_BUILD_BENCH=OFF
(cd build-asan && ctest --output-on-failure -j "$(nproc)")
