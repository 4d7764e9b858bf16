#!/usr/bin/env python3
"""Runs the same .vbs scripts through Wine's cscript (an independent VBScript
engine) and through our vantrel_vbs runner, and lists every difference of
output. Differences listed in expected_differences.txt are reported but
allowed; any other makes the exit status 1.

Usage: vbs_diff.py --runner PATH [--wine-runner] --work DIR
  --runner       vantrel_vbs (native) or vantrel_vbs.exe (run under Wine)
  --work         a scratch folder; the Wine prefix inside it is booted once
                 and reused by later runs
"""
import argparse
import os
import pathlib
import re
import shutil
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent
GOLDEN = HERE.parent.parent / "src" / "script" / "testdata"
WINE = shutil.which("wine64") or "/usr/lib/wine/wine64"
WINESERVER = shutil.which("wineserver") or "/usr/lib/wine/wineserver"
# The line ours prints when an error ends a script, as a script host does.
STOP_LINE = re.compile(r"^.+\(\d+, \d+\) VBScript (runtime|compilation) error: ")


def ReadList(path):
    for raw in path.read_text().splitlines():
        line = raw.strip()
        if line and not line.startswith("#"):
            yield line


def Scripts():
    names = sorted(p for p in HERE.glob("*.vbs"))
    names += [GOLDEN / n for n in ReadList(HERE / "golden_scripts.txt")]
    return names


def Expected():
    """{script: [(first, last_or_None, reason)]} and the *:stop reason."""
    table, stop = {}, None
    for line in ReadList(HERE / "expected_differences.txt"):
        key, reason = line.split(None, 1)
        script, where = key.rsplit(":", 1)
        if script == "*" and where == "stop":
            stop = reason
            continue
        first = int(where.rstrip("+"))
        table.setdefault(script, []).append(
            (first, None if where.endswith("+") else first, reason))
    return table, stop


def WineEnv(prefix):
    env = dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=")
    return env


def BootPrefix(prefix, log):
    if (prefix / "system.reg").exists():
        return
    print(f"booting the Wine prefix {prefix}", file=sys.stderr)
    env = WineEnv(prefix)
    subprocess.run([WINE, "wineboot", "-i"], env=env, stdout=log, stderr=log, check=True)
    subprocess.run([WINESERVER, "-w"], env=env, check=False)


def Lines(data):
    return data.decode("latin-1").replace("\r", "").splitlines()


def RunCscript(work, env, name, log):
    done = subprocess.run([WINE, "cscript.exe", "//nologo", name], cwd=work, env=env,
                          stdout=subprocess.PIPE, stderr=log, timeout=120)
    return Lines(done.stdout)


def RunOurs(args, work, env, names, log):
    """All scripts in one process; "==> NAME" lines separate their outputs."""
    command = [args.runner] + names
    if args.wine_runner:
        command = [WINE] + command
    done = subprocess.run(command, cwd=work, env=env, stdout=subprocess.PIPE, stderr=log,
                          timeout=300)
    outputs, current = {}, None
    for line in Lines(done.stdout):
        if line.startswith("==> "):
            current = line[4:]
            outputs[current] = []
        elif current is not None:
            outputs[current].append(line)
    return outputs


def Allowed(rules, number):
    for first, last, reason in rules:
        if number >= first and (last is None or number <= last):
            return reason
    return None


def Compare(name, wine, ours, rules, stop):
    """Prints each differing line; returns the number not expected."""
    unexpected = 0
    if ours and STOP_LINE.match(ours[-1]) and len(ours) > len(wine):
        print(f"  {name}:{len(ours)} expected: {stop}\n      ours: {ours[-1]}")
        ours = ours[:-1]
    for i in range(max(len(wine), len(ours))):
        w = wine[i] if i < len(wine) else "<none>"
        o = ours[i] if i < len(ours) else "<none>"
        if w == o:
            continue
        reason = Allowed(rules, i + 1)
        label = f"expected: {reason}" if reason else "UNEXPECTED"
        print(f"  {name}:{i + 1} {label}\n      wine: {w}\n      ours: {o}")
        unexpected += 0 if reason else 1
    return unexpected


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runner", required=True)
    parser.add_argument("--wine-runner", action="store_true")
    parser.add_argument("--work", required=True)
    args = parser.parse_args()

    work = pathlib.Path(args.work).resolve()
    scripts_dir = work / "scripts"
    shutil.rmtree(scripts_dir, ignore_errors=True)
    scripts_dir.mkdir(parents=True)
    prefix = work / "prefix"
    env = WineEnv(prefix)
    table, stop = Expected()
    names = []
    for path in Scripts():
        shutil.copy(path, scripts_dir / path.name)
        names.append(path.name)

    with open(work / "wine.log", "ab") as log:
        BootPrefix(prefix, log)
        # One wineserver for the whole run: each later program starts fast.
        subprocess.run([WINESERVER, "-p", "60"], env=env, check=False)
        try:
            ours = RunOurs(args, scripts_dir, env, names, log)
            unexpected = 0
            for name in names:
                wine = RunCscript(scripts_dir, env, name, log)
                print(f"{name}: {len(wine)} lines from Wine, {len(ours.get(name, []))} from ours")
                unexpected += Compare(name, wine, ours.get(name, []), table.get(name, []), stop)
        finally:
            subprocess.run([WINESERVER, "-k"], env=env, check=False)
    print(f"{unexpected} unexpected difference(s) in {len(names)} scripts")
    return 1 if unexpected else 0


if __name__ == "__main__":
    sys.exit(main())
