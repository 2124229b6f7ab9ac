#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses it from there: the
# installed flkcrawl tells its version and crawls the demo site, finding its
# templates in the installed program folder; the desktop entries and the
# metainfo pass their validators.
# Usage: install_check.sh <build-dir> <source-dir> <version>
set -euo pipefail
build="$1" source="$2" version="$3"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
prefix="$tmp/prefix"

cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "install check: $*" >&2; exit 1; }
for p in FLK findlark traylet flkcrawl; do
  [ -x "$prefix/bin/$p" ] || fail "bin/$p is not installed"
done
[ -f "$prefix/share/findlark/ImagesTemplate2.htm" ] || fail "the result templates are not in share/findlark"
[ -f "$prefix/share/man/man1/flkcrawl.1.gz" ] || fail "the manual page of flkcrawl is not installed"
for size in 16 48 256; do
  [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/findlark.png" ] || fail "no ${size} px icon"
done

got="$("$prefix/bin/flkcrawl" --version)"
case "$got" in
  *"$version"*) ;;
  *) fail "flkcrawl --version says '$got', not $version" ;;
esac

# A crawl of the sample site, with settings and data in the temporary folder
# only, from the installed program.
export FLK_WINDIR="$tmp/win" XDG_DATA_HOME="$tmp/data" HOME="$tmp/home"
mkdir -p "$FLK_WINDIR" "$XDG_DATA_HOME" "$HOME"
"$prefix/bin/flkcrawl" --quiet --project "$tmp/project" --media all "$source/resources/demo/index.html" \
  >"$tmp/crawl.log" 2>&1 || { cat "$tmp/crawl.log" >&2; fail "the installed flkcrawl could not crawl the demo site"; }
grep -q '^Result pages: ' "$tmp/crawl.log" || { cat "$tmp/crawl.log" >&2; fail "no result pages from the installed flkcrawl"; }
ls "$tmp/project"/ImagesFrame*.htm >/dev/null 2>&1 || fail "no images frame page in the project"

for entry in "$prefix"/share/applications/*.desktop; do
  desktop-file-validate "$entry" || fail "$(basename "$entry") does not validate"
done
appstreamcli validate --no-net --pedantic "$prefix"/share/metainfo/*.metainfo.xml >"$tmp/appstream.log" 2>&1 ||
  { cat "$tmp/appstream.log" >&2; fail "the metainfo does not validate"; }
echo "install check: passed"
