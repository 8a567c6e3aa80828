#!/usr/bin/env bash
# Cross-builds every program and test for 64-bit Windows (MinGW-w64, against a static Qt
# built from Debian's source by scripts/build-qt-windows.sh, with GoogleTest built from the
# distribution's source by the same compiler) and runs the tests under Wine in a throwaway
# prefix, where the Windows code paths run for real: the registry through advapi32, file
# replacement, drive-letter paths, the windows on Qt's offscreen platform. Then the editor
# itself is walked through under Wine on a virtual display (scripts/smoke-windows.sh).
# Safe to run again; asks nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh cmake ninja-build googletest libstb-dev g++-mingw-w64-x86-64-posix wine64 \
  xvfb xauth xdotool
jobs="${DRAPELINE_JOBS:-2}"
build=build/windows
wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
export WINEDEBUG=-all

started=$SECONDS
echo "== Qt for Windows"
qt=$(scripts/build-qt-windows.sh | tail -1)
qt_done=$SECONDS

echo "== Windows cross build"
# A build folder set up before, with another toolchain or another Qt, is set up anew: CMake
# keeps the first toolchain it was given and would quietly build without the windows.
toolchain="$qt/lib/cmake/Qt6/qt.toolchain.cmake"
if [ -f "$build/CMakeCache.txt" ] &&
    ! grep -qxF "CMAKE_TOOLCHAIN_FILE:FILEPATH=$toolchain" "$build/CMakeCache.txt"; then
  rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
fi
# Qt's toolchain file finds Qt and hands the compilers to ours.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DDRAPELINE_BENCHMARKS=OFF -DDRAPELINE_GTEST_SOURCE=/usr/src/googletest >/dev/null
nice cmake --build "$build" -j"$jobs"
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
count() {
  total=$((total + ${ran:-0}))
  echo "$(basename "$test"): ${ran:-0} tests${skipped:+, $skipped skipped}"
  # A program that dies part way prints no closing summary; one that runs nothing proves nothing.
  if [ -z "$ran" ]; then
    echo "$(basename "$test") FAILED: it crashed or ended before its summary" >&2; failed=1
  elif [ "$ran" -eq 0 ]; then
    echo "$(basename "$test") FAILED: it ran no tests" >&2; failed=1
  fi
}
for test in "$build"/tests/drapeline_*.exe; do
  log=$(mktemp)
  if DRAPELINE_WINE_REGISTRY=1 "$wine" "$test" --gtest_brief=1 \
      --gtest_filter="-$linux_only" >"$log" 2>&1; then :; else failed=1; cat "$log"; fi
  ran=$(sed -n 's/^\[==========\] \([0-9]*\) tests\? from .* ran.*/\1/p' "$log" | tail -1)
  skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?.*/\1/p' "$log" | tail -1)
  count
  rm -f "$log"
