#!/usr/bin/env bash
# Builds the Qt the Windows program needs (Debian's qt6-base source, the
# same version as the host's Qt, cross-compiled with MinGW-w64's posix
# compilers) and QCustomPlot (Debian's qcustomplot source) against it, into
# a cache folder outside the tree, and prints that folder. A cache that
# matches this recipe is reused as it is, so a second run takes a moment.
#
#   scripts/build-qt-windows.sh            build or reuse; prints the folder
#   TOVARIN_QT_WINDOWS=DIR                 the cache folder to use instead of
#                                          ~/.cache/tovarin/qt6.4.2-mingw-w64
#   JOBS=N                                 parallel build steps (default nproc)
#
# From an empty cache: about 1,400 build steps (39 minutes on two idle
# cores), 2.1 GB of build folder while it runs, about 100 MB installed.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

qt_version=6.4.2
cache_root=${XDG_CACHE_HOME:-$HOME/.cache}/tovarin
prefix=${TOVARIN_QT_WINDOWS:-$cache_root/qt$qt_version-mingw-w64}
jobs=${JOBS:-$(nproc)}

# Everything that decides what is built. A change here builds anew.
qt_options=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=ON
  -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(gcc -print-multiarch)/cmake"
  -DQT_BUILD_EXAMPLES=OFF
  -DQT_BUILD_TESTS=OFF
  -DFEATURE_sql=OFF
  -DFEATURE_dbus=OFF
  -DFEATURE_testlib=ON
  -DFEATURE_schannel=ON
  -DFEATURE_openssl=OFF
  -DFEATURE_pkg_config=OFF
  -DFEATURE_zstd=OFF
  -DFEATURE_system_zlib=OFF
  -DFEATURE_system_png=OFF
  -DFEATURE_system_jpeg=OFF
  -DFEATURE_system_freetype=OFF
  -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_pcre2=OFF
)
qcustomplot_options=(-DCMAKE_BUILD_TYPE=Release -DUSE_QT_VERSION=6)

# The toolchain Qt is built with and remembers: Qt's qt-cmake loads it for
# every program built against this Qt (after a project's own, if given).
toolchain='set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
# The posix thread model: the win32 one has no std::mutex.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
list(APPEND CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)'

# Debian's source leaves out Qt's copy of the Wacom tablet headers, which
# the Windows platform plugin includes; Wine's copies serve once the Wine
# library's own macros are defined ahead of them.
wintab_prelude='#pragma once
#include <windows.h>
#ifndef API
#define API WINAPI
#endif
#ifdef UNICODE
#define WINELIB_NAME_AW(func) func##W
#else
#define WINELIB_NAME_AW(func) func##A
#endif
#define DECL_WINELIB_TYPE_AW(type) typedef WINELIB_NAME_AW(type) type;'

bash "$here/scripts/install-deps.sh" windows-gui >&2
host_qt=$(dpkg-query -W -f='${Version}' qt6-base-dev)
case "$host_qt" in
  "$qt_version"+*) ;;
  *) echo "build-qt-windows.sh: the host's Qt is $host_qt, not $qt_version" >&2; exit 1 ;;
esac
qcustomplot_version=$(dpkg-query -W -f='${source:Version}' libqcustomplot-dev)
recipe=$(printf '%s\n' "qt6-base $host_qt" "${qt_options[@]}" "qcustomplot $qcustomplot_version" \
  "${qcustomplot_options[@]}" "$toolchain" "$wintab_prelude" | sha256sum | cut -d' ' -f1)
if [ -f "$prefix/recipe" ] && [ "$(cat "$prefix/recipe")" = "$recipe" ]; then
  echo "$prefix"
  exit 0
fi

# An interrupted build (a failure, a time-out, a machine switched off) goes
# on where it stopped when the recipe is still the same; its folder holds
# the recipe it was started with. Otherwise it starts anew.
work="$prefix.build"
start=$(date +%s)
going_on=false
if [ -f "$work/recipe" ] && [ "$(cat "$work/recipe")" = "$recipe" ] &&
  [ -f "$work/qt-build/build.ninja" ]; then
  going_on=true
else
  rm -rf "$work" "$prefix"
fi
mkdir -p "$work" "$prefix"
# Written once: a newer file would make the interrupted build configure anew.
[ -f "$prefix/mingw-w64-posix.cmake" ] || printf '%s\n' "$toolchain" >"$prefix/mingw-w64-posix.cmake"
cd "$work"

if $going_on; then
  echo "Going on with the interrupted build in $work" >&2
else
  echo "Fetching the sources of qt6-base $host_qt and qcustomplot $qcustomplot_version" >&2
  apt-get source -q "qt6-base=$host_qt" "qcustomplot=$qcustomplot_version" >&2
fi
qt_source=$(find . -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -1)
qcustomplot_source=$(find . -maxdepth 1 -type d -name "qcustomplot-*" | head -1)
if ! $going_on; then
  mkdir -p "$qt_source/src/3rdparty/wintab"
  for header in wintab.h pktdef.h; do
    { [ "$header" = wintab.h ] && printf '%s\n' "$wintab_prelude"
      cat "/usr/include/wine/wine/windows/$header"; } >"$qt_source/src/3rdparty/wintab/$header"
  done
  cmake -S "$qt_source" -B qt-build -G Ninja -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64-posix.cmake" "${qt_options[@]}" >&2
  echo "$recipe" >recipe
fi

echo "Building Qt $qt_version for Windows into $prefix" >&2
cmake --build qt-build -j "$jobs" >&2
cmake --install qt-build >&2

echo "Building QCustomPlot $qcustomplot_version against it" >&2
"$prefix/bin/qt-cmake" -S "$qcustomplot_source" -B qcp-build -G Ninja \
  -DCMAKE_INSTALL_PREFIX="$prefix" "${qcustomplot_options[@]}" >&2
cmake --build qcp-build -j "$jobs" >&2
cmake --install qcp-build >&2

echo "$recipe" >"$prefix/recipe"
cd / && rm -rf "$work"
echo "Qt for Windows built in $(( ($(date +%s) - start) / 60 )) minutes;" \
  "$(du -sh "$prefix" | cut -f1) in $prefix" >&2
echo "$prefix"
