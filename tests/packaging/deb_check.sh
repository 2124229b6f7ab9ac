#!/usr/bin/env bash
# Installs the Debian package with apt, uses it, removes it again, and checks
# that nothing it installed is left behind. Needs root; changes the system.
# Usage: deb_check.sh <package.deb>
set -euo pipefail
deb="$(realpath "$1")"
fail() { echo "deb check: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "deb check: not root; skipped"; exit 0; }
if dpkg-query -W findlark >/dev/null 2>&1; then
  fail "a findlark package is installed already; remove it first"
fi
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$deb" >/tmp/findlark-deb.log 2>&1 || { tail -20 /tmp/findlark-deb.log >&2; fail "apt-get install failed"; }
files="$(mktemp)"
trap 'rm -f "$files"' EXIT
dpkg -L findlark >"$files"
/usr/bin/flkcrawl --version || fail "the installed flkcrawl does not run"
man -w flkcrawl >/dev/null || fail "man does not find flkcrawl's page"
apt-get remove -y -qq --purge findlark >>/tmp/findlark-deb.log 2>&1 || fail "apt-get remove failed"
left=0
while IFS= read -r f; do
  # Folders shared with other packages (/usr, /usr/share/...) stay.
  if [ -e "$f" ] && [ ! -d "$f" ]; then echo "left behind: $f" >&2; left=1; fi
  if [ -d "$f" ] && [[ "$f" == */findlark* ]]; then echo "folder left behind: $f" >&2; left=1; fi
done <"$files"
[ "$left" -eq 0 ] || fail "files were left behind"
echo "deb check: installed, used and removed cleanly ($(wc -l <"$files") paths)"