done
# The window tests (Qt Test): "Totals: N passed, F failed, S skipped, ..." closes each.
# Wine passes no QT_ variable on from Linux: the platform is chosen on the command line,
# and the font folder the offscreen platform draws from (the host's, through Wine's Z:
# drive, so the windows are measured with the same fonts as on Linux) is set in the
# prefix's environment.
reg 'HKCU\Environment' QT_QPA_FONTDIR /d 'Z:\usr\share\fonts\truetype\dejavu'
window_tests=("$build"/tests/*_test.exe)
[ -e "${window_tests[0]}" ] || { echo "The window tests were not built for Windows" >&2; failed=1; window_tests=(); }
for test in "${window_tests[@]}"; do
  log=$(mktemp)
  # Qt Test under Wine writes its report only to a file it is given.
  if timeout 600 "$wine" "$test" -platform offscreen -silent -o "$log",txt >/dev/null 2>&1; then :
  else failed=1; cat "$log"; fi
  ran=$(sed -n 's/^Totals: \([0-9]*\) passed, \([0-9]*\) failed, \([0-9]*\) skipped.*/\1 \2 \3/p' "$log" | tail -1)
  skipped=""
  if [ -n "$ran" ]; then
    read -r passed failures skipped <<<"$ran"
    ran=$((passed + failures + skipped))
    [ "$skipped" != 0 ] || skipped=""
  fi
  count
  rm -f "$log"
done

# The tool itself, as a player would run it: no extra DLLs beside it, a demo game made and
# read back through a drive-letter path.
cli="$build/cli/drapeline-cli.exe"
for exe in "$cli" "$build/app/drapeline.exe"; do
  imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  for dll in $imports; do
    # Only what every Windows since 10 has; Qt's windows need the graphics and shell ones.
    case "$dll" in
      kernel32.dll|advapi32.dll|msvcrt.dll|user32.dll|shell32.dll|ole32.dll|ws2_32.dll|api-ms-win-*) ;;
      gdi32.dll|comdlg32.dll|oleaut32.dll|imm32.dll|winmm.dll|dwmapi.dll|uxtheme.dll|version.dll) ;;
      shlwapi.dll|setupapi.dll|userenv.dll|netapi32.dll|mpr.dll|d3d11.dll|dxgi.dll|d3d9.dll) ;;
      shcore.dll) ;;
      d3d12.dll|dcomp.dll|authz.dll|wtsapi32.dll|bcrypt.dll|crypt32.dll|secur32.dll|ntdll.dll) ;;
      *) echo "$(basename "$exe") needs $dll" >&2; failed=1 ;;
    esac
  done
  objdump_subsystem=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^Subsystem\s*//p')
  echo "$(basename "$exe"): $(echo $imports | wc -w) system DLLs, subsystem $objdump_subsystem"
done
case $(x86_64-w64-mingw32-objdump -p "$build/app/drapeline.exe" | sed -n 's/^Subsystem\s*//p') in
  00000002*) ;;
  *) echo "drapeline.exe is not a window program (GUI subsystem)" >&2; failed=1 ;;
esac
grep -q '\.rsrc' <<<"$(x86_64-w64-mingw32-objdump -h "$build/app/drapeline.exe")" ||
  { echo "drapeline.exe has no resources (icon, version)" >&2; failed=1; }
"$wine" "$cli" --help | grep -c '^Usage: drapeline-cli' >/dev/null || { echo "drapeline-cli.exe --help failed" >&2; failed=1; }
"$wine" "$cli" demo 'C:\Drapeline Demo' >/dev/null || { echo "drapeline-cli.exe demo failed" >&2; failed=1; }
"$wine" "$cli" neighbourhoods --game 'C:\Drapeline Demo' | grep -c '"folder":"UserData"' >/dev/null ||
  { echo "drapeline-cli.exe neighbourhoods failed" >&2; failed=1; }
# find-games: the registry's folder, and a Steam library named by the user's registry.
drive_c="$WINEPREFIX/drive_c"
mkdir -p "$drive_c/Program Files (x86)/Maxis/The Sims" "$drive_c/Steam/steamapps/common/The Sims Legacy Collection"
touch "$drive_c/Program Files (x86)/Maxis/The Sims/Sims.exe" \
  "$drive_c/Steam/steamapps/common/The Sims Legacy Collection/Sims.exe"
reg 'HKCU\Software\Valve\Steam' SteamPath /d 'c:/steam'
games=$("$wine" "$cli" find-games)
for source in registry 'steam library'; do
  grep -q "\"source\":\"$source\"" <<<"$games" ||
    { echo "drapeline-cli.exe find-games found no $source install: $games" >&2; failed=1; }
done

tools_done=$SECONDS
DRAPELINE_SHOTS="${DRAPELINE_SHOTS:-}" scripts/smoke-windows.sh "$build/app/drapeline.exe" || failed=1

echo "Windows: $total tests under Wine; Qt $((qt_done - started)) s, build $((built - qt_done)) s," \
  "tests and tool $((tools_done - built)) s, editor walk $((SECONDS - tools_done)) s"
[ "$failed" = 0 ] || echo "Windows: FAILED (see above)" >&2
exit "$failed"
