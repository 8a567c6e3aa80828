#!/usr/bin/env bash
# Cross-builds every program and test that needs no Qt for 64-bit Windows (MinGW-w64, with
# GoogleTest built from the distribution's source by the same compiler) and runs the tests
# under Wine in a throwaway prefix, where the Windows code paths run for real: the registry
# through advapi32, file replacement, drive-letter paths. Safe to run again; asks nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh cmake ninja-build googletest libstb-dev g++-mingw-w64-x86-64-posix wine64
jobs="${DRAPELINE_JOBS:-2}"
build=build/windows
wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
export WINEDEBUG=-all

started=$SECONDS
echo "== Windows cross build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DDRAPELINE_GUI=OFF -DDRAPELINE_BENCHMARKS=OFF \
  -DDRAPELINE_GTEST_SOURCE=/usr/src/googletest >/dev/null
cmake --build "$build" -j"$jobs"
built=$SECONDS

echo "== Windows tests under Wine"
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/drapeline-wine.XXXXXX")
export WINEPREFIX
cleanup() {
  "$(dirname "$wine")/wineserver" -k 2>/dev/null || wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
"$wine" wineboot -i >/dev/null 2>&1 || true

# The game's installer is a 32-bit program: its entry lies in the 32-bit view. The 64-bit
# view gets a decoy under the same name.
reg() { "$wine" reg add "$1" /v "$2" "${@:3}" /f >/dev/null; }
reg 'HKLM\Software\Maxis\The Sims' InstallPath /d 'C:\Program Files (x86)\Maxis\The Sims' /reg:32
reg 'HKLM\Software\Maxis\The Sims' InstallPath /d 'C:\Wrong view' /reg:64
reg 'HKLM\Software\Drapeline Test' Empty /d '' /reg:32
reg 'HKLM\Software\Drapeline Test' Fits /d "$(printf 'x%.0s' $(seq 254))" /reg:32
reg 'HKLM\Software\Drapeline Test' TooLong /d "$(printf 'x%.0s' $(seq 255))" /reg:32
reg 'HKLM\Software\Drapeline Test' Count /t REG_DWORD /d 1 /reg:32
reg 'HKLM\Software\Drapeline Test' OnlySixtyFour /d 'not ours' /reg:64
reg 'HKCU\Software\Drapeline Test' Name /d 'user value'

# These map Wine prefix paths, which only Linux has.
linux_only='WineRegistryTest.*:MapWindowsPath.*'

total=0
failed=0
for test in "$build"/tests/*.exe; do
  log=$(mktemp)
  if DRAPELINE_WINE_REGISTRY=1 "$wine" "$test" --gtest_brief=1 \
      --gtest_filter="-$linux_only" >"$log" 2>&1; then :; else failed=1; cat "$log"; fi
  ran=$(sed -n 's/^\[==========\] \([0-9]*\) tests\? from .* ran.*/\1/p' "$log" | tail -1)
  skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?.*/\1/p' "$log" | tail -1)
  echo "$(basename "$test"): ${ran:-0} tests${skipped:+, $skipped skipped}"
  # A program that dies part way prints no closing summary; one that runs nothing proves nothing.
  if [ -z "$ran" ]; then
    echo "$(basename "$test") FAILED: it crashed or ended before its summary" >&2; failed=1
  elif [ "$ran" -eq 0 ]; then
    echo "$(basename "$test") FAILED: it ran no tests" >&2; failed=1
  fi
  total=$((total + ${ran:-0}))
  rm -f "$log"
done

# The tool itself, as a player would run it: no extra DLLs beside it, a demo game made and
# read back through a drive-letter path.
cli="$build/cli/drapeline-cli.exe"
imports=$(x86_64-w64-mingw32-objdump -p "$cli" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
for dll in $imports; do
  case "$dll" in
    kernel32.dll|advapi32.dll|msvcrt.dll|user32.dll|shell32.dll|ole32.dll|ws2_32.dll|api-ms-win-*) ;;
    *) echo "drapeline-cli.exe needs $dll" >&2; failed=1 ;;
  esac
done
"$wine" "$cli" --help | grep -c '^Usage: drapeline-cli' >/dev/null || { echo "drapeline-cli.exe --help failed" >&2; failed=1; }
"$wine" "$cli" demo 'C:\Drapeline Demo' >/dev/null || { echo "drapeline-cli.exe demo failed" >&2; failed=1; }
"$wine" "$cli" neighbourhoods --game 'C:\Drapeline Demo' | grep -c '"folder":"UserData"' >/dev/null ||
  { echo "drapeline-cli.exe neighbourhoods failed" >&2; failed=1; }

echo "Windows: $total tests under Wine; build $((built - started)) s, tests and tool $((SECONDS - built)) s"
[ "$failed" = 0 ] || echo "Windows: FAILED (see above)" >&2
exit "$failed"
