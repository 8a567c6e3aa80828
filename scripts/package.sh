#!/usr/bin/env bash
# Builds the packages into dist/: the Debian package and the tarball of the Linux build,
# and drapeline-cli-windows-x64.zip (the tool cross-built with MinGW-w64, no DLLs needed).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/setup.sh dpkg-dev file help2man zip g++-mingw-w64-x86-64-posix
jobs="${DRAPELINE_JOBS:-2}"
mkdir -p dist

echo "== Linux packages"
# Hardened as Debian builds its own packages (fortified functions, read-only relocations).
cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="-D_FORTIFY_SOURCE=2 -fstack-protector-strong" \
  -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro,-z,now" \
  -DDRAPELINE_TESTS=OFF -DDRAPELINE_BENCHMARKS=OFF >/dev/null
cmake --build build/package -j"$jobs"
(cd build/package && cpack -B "$PWD/../../dist" >/dev/null)
rm -rf dist/_CPack_Packages

echo "== Windows zip"
scripts/setup.sh googletest
# The same build folder and settings as scripts/test-windows.sh, so nothing is built twice.
cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DDRAPELINE_GUI=OFF -DDRAPELINE_BENCHMARKS=OFF \
  -DDRAPELINE_GTEST_SOURCE=/usr/src/googletest >/dev/null
cmake --build build/windows -j"$jobs" --target drapeline-cli
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
x86_64-w64-mingw32-strip -o "$staging/drapeline-cli.exe" build/windows/cli/drapeline-cli.exe
cp README.md "$staging/README.md"
rm -f dist/drapeline-cli-windows-x64.zip
(cd "$staging" && zip -q -X "$OLDPWD/dist/drapeline-cli-windows-x64.zip" drapeline-cli.exe README.md)

ls -l dist
