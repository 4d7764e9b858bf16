#!/usr/bin/env python3
"""A mutation sample of the native build: how many small faults the unit
tests catch.

Sites are drawn by a fixed seed among the code the native build compiles
(src, tests left out, the Win32 layer too), so the same seed gives the same
sites and two commits compare. Each mutant makes one small change at one
site: a comparison flipped or loosened, && and || swapped, a whole-number
constant off by one, `return true` turned false (and back), a negation
dropped. The unit tests are rebuilt (incrementally) and run under a limit
of processor time (and ten times that on the clock, for a run that waits
for ever); a test that fails, crashes or hangs kills the mutant. The file
is put back whatever happens.

Usage: tools/mutants.py [--build build/linux] [--seed 30] [--count 100]
                        [--under src/line_editor] [--timeout 120]
                        [--record FILE | --replay FILE] [--start N]
Prints each mutant and its fate, then the sites tried, built, killed,
survived and the kill rate.

Code moves between commits, so a seed drawn on two commits may pick other
sites. --record FILE writes the chosen sites (file, line number, the line's
text, column, rule) as JSON lines; --replay FILE mutates exactly those sites
on another commit, finding each by its text: in the same file, the identical
line nearest the old number; else the one identical line among all the
sources (a function that moved); else the site is 'gone' and not counted.
Each site prints under its number in the recording, so two runs' outputs
compare mutant by mutant; --start N goes on from site N of a run that
was cut short.
"""

import argparse
import json
import random
import re
import resource
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


def source_files():
    """Every file a moved line may have gone to: the sources the native build
    compiles, headers included."""
    files = []
    for path in sorted(ROOT.glob("src/**/*")):
        rel = path.relative_to(ROOT).as_posix()
        if path.suffix not in (".cpp", ".h") or "/win32/" in rel:
            continue
        if rel.endswith(("_test.cpp", "_testing.h")):
            continue
        files.append(rel)
    return files


def find_site(site, texts):
    """(file, line number, column) of a recorded site in the sources now, or
    None when its line is gone. texts maps a file to its lines, read once."""
    want = site["text"]

    def column_in(line):
        # The same line reindented keeps its column from the first non-blank.
        shift = (len(line) - len(line.lstrip())) - (len(want) - len(want.lstrip()))
        return site["column"] + shift

    lines = texts.get(site["file"])
    if lines is not None:
        for exact in (True, False):
            hits = [n for n, line in enumerate(lines, 1)
                    if (line == want if exact else line.strip() == want.strip())]
            if hits:
                n = min(hits, key=lambda n: (abs(n - site["line"]), n))
                return site["file"], n, column_in(lines[n - 1])
    hits = [(rel, n) for rel, lines in texts.items() if rel != site["file"]
            for n, line in enumerate(lines, 1) if line.strip() == want.strip()]
    if len(hits) == 1:
        rel, n = hits[0]
        return rel, n, column_in(texts[rel][n - 1])
    return None


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

    # A mutant that loops is stopped by the processor time it has used, not
    # by the clock: on a loaded or paused machine a sound run can take any
    # time. The clock's limit, far beyond, catches one that waits for ever.
    def limit_cpu():
        resource.setrlimit(resource.RLIMIT_CPU, (timeout, timeout))

    try:
        # Output unread: a mutant may print any bytes.
        tests = subprocess.run([str(ROOT / build / "vantrel_tests"), "--gtest_brief=1"], cwd=ROOT,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               timeout=timeout * 10, preexec_fn=limit_cpu)
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
    mode = parser.add_mutually_exclusive_group()
    mode.add_argument("--record", metavar="FILE", help="write the chosen sites as JSON lines")
    mode.add_argument("--replay", metavar="FILE", help="mutate the sites a --record wrote")
    parser.add_argument("--start", type=int, default=1, help="the first site to mutate")
    a = parser.parse_args()

    if a.replay:
        recorded = [json.loads(line) for line in Path(a.replay).read_text().splitlines()
                    if line.strip()]
        texts = {rel: (ROOT / rel).read_text().splitlines() for rel in source_files()}
        chosen = []
        for site in recorded:
            found = find_site(site, texts)
            chosen.append((site, None if found is None else (*found, site["rule"])))
        label = f"replay of {a.replay}"
    else:
        files = [f for f in code_files() if f.startswith(a.under.rstrip("/") + "/")]
        drawn = random.Random(a.seed).sample(sites(files), min(a.count, len(sites(files))))
        chosen = []
        for rel, number, column, name in drawn:
            text = (ROOT / rel).read_text().splitlines()[number - 1]
            site = {"file": rel, "line": number, "text": text, "column": column, "rule": name}
            chosen.append((site, (rel, number, column, name)))
        if a.record:
            Path(a.record).write_text("".join(json.dumps(site) + "\n" for site, _ in chosen))
        label = f"seed {a.seed}"
    # The build must be whole before the first mutant, or its failures
    # would be counted against the mutants.
    if run(a.build, a.timeout) != "survived":
        sys.exit(f"the unit tests in {a.build} do not build or pass unmutated (a new worktree "
                 "needs `bash scripts/build.sh linux` first): nothing to measure")
    fates = {"not built": 0, "killed": 0, "survived": 0, "gone": 0}
    start = time.monotonic()
    for n, (site, where) in enumerate(chosen, 1):
        if n < a.start:
            continue
        if where is None:
            fates["gone"] += 1
            print(f"{n:4} {'gone':>9}  {site['file']}:{site['line']}  {site['rule']}: "
                  f"{site['text'].strip()[:90]}", flush=True)
            continue
        rel, number, column, name = where
        path = ROOT / rel
        original = path.read_text()
        lines = original.splitlines(keepends=True)
        changed = mutate(lines[number - 1], column, name)
        if changed is None:
            print(f"{n:4} {'skipped':>9}  {rel}:{number}  {name}: no match at column {column}",
                  flush=True)
            continue
        lines[number - 1] = changed
        try:
            path.write_text("".join(lines))
            fate = run(a.build, a.timeout)
        finally:
            path.write_text(original)
        fates[fate] += 1
        moved = "" if (rel, number) == (site["file"], site["line"]) else \
            f" (was {site['file']}:{site['line']})"
        print(f"{n:4} {fate:>9}  {rel}:{number}  {name}: {changed.strip()[:90]}{moved}",
              flush=True)
    # Leave the build as the sources are.
    subprocess.run(["cmake", "--build", a.build, "--target", "vantrel_tests"], cwd=ROOT,
                   capture_output=True)
    built = fates["killed"] + fates["survived"]
    rate = 100.0 * fates["killed"] / built if built else 0.0
    gone = f", {fates['gone']} gone" if a.replay else ""
    print(f"{label}: {len(chosen)} sites tried, {built} built, {fates['killed']} killed, "
          f"{fates['survived']} survived{gone}, kill rate {rate:.1f}% "
          f"({time.monotonic() - start:.0f} s)")


if __name__ == "__main__":
    main()
