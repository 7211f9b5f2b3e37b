#!/bin/sh
# Sets up a fresh machine, builds everything and runs all tests: the C++ unit
# tests, the tests that load the modules in Octave, the Octave package's
# install test (label package) and the Python package's tests (installed
# into a fresh virtual environment); then all but the two packages' tests
# again with every target built with AddressSanitizer and UndefinedBehaviorSanitizer
# (the modules loaded in Octave with the sanitizer runtimes preloaded), and
# the threaded tests (label threads) once more under ThreadSanitizer.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh

./scripts/build.sh
(cd build && ctest --output-on-failure -j "$(nproc)")
./scripts/test_python.sh

BUILD_DIR=build-asan ./scripts/build.sh -DCMAKE_BUILD_TYPE=Debug \
    -DVELK_SANITIZE=address,undefined -DVELK_BUILD_BENCH=OFF
(cd build-asan && ctest --output-on-failure -j "$(nproc)")

cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DVELK_SANITIZE=thread \
    -DVELK_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan -j "$(nproc)" --target threads_test
(cd build-tsan && ctest -L threads --output-on-failure)
