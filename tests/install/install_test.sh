#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs:
# the programs, the launcher entry, icons, MIME type, disclaimer and manual,
# each where desktops look for it and accepted by the freedesktop validators.
# Usage: install_test.sh BUILD_DIR with-window|cli-only
set -uo pipefail
build=$1
kind=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
need() { [ -s "$prefix/$1" ] || fail "missing or empty: $1"; }

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

need bin/tablescope-cli
[ -x "$prefix/bin/tablescope-cli" ] || fail "tablescope-cli is not executable"
"$prefix/bin/tablescope-cli" --help | grep -q "usage:" || fail "installed tablescope-cli does not run"
if [ "$kind" = with-window ]; then
  need bin/tablescope
  [ -x "$prefix/bin/tablescope" ] || fail "tablescope is not executable"
fi
need share/doc/tablescope/License.txt

desktop=share/applications/tablescope.desktop
need "$desktop"
desktop-file-validate "$prefix/$desktop" || fail "desktop-file-validate rejects $desktop"
grep -qx 'Exec=tablescope %f' "$prefix/$desktop" || fail "the launcher does not pass the file"
grep -qx 'GenericName=Access Database Viewer' "$prefix/$desktop" || fail "generic name"
grep -q '^MimeType=.*application/x-msaccess;' "$prefix/$desktop" || fail "launcher MIME type"
grep -qx 'Icon=tablescope' "$prefix/$desktop" || fail "launcher icon name"

mime=share/mime/packages/tablescope.xml
need "$mime"
xmllint --noout "$prefix/$mime" || fail "xmllint rejects $mime"
for text in 'type="application/x-msaccess"' 'pattern="*.mdb"' 'pattern="*.accdb"' \
            'value="Standard Jet DB"' 'value="Standard ACE DB"'; do
  grep -qF "$text" "$prefix/$mime" || fail "$mime lacks $text"
done
# The MIME database compiles from our entry alone (update-mime-database
# rejects unknown elements and malformed magic).
mkdir -p "$prefix/mimecheck/packages"
cp "$prefix/$mime" "$prefix/mimecheck/packages/"
out=$(update-mime-database -V "$prefix/mimecheck" 2>&1) || fail "update-mime-database: $out"
if grep -qiE "warning|error|invalid" <<<"$out"; then fail "update-mime-database: $out"; fi
grep -q "application/x-msaccess" "$prefix/mimecheck/globs2" 2>/dev/null || fail "no glob compiled"
grep -q "Standard ACE DB" "$prefix/mimecheck/magic" 2>/dev/null || fail "no magic compiled"

xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/tablescope.svg" || fail "icon SVG is not XML"
for size in 16 24 32 48 64 128 256; do
  png=share/icons/hicolor/${size}x${size}/apps/tablescope.png
  need "$png"
  file -b "$prefix/$png" | grep -q "PNG image data, $size x $size" || fail "$png is not a ${size}px PNG"
done

man=share/man/man1/tablescope-cli.1
need "$man"
warnings=$(groff -t -man -ww -z "$prefix/$man" 2>&1)
[ -z "$warnings" ] || fail "groff warns about the manual: $warnings"
# The manual names every command --help lists.
for command in $("$prefix/bin/tablescope-cli" --help | grep -oE 'tablescope-cli [a-z-]+' | cut -d' ' -f2 | sort -u); do
  grep -q "^\.B tablescope-cli $command\$" "$prefix/$man" || fail "the manual lacks '$command'"
done

[ "$failures" -eq 0 ] && echo "install: all files in place and valid"
exit "$failures"
