#!/usr/bin/env bash
# Sets up, builds and starts the Drapeline editor on the demo game (made in its program
# folder on first use). Other arguments are passed to the editor; without --demo in them
# the editor uses the installed game.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DDRAPELINE_TESTS=OFF -DDRAPELINE_BENCHMARKS=OFF >/dev/null
cmake --build build/release -j2 --target drapeline drapeline-cli

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: start Drapeline from a desktop session, or without one as: xvfb-run -a scripts/run.sh" >&2
  exit 1
fi
if [ $# -eq 0 ]; then set -- --demo; fi
exec build/release/app/drapeline "$@"
