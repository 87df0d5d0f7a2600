#!/usr/bin/env python3
"""The shape the sources keep, so that the next change does not quietly undo it:
no include circle among the product's files (app/, catalogue/, manager/,
platform/, seldir/, ui/; a file's .h and .cpp count as one); no product file
over 350 lines; no dynamic_cast but the one that checks a form
description's row against its control's kind; no library loaded by its bare
name; no system release written by hand outside platform/win32/scoped.h; the
README's layout names every source file.
  check-structure.py SOURCE_DIR"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1])
faults = []

PRODUCT = ("app", "catalogue", "manager", "platform", "seldir", "ui")
sources = sorted(p for folder in PRODUCT for p in root.glob(folder + "/**/*") if p.suffix in (".h", ".cpp"))

include = re.compile(r'^#include "((?:' + "|".join(PRODUCT) + r')/[^"]+)\.(?:h|cpp)"', re.M)
graph = {}
for path in sources:
    unit = str(path.relative_to(root).with_suffix(""))
    targets = graph.setdefault(unit, set())
    targets.update(t for t in include.findall(path.read_text()) if t != unit)


def circle_from(start):
    """A path start -> ... -> start, or None."""
    stack, seen = [(start, [start])], set()
    while stack:
        unit, path = stack.pop()
        for target in graph.get(unit, ()):
            if target == start:
                return path + [start]
            if target not in seen:
                seen.add(target)
                stack.append((target, path + [target]))
    return None


for unit in sorted(graph):
    circle = circle_from(unit)
    if circle:
        faults.append("include circle: " + " -> ".join(circle))
        break

for path in sources:
    lines = path.read_text().count("\n")
    if lines > 350:
        faults.append(f"{path.relative_to(root)} has {lines} lines (at most 350)")

casts = [f"{p.relative_to(root)}:{n}" for p in sources
         for n, line in enumerate(p.read_text().splitlines(), 1) if "dynamic_cast" in line]
if len(casts) > 1 or any(not c.startswith("ui/form_description.cpp:") for c in casts):
    faults.append("dynamic_cast beyond the form description's kind check: " + " ".join(casts))

# A library loaded by its bare name is searched for in the program's folder
# first, where anyone may have put one of that name: system libraries come
# from the system folder (platform/win32/system_library.h).
for path in sorted(root.glob("**/*.cpp")) + sorted(root.glob("**/*.h")):
    if "build" in path.parts:
        continue
    for n, line in enumerate(path.read_text().splitlines(), 1):
        if re.search(r'\bLoadLibrary(?:Ex)?[AW]?\s*\(\s*(?:L?"|TEXT\()', line):
            faults.append(f"{path.relative_to(root)}:{n} loads a library by its bare name")

# Every system release lives in an owner of platform/win32/scoped.h: a release
# written by hand is one that an early return or an exception skips.
release = re.compile(r"(?<![\w.>])(?:::)?(?:CloseHandle|FindClose|DeleteObject|ReleaseDC|CloseClipboard|WinHttpCloseHandle)\s*\(")
for path in sources:
    if path.relative_to(root).as_posix() == "platform/win32/scoped.h":
        continue
    for n, line in enumerate(path.read_text().splitlines(), 1):
        if release.search(line):
            faults.append(f"{path.relative_to(root)}:{n} releases a system object by hand (scoped.h has the owners)")

# The README's layout names every source file, by its name with or without
# the extension (a .h and .cpp pair once).
readme = (root / "README.md").read_text()
LAID_OUT = PRODUCT + ("tests", "bench", "fuzz", "tools")
for folder in LAID_OUT:
    for path in sorted(root.glob(folder + "/**/*")):
        if path.suffix not in (".h", ".cpp", ".py", ".sh", ".rc") or "build" in path.parts:
            continue
        if not re.search(r"(?<![\w.])" + re.escape(path.stem) + r"(?![\w])", readme):
            faults.append(f"{path.relative_to(root)} is not named in the README's layout")

for fault in faults:
    print(fault)
print(f"{len(graph)} units of the product read: " + ("shape kept" if not faults else f"{len(faults)} faults"))
sys.exit(1 if faults else 0)
