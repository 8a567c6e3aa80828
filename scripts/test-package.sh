#!/usr/bin/env bash
# Builds the packages (scripts/package.sh) and checks them as a player's machine would see
# them: the desktop entry and metainfo validate, lintian finds no error in the .deb, the
# tool runs from the .deb unpacked into a scratch root, the Windows zips hold their files,
# and the Windows installer installs silently under Wine, its editor starts, and its
# uninstaller leaves nothing behind.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/package.sh
scripts/setup.sh desktop-file-utils appstream lintian unzip

echo "== Package checks"
desktop-file-validate packaging/org.drapeline.Drapeline.desktop
appstreamcli validate --no-net packaging/org.drapeline.Drapeline.metainfo.xml

deb=$(ls dist/drapeline_*.deb)
# lintian prints every finding; errors fail the check, warnings are listed.
lintian --allow-root "$deb" | tee dist/lintian.txt
if grep -q '^E:' dist/lintian.txt; then echo "lintian found errors" >&2; exit 1; fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
"$root/usr/bin/drapeline-cli" --help | grep -c '^Usage: drapeline-cli' >/dev/null
"$root/usr/bin/drapeline-cli" demo "$root/demo" >/dev/null
"$root/usr/bin/drapeline-cli" neighbourhoods --game "$root/demo" | grep -c '"folder":"UserData"' >/dev/null
# (grep reads everything: an early exit would fail the pipe)
zcat "$root/usr/share/man/man1/drapeline-cli.1.gz" | grep -c 'find.*games' >/dev/null
unzip -l dist/drapeline-cli-windows-x64.zip | grep -c 'drapeline-cli.exe' >/dev/null
# The listing is read once: grep -q on a pipe stops reading at its match, and unzip, still
# writing, would die of SIGPIPE and fail the pipe now and then.
listing=$(unzip -l dist/drapeline-windows-x64.zip)
for file in drapeline.exe drapeline-cli.exe README.md LICENSE.txt; do
  grep -q " $file\$" <<<"$listing" ||
    { echo "drapeline-windows-x64.zip lacks $file" >&2; exit 1; }
done

echo "== The Windows installer under Wine"
scripts/setup.sh wine64 xvfb xauth xdotool
wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
export WINEDEBUG=-all WINEPREFIX="$root/wine"
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$root"' EXIT
"$wine" wineboot -i >/dev/null 2>&1 || true
unix_path() { "$wine" winepath -u "$("$wine" cmd /c "echo $1" | tr -d '\r')" | tr -d '\r'; }
installed="$(unix_path '%LOCALAPPDATA%')/Programs/Drapeline"
shortcut="$(unix_path '%APPDATA%')/Microsoft/Windows/Start Menu/Programs/Drapeline.lnk"
entry='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Drapeline'

# /S: silent; an installer that asked for administrator rights would fail here, as Wine
# runs it as a plain user would.
"$wine" dist/drapeline-setup-x64.exe /S
"$wineserver" -w
for file in drapeline.exe drapeline-cli.exe README.md LICENSE.txt uninstall.exe; do
  [ -f "$installed/$file" ] || { echo "the installer put no $file in $installed" >&2; exit 1; }
done
[ -f "$shortcut" ] || { echo "the installer made no Start-menu shortcut" >&2; exit 1; }
"$wine" reg query "$entry" /v UninstallString >/dev/null ||
  { echo "the installer made no Apps & features entry" >&2; exit 1; }
scripts/smoke-windows.sh "$installed/drapeline.exe" --title

# The uninstaller copies itself away to delete its own folder, so wait for every process.
"$wine" "$installed/uninstall.exe" /S
"$wineserver" -w
left=$(cd "$(dirname "$installed")" && ls -A Drapeline 2>/dev/null || true)
[ ! -e "$installed" ] || { echo "the uninstaller left $installed: $left" >&2; exit 1; }
[ ! -e "$shortcut" ] || { echo "the uninstaller left the Start-menu shortcut" >&2; exit 1; }
if "$wine" reg query "$entry" >/dev/null 2>&1; then
  echo "the uninstaller left the Apps & features entry" >&2; exit 1
fi
echo "Windows installer: installed silently, the editor started, uninstalled leaving nothing"
echo "Packages: $(cd dist && ls drapeline*)"
