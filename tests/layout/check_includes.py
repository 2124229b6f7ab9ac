#!/usr/bin/env python3
"""Reads the includes of every source file against the floor order of the
README's "Layout" section and fails when one points upward.

A core folder may include itself and the floors below it. A folder's ui/
subfolder may also include its own core, the ui/ subfolders of its floor and
the floors below, and the shared ui/ folder, which itself may include any core
floor but no ui/ subfolder. Tests, benchmarks and generated files are not
checked."""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()


def floor_order():
    text = (root / "README.md").read_text(encoding="utf-8")
    section = re.search(r"^## Layout\n(.*?)(?=^## |\Z)", text, re.S | re.M)
    if not section:
        sys.exit('README.md has no "## Layout" section')
    floors = re.findall(r"^- `([a-z]+)/`", section.group(1), re.M)
    if not floors:
        sys.exit('the "Layout" section lists no floors')
    return floors


floors = floor_order()
rank = {name: i for i, name in enumerate(floors)}
include_re = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def place(rel):
    """(floor, is_ui) of a path relative to the root, or None when unchecked."""
    parts = rel.split("/")
    if len(parts) < 2:
        return None
    if parts[0] == "ui":
        return ("ui", True)
    if parts[0] not in rank:
        return None
    return (parts[0], len(parts) > 2 and parts[1] == "ui")


def allowed(src, dst):
    (sf, sui), (df, dui) = src, dst
    if sf == "ui":                       # shared windows code: any core floor
        return df != "ui" and not dui or df == "ui"
    if df == "ui":                       # only windows code uses the shared ui/
        return sui
    if dui and not sui:                  # core never includes windows code
        return False
    return rank[df] <= rank[sf]


problems = []
unknown = []
for path in sorted(root.rglob("*")):
    if path.suffix not in (".h", ".cpp") or not path.is_file():
        continue
    rel = path.relative_to(root).as_posix()
    if rel.split("/")[0] in ("tests", "bench", "build") or rel.startswith("build"):
        continue
    src = place(rel)
    if src is None:
        unknown.append(rel)
        continue
    for target in include_re.findall(path.read_text(encoding="utf-8", errors="replace")):
        dst = place(target)
        if dst is None:
            continue
        if not allowed(src, dst):
            problems.append(f"{rel}: includes {target} from a higher floor")

for rel in unknown:
    problems.append(f"{rel}: folder is not in the README's Layout section")
for line in problems:
    print(line)
if problems:
    sys.exit(1)
print(f"{len(floors)} floors, includes all point downward")
