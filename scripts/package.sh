#!/usr/bin/env bash
# Builds the packages into dist/: the Debian package and the tarball of the Linux build;
# for Windows (cross-built with MinGW-w64 against the static Qt of build-qt-windows.sh, no
# DLLs needed) drapeline-windows-x64.zip (editor, tool, help, licence), the tool alone in
# drapeline-cli-windows-x64.zip, and the installer drapeline-setup-x64.exe (NSIS).
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

echo "== Windows zips and installer"
scripts/setup.sh googletest nsis
# The same build folder and settings as scripts/test-windows.sh, so nothing is built twice.
qt=$(scripts/build-qt-windows.sh | tail -1)
cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DDRAPELINE_BENCHMARKS=OFF -DDRAPELINE_GTEST_SOURCE=/usr/src/googletest >/dev/null
nice cmake --build build/windows -j"$jobs" --target drapeline-cli drapeline
version=$(sed -n 's/^project(Drapeline VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
x86_64-w64-mingw32-strip -o "$staging/drapeline-cli.exe" build/windows/cli/drapeline-cli.exe
x86_64-w64-mingw32-strip -o "$staging/drapeline.exe" build/windows/app/drapeline.exe
# Notepad of older Windows shows a text without carriage returns as one line.
sed 's/$/\r/' README.md >"$staging/README.md"
sed 's/$/\r/' LICENSE >"$staging/LICENSE.txt"
cp packaging/drapeline.ico "$staging/"
rm -f dist/drapeline-cli-windows-x64.zip dist/drapeline-windows-x64.zip dist/drapeline-setup-x64.exe
(cd "$staging" && zip -q -X "$OLDPWD/dist/drapeline-cli-windows-x64.zip" drapeline-cli.exe README.md LICENSE.txt &&
  zip -q -X "$OLDPWD/dist/drapeline-windows-x64.zip" drapeline.exe drapeline-cli.exe README.md LICENSE.txt)
makensis -V2 -DVERSION="$version" -DSTAGING="$staging" -DOUTFILE="$PWD/dist/drapeline-setup-x64.exe" \
  packaging/drapeline.nsi

ls -l dist
