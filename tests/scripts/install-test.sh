#!/usr/bin/env bash
# `make install` puts the program, its help, its desktop entry and the
# document type where the desktop finds them, so that a file manager's
# double-click on a .lvrn file starts the program with that file. Staged
# with DESTDIR, as a package build does, so nothing outside the stage moves.
set -u
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0

DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$stage.log" 2>&1 || {
  cat "$stage.log"; rm -f "$stage.log"; exit 1; }
rm -f "$stage.log"

expect_line() {  # expect_line FILE LINE
  if ! grep -qxF -- "$2" "$stage/usr/$1"; then
    echo "FAIL: $1 lacks the line: $2"
    failures=$((failures + 1))
  fi
}

for file in bin/tovarin share/tovarin/readme.txt share/applications/tovarin.desktop \
            share/mime/packages/tovarin.xml share/icons/hicolor/scalable/apps/tovarin.svg; do
  [ -e "$stage/usr/$file" ] || { echo "FAIL: not installed: $file"; failures=$((failures + 1)); }
done
expect_line share/applications/tovarin.desktop 'Exec=tovarin %f'
expect_line share/applications/tovarin.desktop 'MimeType=application/x-tovarin-document;'
expect_line share/mime/packages/tovarin.xml '  <mime-type type="application/x-tovarin-document">'
expect_line share/mime/packages/tovarin.xml '    <glob pattern="*.lvrn"/>'
# A staged install leaves the desktop's caches to the package.
[ ! -e "$stage/usr/share/mime/mime.cache" ] || { echo "FAIL: mime cache built in the stage"; failures=$((failures + 1)); }

exit $((failures > 0))
