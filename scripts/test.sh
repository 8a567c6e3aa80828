#!/usr/bin/env bash
# Sets up, builds and runs every test: a normal build (gcc); a build under AddressSanitizer
# and UndefinedBehaviorSanitizer (clang) that also replays the fuzz corpora; the Windows
# build (MinGW-w64) with its tests under Wine; the packages and their checks.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
jobs="${DRAPELINE_JOBS:-2}"

echo "== Normal build and tests"
cmake -S . -B build/debug -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/debug -j"$jobs"
ctest --test-dir build/debug --output-on-failure -j"$jobs"

echo "== AddressSanitizer and UndefinedBehaviorSanitizer build and tests"
CC=clang CXX=clang++ cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DDRAPELINE_SANITIZE=ON -DDRAPELINE_FUZZ=ON -DDRAPELINE_BENCHMARKS=OFF >/dev/null
cmake --build build/asan -j"$jobs"
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ctest --test-dir build/asan --output-on-failure -j"$jobs"

echo "== Windows build and tests under Wine"
scripts/test-windows.sh

echo "== Packages"
scripts/test-package.sh
