#!/usr/bin/env bash
# Makes the Windows package from a Windows build folder (make
# windows-package runs it through the build's windows_package target):
#   BUILD/tovarin-VERSION-windows-x64.zip  one folder with the programs, the
#       Qt libraries and plugins they use, MinGW's run-time, qt.conf, the
#       help and the example document; it runs where it is unpacked and
#       keeps its settings beside itself when it may write there;
#   BUILD/tovarin-VERSION-setup.exe  the same installed by NSIS
#       (scripts/tovarin.nsi) under Program Files, with a Start-menu entry,
#       .lvrn files opened by the program and an uninstaller.
# The programs and libraries in the package are stripped; the build folder
# keeps its debug information.
#
#   scripts/windows-package.sh BUILD VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
root=$(cd "$(dirname "$0")/.." && pwd)

name=tovarin-$version-windows-x64
stage=$build/package/$name
rm -rf "$build/package" "$build/$name.zip" "$build/tovarin-$version-setup.exe"
cmake --install "$build" --prefix "$stage" >/dev/null
find "$stage" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

(cd "$build/package" && cmake -E tar cf "$build/$name.zip" --format=zip "$name")
# The script is UTF-8; the setup's Chinese texts and file names stay so.
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSOURCE="$stage" \
  -DICON="$root/src/app/tovarin.ico" \
  -DOUTFILE="$build/tovarin-$version-setup.exe" "$root/scripts/tovarin.nsi"

for file in "$build/$name.zip" "$build/tovarin-$version-setup.exe"; do
  echo "$(basename "$file"): $(du -k "$file" | cut -f1) KB"
done
