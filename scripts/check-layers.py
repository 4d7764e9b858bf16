#!/usr/bin/env python3
"""Fails on any include against the layer order of src/layers.txt.

A file under src/ belongs to the layer of its folder (the longest listed
folder that holds it). It may include its own layer and the layers listed
before it. A fixture of tests/ counts as the highest layer it reaches: a
unit test (foo_test.cpp) may include any fixture, which wires up the whole
program in memory, but no header of a layer above its own. Only
src/platform/win32 may include the system's headers. Every folder under src/
must be a layer, so that no code escapes the check.

Usage: scripts/check-layers.py [ROOT]   (exit 1 and a line per fault)
"""

import re
import sys
from functools import lru_cache
from pathlib import Path

ROOT = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent)
SRC = ROOT / "src"
TESTS = ROOT / "tests"
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# Headers that mean the system itself: core code reaches it only through
# the interfaces of src/platform.
SYSTEM_HEADERS = re.compile(
    r"^(windows|winsock2|ws2tcpip|shellapi|shlobj|objbase|oleauto|commctrl|wincrypt|"
    r"winuser|winbase|tlhelp32|psapi|dpapi|unistd|sys/.*|pthread)\.h$", re.IGNORECASE)


def read_layers():
    layers = []
    for line in (SRC / "layers.txt").read_text().splitlines():
        if line.strip() and not line.startswith("#"):
            layers.append(line.split()[0])
    return layers


LAYERS = read_layers()
RANK = {name: rank for rank, name in enumerate(LAYERS)}


def layer_of(path):
    """The layer of a file under src/, or None."""
    rel = path.relative_to(SRC).as_posix()
    best = None
    for name in LAYERS:
        if rel.startswith(name + "/") and (best is None or len(name) > len(best)):
            best = name
    return best


def includes(path):
    for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
        match = INCLUDE.match(line)
        if match:
            yield number, match.group(1), match.group(2)


def resolve(path, name):
    """The file a quoted include names: beside the file, then under src/,
    then among the fixtures."""
    for base in (path.parent, SRC, TESTS):
        candidate = base / name
        if candidate.is_file():
            return candidate.resolve()
    return None


@lru_cache(maxsize=None)
def fixture_reach(path):
    """The highest layer rank a fixture of tests/ includes, through other
    fixtures too."""
    reach = -1
    for _, kind, name in includes(path):
        target = resolve(path, name) if kind == '"' else None
        if target is None:
            continue
        if target.is_relative_to(TESTS.resolve()):
            reach = max(reach, fixture_reach(target))
        elif target.is_relative_to(SRC.resolve()):
            reach = max(reach, RANK.get(layer_of(target), -1))
    return reach


def check():
    faults = []
    for folder in sorted(p for p in SRC.rglob("*") if p.is_dir() and "testdata" not in p.parts):
        if layer_of(folder / "x") is None:
            faults.append(f"{folder.relative_to(ROOT)}/: a folder that is no layer of src/layers.txt")
    for path in sorted(SRC.rglob("*")):
        if path.suffix not in (".h", ".cpp", ".inc") or "testdata" in path.parts:
            continue
        own = layer_of(path)
        if own is None:
            continue
        where = path.relative_to(ROOT)
        for number, kind, name in includes(path):
            if kind == "<":
                if SYSTEM_HEADERS.match(name) and own != "platform/win32":
                    faults.append(f"{where}:{number}: <{name}> outside src/platform/win32")
                continue
            target = resolve(path, name)
            if target is None:
                faults.append(f"{where}:{number}: \"{name}\" names no file")
                continue
            if target.is_relative_to(TESTS.resolve()):
                if path.name.endswith("_test.cpp"):
                    continue
                rank, what = fixture_reach(target), f"the fixture {name}, which reaches"
            else:
                rank, what = RANK.get(layer_of(target), -1), "layer"
            if rank > RANK[own]:
                faults.append(f"{where}:{number}: \"{name}\": {what} {LAYERS[rank]}, "
                              f"above {own}")
    return faults


def main():
    faults = check()
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) against the layer order of src/layers.txt")
        return 1
    print(f"layers: {' < '.join(LAYERS)}: every include keeps the order")
    return 0


if __name__ == "__main__":
    sys.exit(main())
