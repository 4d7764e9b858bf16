#!/usr/bin/env python3
"""Times the start of the real Vantrel.exe under Xvfb and Wine beside Wine's
own Notepad: from starting the program to its window shown on the X
display (mapped and visible, as xdotool sees it), best and median of three
starts each, warm, in rounds that alternate the two. The program ends
between starts (Vantrel with EXIT, Notepad by TASKKILL in the bench's own
prefix), so each
start is a first one.

Usage: bench/start_wine.py --build build/windows [--work /tmp/vantrel-start] [--rounds 3]
Figures only: nothing here passes or fails on a time.
"""

import argparse
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))

import harness  # noqa: E402
from harness import WINE  # noqa: E402


def shown(console, name):
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name], env=console.env,
                         capture_output=True, text=True, timeout=30)
    return out.returncode == 0 and out.stdout.strip() != ""


def until_shown(console, name, start):
    """Seconds from start until a visible window of that name shows. Asked
    again at once, not every 100 ms as the tests wait: each question takes a
    few milliseconds, which is the figures' resolution."""
    while not shown(console, name):
        if time.monotonic() - start > 60:
            raise harness.TestFailure(f"{name} did not show within 60 s")
    return time.monotonic() - start


def start_vantrel(console):
    start = time.monotonic()
    process = console.start()
    seconds = until_shown(console, "^Vantrel$", start)
    console.wait_ready()
    console.exit(process)
    console.processes.remove(process)
    return seconds


def start_notepad(console):
    with open(console.logs / "start-notepad.log", "a") as log:
        start = time.monotonic()
        process = subprocess.Popen([WINE, "notepad"], env=console.env, stdout=log,
                                   stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        seconds = until_shown(console, "Notepad", start)
    # The prefix is this bench's own: its only Notepad is this one.
    subprocess.run([WINE, "taskkill", "/f", "/im", "notepad.exe"], env=console.env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    process.wait(timeout=60)
    harness.wait_until(lambda: not shown(console, "Notepad"), 30, "Notepad to close")
    return seconds


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, help="the Windows build folder")
    parser.add_argument("--work", default="/tmp/vantrel-start")
    parser.add_argument("--rounds", type=int, default=3)
    a = parser.parse_args()
    harness.setup(a.work)
    console = harness.Console(a.build, a.work, "start")
    try:
        # Warm: the first start of each in a new prefix reads everything.
        start_vantrel(console)
        start_notepad(console)
        for round_ in range(a.rounds):
            times = {"Vantrel": [], "Notepad": []}
            for _ in range(3):
                times["Vantrel"].append(start_vantrel(console))
                times["Notepad"].append(start_notepad(console))
            v, n = min(times["Vantrel"]), min(times["Notepad"])
            print(f"round {round_ + 1}: start to visible window, best of 3 (median): "
                  f"Vantrel {v:.2f} s ({statistics.median(times['Vantrel']):.2f} s), "
                  f"Notepad {n:.2f} s ({statistics.median(times['Notepad']):.2f} s), "
                  f"ratio {v / n:.2f}", flush=True)
    finally:
        console.close()
        harness.cleanup(a.work)
        shutil.rmtree(a.work, ignore_errors=True)


if __name__ == "__main__":
    main()
