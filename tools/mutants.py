#!/usr/bin/env python3
"""A mutation sample of the native build: how many small faults the unit
tests catch.

Sites are drawn by a fixed seed among the code the native build compiles
(src, tests left out, the Win32 layer too), so the same seed gives the same
sites and two commits compare. Each mutant makes one small change at one
site: a comparison flipped or loosened, && and || swapped, a whole-number
constant off by one, `return true` turned false (and back), a negation
dropped. The unit tests are rebuilt (incrementally) and run under a time
limit; a test that fails, crashes or hangs kills the mutant. The file is
put back whatever happens.

Usage: tools/mutants.py [--build build/linux] [--seed 30] [--count 100]
                        [--under src/line_editor] [--timeout 120]
Prints each mutant and its fate, then the sites tried, built, killed,
survived and the kill rate.
"""

import argparse
import random
import re
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# Each rule: a pattern and what a match becomes. Comparisons keep their
# spacing, so that a pattern never matches inside <<, >>, -> or a template.
RULES = [
    ("flip ==", re.compile(r"(?<=\s)==(?=\s)"), "!="),
    ("flip !=", re.compile(r"(?<=\s)!=(?=\s)"), "=="),
    ("loosen <", re.compile(r"(?<=\s)<(?=\s)"), "<="),
    ("tighten <=", re.compile(r"(?<=\s)<=(?=\s)"), "<"),
    ("loosen >", re.compile(r"(?<=\s)>(?=\s)"), ">="),
    ("tighten >=", re.compile(r"(?<=\s)>=(?=\s)"), ">"),
    ("swap &&", re.compile(r"(?<=\s)&&(?=\s)"), "||"),
    ("swap ||", re.compile(r"(?<=\s)\|\|(?=\s)"), "&&"),
    ("return false", re.compile(r"\breturn true;"), "return false;"),
    ("return true", re.compile(r"\breturn false;"), "return true;"),
    ("drop !", re.compile(r"(?<=[\s(])!(?=[A-Za-z_(])"), ""),
    ("off by one", re.compile(r"(?<![\w.'\"])([0-9]+)(?![\w.'\"])"), None),
]


def code_files():
    files = []
    # The files the build compiles; a header's change would rebuild half the
    # tree for one mutant.
    for path in sorted(ROOT.glob("src/**/*.cpp")):
        rel = path.relative_to(ROOT).as_posix()
        if rel.endswith("_test.cpp") or "/win32/" in rel:
            continue
        files.append(rel)
    return files


def is_code_line(line):
    """Lines worth mutating: not comments, includes, asserts of the compiler
    or string-only lines."""
    stripped = line.strip()
    return stripped and not stripped.startswith(("//", "#", "*", "static_assert"))


def sites(files):
    """Every (file, line, column, rule) a rule matches, in a fixed order."""
    found = []
    for rel in files:
        for number, line in enumerate((ROOT / rel).read_text().splitlines(), 1):
            if not is_code_line(line):
                continue
            # Nothing inside a string or a character literal.
            masked = re.sub(r'"(?:[^"\\]|\\.)*"|\'(?:[^\'\\]|\\.)*\'',
                            lambda m: " " * len(m.group(0)), line)
            for name, pattern, _ in RULES:
                for match in pattern.finditer(masked):
                    found.append((rel, number, match.start(), name))
    return found


def mutate(line, column, name):
    """The line with the rule applied at column."""
    for rule, pattern, replacement in RULES:
        if rule != name:
            continue
        match = pattern.match(line, column)
        if not match:
            return None
        if replacement is None:
            value = int(match.group(1))
            replacement = str(value + 1)
        return line[:match.start()] + replacement + line[match.end():]
    return None


def run(build, timeout):
    """'not built', 'killed' or 'survived'."""
    made = subprocess.run(["cmake", "--build", build, "--target", "vantrel_tests"],
                          cwd=ROOT, capture_output=True, text=True)
    if made.returncode != 0:
        return "not built"
    try:
        # Output unread: a mutant may print any bytes.
        tests = subprocess.run([str(ROOT / build / "vantrel_tests"), "--gtest_brief=1"], cwd=ROOT,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               timeout=timeout)
    except subprocess.TimeoutExpired:
        return "killed"  # a hang counts as caught
    return "survived" if tests.returncode == 0 else "killed"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build/linux")
    parser.add_argument("--seed", type=int, default=30)
    parser.add_argument("--count", type=int, default=100)
    parser.add_argument("--under", default="src", help="only sites below this folder")
    parser.add_argument("--timeout", type=int, default=120)
    a = parser.parse_args()

    files = [f for f in code_files() if f.startswith(a.under.rstrip("/") + "/")]
    chosen = random.Random(a.seed).sample(sites(files), min(a.count, len(sites(files))))
    # The build must be whole before the first mutant, or its failures
    # would be counted against the mutants.
    if run(a.build, a.timeout) != "survived":
        sys.exit(f"the unit tests in {a.build} do not build or pass unmutated (a new worktree "
                 "needs `bash scripts/build.sh linux` first): nothing to measure")
    fates = {"not built": 0, "killed": 0, "survived": 0}
    start = time.monotonic()
    for n, (rel, number, column, name) in enumerate(chosen, 1):
        path = ROOT / rel
        original = path.read_text()
        lines = original.splitlines(keepends=True)
        changed = mutate(lines[number - 1], column, name)
        if changed is None:
            continue
        lines[number - 1] = changed
        try:
            path.write_text("".join(lines))
            fate = run(a.build, a.timeout)
        finally:
            path.write_text(original)
        fates[fate] += 1
        print(f"{n:4} {fate:>9}  {rel}:{number}  {name}: {changed.strip()[:90]}", flush=True)
    # Leave the build as the sources are.
    subprocess.run(["cmake", "--build", a.build, "--target", "vantrel_tests"], cwd=ROOT,
                   capture_output=True)
    built = fates["killed"] + fates["survived"]
    rate = 100.0 * fates["killed"] / built if built else 0.0
    print(f"seed {a.seed}: {len(chosen)} sites tried, {built} built, {fates['killed']} killed, "
          f"{fates['survived']} survived, kill rate {rate:.1f}% "
          f"({time.monotonic() - start:.0f} s)")


if __name__ == "__main__":
    main()
