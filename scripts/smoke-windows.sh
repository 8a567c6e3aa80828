#!/usr/bin/env bash
# Starts the Windows editor under Wine on a display of its own and goes through it as a
# player would, with the keyboard only: the title window, the main window, the first sim
# of the demo game opened in the edit window, Save (confirmed), the sim opened again. Each
# step waits for its window by title; one that does not come fails the run with a line
# that names it and the windows that were there.
#   scripts/smoke-windows.sh EXE             the whole walk on `EXE --demo`
#   scripts/smoke-windows.sh EXE --title     start EXE (no demo game) and see its title window
# DRAPELINE_SHOTS=PREFIX saves a screenshot of each window as PREFIX-<window>.png.
# Uses $WINEPREFIX when set (the caller owns it), else a throwaway prefix.
set -euo pipefail

exe=$(realpath "$1")
mode=${2:-walk}
wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
export WINEDEBUG=-all
version=$(sed -n 's/^project(Drapeline VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt")

scratch=$(mktemp -d "${TMPDIR:-/tmp}/drapeline-smoke.XXXXXX")
own_prefix=0
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX="$scratch/prefix"
  own_prefix=1
fi
xvfb_pid=""
app_pid=""
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  "$wineserver" -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
  echo "Windows smoke run FAILED: $*" >&2
  local id names=""
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null || true); do
    names+="\"$(xdotool getwindowname "$id" 2>/dev/null || true)\" "
  done
  echo "  windows on screen: ${names:-none}" >&2
  exit 1
}

# A display of our own: Xvfb picks a free number and tells it on a descriptor.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$scratch/display")"

# A fresh prefix is made on first use; doing it first keeps its minute out of the waits.
[ "$own_prefix" = 0 ] || "$wine" wineboot -i >/dev/null 2>&1 || true

# Waits for a visible window whose title matches the extended regular expression and
# prints its id; gives up after the timeout or as soon as the program has ended.
wait_for() {
  local pattern=$1 what=$2 timeout=${3:-60} id
  local deadline=$((SECONDS + timeout))
  while [ $SECONDS -lt "$deadline" ]; do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    kill -0 "$app_pid" 2>/dev/null || fail "drapeline.exe ended before the $what appeared"
    sleep 0.5
  done
  fail "the $what did not appear within $timeout s (a window titled /$pattern/)"
}

wait_gone() {
  local pattern=$1 what=$2 deadline=$((SECONDS + 30))
  while [ $SECONDS -lt "$deadline" ]; do
    xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1 || return 0
    sleep 0.5
  done
  fail "the $what did not close"
}

# Keys go to the window named: there is no window manager to give it the focus.
keys() {
  local id=$1; shift
  xdotool windowfocus "$id" 2>/dev/null || true
  sleep 0.5
  xdotool key --delay 150 "$@"
}

shot() {
  [ -n "${DRAPELINE_SHOTS:-}" ] || return 0
  sleep 1   # let it finish drawing
  import -window root "$DRAPELINE_SHOTS-$1.png" 2>/dev/null || echo "no screenshot: imagemagick missing" >&2
}

title="^Drapeline - Version ${version//./\\.}\$"
# Wine's GDI leaves the text of line edits undrawn; Qt's FreeType engine draws it as Windows does.
platform=(-platform windows:fontengine=freetype)
cd "$(dirname "$exe")"
if [ "$mode" = --title ]; then
  "$wine" "$exe" "${platform[@]}" >/dev/null 2>&1 &
  app_pid=$!
  wait_for "$title" "title window" 120 >/dev/null
  echo "Windows smoke run: the title window of $(basename "$exe") seen"
  exit 0
fi

"$wine" "$exe" --demo "${platform[@]}" >/dev/null 2>&1 &
app_pid=$!
id=$(wait_for "$title" "title window" 120)
shot title
keys "$id" Return
wait_gone "$title" "title window"

main=$(wait_for "^Drapeline - Version .* - by Ardentide\$" "main window")
shot main
# The neighbourhood list has the focus and, in a fresh prefix, nothing chosen: Home chooses
# the first neighbourhood, Tab goes past Edit This Sim to the grid, Home to its first sim.
keys "$main" Home Tab Tab Home Return
edit=$(wait_for '^Edit Wardrobe' "edit window")
shot edit
keys "$edit" ctrl+s
confirm=$(wait_for '^Confirm Action$' "question before saving")
keys "$confirm" Return
saved=$(wait_for '^Success$' "message that the sim was saved")
keys "$saved" Return
wait_gone '^Edit Wardrobe' "edit window after saving"

keys "$main" Return
edit=$(wait_for '^Edit Wardrobe$' "edit window opened again")
keys "$edit" Escape
wait_gone '^Edit Wardrobe' "edit window opened again"

keys "$main" alt+f x
# The editor asks before it closes; Y answers Yes.
confirm=$(wait_for '^Confirm Action$' "question before closing")
keys "$confirm" y
deadline=$((SECONDS + 30))
while kill -0 "$app_pid" 2>/dev/null; do
  [ $SECONDS -lt $deadline ] || fail "drapeline.exe did not end after File > Exit"
  sleep 0.5
done
echo "Windows smoke run: title, main and edit windows, save and reopen passed"
