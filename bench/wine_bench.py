#!/usr/bin/env python3
"""Times the real Vantrel.exe under Xvfb and Wine beside Wine's own cmd.exe:

  - a .dcb of N `set` lines run as the console's start-up argument, against
    the same lines as a .bat run by cmd.exe, each with its start-up time
    (an empty run) taken off, for N = 10,000 and 100,000;
  - the script engine's share of a .dcb of N lines: the same run with
    every line a `let` (an expression the engine compiles and evaluates) or
    a `vb` statement, against `set` lines that never reach the engine;
  - a remote client's burst of 10,000 lines, in lines per second.

Usage: bench/wine_bench.py --build build/windows [--work /tmp/wine-bench]
                           [--figures batch engine burst]
Figures only: nothing here passes or fails on a time.
"""

import argparse
import shutil
import subprocess
import sys
import time
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))

import harness  # noqa: E402
from harness import WINE  # noqa: E402
from remote_tests import Client, free_port  # noqa: E402


def timed(console, args, cwd):
    """Seconds from start to end of one Wine program in the console's prefix."""
    start = time.monotonic()
    subprocess.run([WINE, *args], env=console.env, cwd=cwd, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=1800, check=False)
    return time.monotonic() - start


def best_of(runs, measure):
    return min(measure() for _ in range(runs))


def batch_figures(console, lines, runs):
    drive = console.prefix / "drive_c"
    body = "".join(f"set zz={i % 10}\r\n" for i in range(lines))
    (drive / "bench.dcb").write_bytes(body.encode())
    (drive / "bench.bat").write_bytes(("@echo off\r\n" + body).encode())
    (drive / "empty.dcb").write_bytes(b"")
    build = str(console.build)
    exe = str(console.exe)
    # The console ends with EXIT once the batch file has run.
    ours = best_of(runs, lambda: timed(console, [exe, "C:\\bench.dcb|exit"], build))
    ours_start = best_of(runs, lambda: timed(console, [exe, "C:\\empty.dcb|exit"], build))
    cmd = best_of(runs, lambda: timed(console, ["cmd.exe", "/c", "C:\\bench.bat"], build))
    cmd_start = best_of(runs, lambda: timed(console, ["cmd.exe", "/c", "exit"], build))
    return ours - ours_start, cmd - cmd_start


def engine_figures(console, lines, runs):
    """Seconds of `set`, `let` and `vb` batches of the same length, start-up off."""
    drive = console.prefix / "drive_c"
    bodies = {
        "set": "".join(f"set zz={i % 10}\r\n" for i in range(lines)),
        "let": "".join(f"let zz={i % 10} * 2 + Len(\"abc\")\r\n" for i in range(lines)),
        "vb": "".join(f"vb n = n + {i % 10} * 2\r\n" for i in range(lines)),
    }
    (drive / "empty.dcb").write_bytes(b"")
    build, exe = str(console.build), str(console.exe)
    start = best_of(runs, lambda: timed(console, [exe, "C:\\empty.dcb|exit"], build))
    seconds = {}
    for kind, body in bodies.items():
        (drive / f"{kind}.dcb").write_bytes(body.encode())
        # Start-up varies by more than a short batch takes: never below zero.
        seconds[kind] = max(0.0, best_of(
            runs, lambda: timed(console, [exe, f"C:\\{kind}.dcb|exit"], build)) - start)
    return seconds


def burst_figure(console, count):
    port = free_port()
    console.start("listen", str(port))
    console.wait_ready()
    client = Client(port)
    client.wait_for(lambda d: d.endswith(b">"), "the first prompt")
    client.take()
    start = time.monotonic()
    client.send(b"".join(b'&print "k" & %d\r\n' % i for i in range(count)))
    client.wait_for(lambda d: b"k%d\r\n" % (count - 1) in d[-256:], "the last output",
                    timeout=600)
    seconds = time.monotonic() - start
    client.close()
    return count / seconds


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, help="the Windows build folder")
    parser.add_argument("--work", default="/tmp/vantrel-wine-bench")
    parser.add_argument("--runs", type=int, default=2, help="runs per figure, the best kept")
    parser.add_argument("--lines", type=int, nargs="+", default=[10_000, 100_000])
    parser.add_argument("--figures", nargs="+", choices=["batch", "engine", "burst"],
                        default=["batch", "engine", "burst"])
    a = parser.parse_args()
    harness.setup(a.work)
    console = harness.Console(a.build, a.work, "bench")
    try:
        if "batch" in a.figures:
            for lines in a.lines:
                ours, cmd = batch_figures(console, lines, a.runs)
                print(f"{lines:>7,} set lines: Vantrel .dcb {ours:7.2f} s   "
                      f"cmd.exe .bat {cmd:7.2f} s   "
                      f"({ours / lines * 1e3:.3f} and {cmd / lines * 1e3:.3f} ms a line)")
        if "engine" in a.figures:
            for lines in a.lines:
                s = engine_figures(console, lines, a.runs)
                for kind in ("let", "vb"):
                    share = max(0.0, s[kind] - s["set"]) / s[kind] if s[kind] > 0 else 0.0
                    print(f"{lines:>7,} {kind:>3} lines: {s[kind]:6.3f} s against "
                          f"{s['set']:6.3f} s of set lines: the engine's share {share:.0%}")
        if "burst" in a.figures:
            rate = burst_figure(console, 10_000)
            print(f" 10,000-line remote burst: {rate:,.0f} lines/s ({10_000 / rate:.1f} s)")
    finally:
        console.close()
        harness.cleanup(a.work)
        shutil.rmtree(a.work, ignore_errors=True)


if __name__ == "__main__":
    main()
