#!/usr/bin/env bash
# Builds a static Qt (qtbase only) for 64-bit Windows from Debian's own source package of
# the Qt version installed here, with the MinGW-w64 posix compiler and the host's Qt tools,
# into a cache folder outside the source tree. Prints that folder on its last line.
# Does nothing when the folder is complete (its stamp is written last), so an interrupted
# build is started again from the beginning rather than trusted.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh cmake ninja-build dpkg-dev qt6-base-dev qt6-base-dev-tools \
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix >&2

debian_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
version=${debian_version%%+*}
version=${version%%-*}
prefix="${XDG_CACHE_HOME:-$HOME/.cache}/drapeline/qt-$version-mingw64"
stamp="$prefix/drapeline-qt-complete"

# Only what the editor and its window tests use. tabletevent: the +dfsg source drops the
# wintab header and MinGW has none. directwrite3 needs direct2d to link in 6.4. FreeType
# (Qt's own copy) stays: the offscreen platform the window tests run on is built only with it.
off=(network sql dbus printsupport xml concurrent vulkan icu jpeg gif ico zstd system_freetype fontconfig
  tabletevent direct2d directwrite3 system_zlib system_png system_pcre2 system_harfbuzz
  system_doubleconversion system_libb2 androiddeployqt windeployqt qmake harfbuzz
  graphicsview textodfwriter textmarkdownreader textmarkdownwriter pdf systemtrayicon
  mdiarea undocommand)
features=()
for f in "${off[@]}"; do features+=("-DFEATURE_$f=OFF"); done

# The stamp names the configuration too: a Qt built with other features is built again.
configuration="qt6-base $debian_version without ${off[*]}"
if [ -f "$stamp" ] && [ "$(head -1 "$stamp")" = "$configuration" ]; then
  echo "Qt $version for Windows is there already" >&2
  echo "$prefix"
  exit 0
fi

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

# apt fetches the source only from a deb-src entry; the distribution lists binaries only.
if ! grep -q '^Sources$' <<<"$(apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null)"; then
  echo "Enabling Debian's source packages (bookworm main)" >&2
  printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' \
    'Suites: bookworm bookworm-updates' 'Components: main' \
    'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
    "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/drapeline-deb-src.sources >/dev/null
  "${sudo_cmd[@]}" apt-get update -qq >&2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/drapeline-qt.XXXXXX")
trap 'rm -rf "$work"' EXIT
started=$(date +%s)

echo "== Fetching qt6-base $debian_version source" >&2
# The installed revision, or when a point release has replaced it, the one the source list
# has now: the same Qt with Debian's later fixes.
(cd "$work" && { apt-get source -qq --download-only "qt6-base=$debian_version" >&2 ||
  apt-get source -qq --download-only qt6-base >&2; })
dsc=$(ls "$work"/qt6-base_*.dsc)
case $(basename "$dsc") in
  "qt6-base_$version"[+-]*) ;;
  *) echo "Debian's source list has no qt6-base $version (only $(basename "$dsc"))" >&2; exit 1 ;;
esac
(cd "$work" && dpkg-source -x --no-check "$dsc" src >/dev/null)

# The project's toolchain file keeps CMake out of the host's packages, which Qt's own
# configuration needs for its host tools; this one names the compilers only.
cat >"$work/toolchain.cmake" <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
EOF

echo "== Configuring Qt $version for x86_64-w64-mingw32" >&2
nice cmake -S "$work/src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DINPUT_opengl=no -DFEATURE_testlib=ON "${features[@]}" >"$work/configure.log" 2>&1 ||
  { tail -40 "$work/configure.log" >&2; exit 1; }
configured=$(date +%s)

echo "== Building Qt $version for Windows (takes a while: $(nproc) cores)" >&2
rm -rf "$prefix"
nice cmake --build "$work/build" -j"$(nproc)" >&2
built=$(date +%s)
cmake --install "$work/build" >/dev/null
rm -rf "$work"
printf '%s\nbuilt in %s s\n' "$configuration" "$((built - started))" >"$stamp"
echo "Qt $version for Windows: configured in $((configured - started)) s," \
  "built in $((built - configured)) s, installed in $prefix" >&2
echo "$prefix"
