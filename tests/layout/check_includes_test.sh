#!/usr/bin/env bash
# The include check must fail on an upward include and pass a clean tree.
set -euo pipefail
check="$(dirname "$0")/check_includes.py"
tmp="$(mktemp -d)"; trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/low" "$tmp/high/ui" "$tmp/ui"
printf '## Layout\n\n- `low/` — a\n- `high/` — b\n- `ui/` — c\n' > "$tmp/README.md"
echo '#include "low/A.h"' > "$tmp/high/B.h"
echo '#include "high/B.h"' > "$tmp/high/ui/W.h"
echo '#include "ui/X.h"' >> "$tmp/high/ui/W.h"
echo '#include "low/A.h"' > "$tmp/ui/X.h"
: > "$tmp/low/A.h"
python3 "$check" "$tmp" >/dev/null || { echo "clean tree rejected"; exit 1; }
echo '#include "high/B.h"' > "$tmp/low/A.h"
if python3 "$check" "$tmp" >/dev/null; then echo "upward include accepted"; exit 1; fi
: > "$tmp/low/A.h"
echo '#include "high/ui/W.h"' > "$tmp/high/C.h"
if python3 "$check" "$tmp" >/dev/null; then echo "core including windows code accepted"; exit 1; fi
rm "$tmp/high/C.h"
echo '#include "ui/X.h"' > "$tmp/low/D.h"
if python3 "$check" "$tmp" >/dev/null; then echo "core including shared ui accepted"; exit 1; fi
echo ok
