#!/usr/bin/env python3
"""Times typing in the real Vantrel.exe under Xvfb and Wine: how long a
keystroke takes to show in the command box (with its suggestion worked out)
and how long a Tab takes to complete, first in an empty profile and then
with 10,000 history lines, a current folder of 20,000 files, 5,000
Start-menu shortcuts and a PATH of 50 folders; then the same for a first
word that only a fuzzy match finds. Each figure is the time from
the key sent to the box read back changed, best and median of the tries;
reading the box back costs the same in both setups, so their difference is
what the history and the lists cost.

Then the start: from starting the program to the answer of the first line
typed, in an empty profile and with a history file of a 10 MB line and
200,000 more (best of three each).

Usage: bench/typing_wine.py --build build/windows [--work /tmp/vantrel-typing]
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

HISTORY_LINES = 10_000
FOLDER_FILES = 20_000
SHORTCUTS = 5_000
PATH_FOLDERS = 50
# Real programs' names among the shortcuts, in both profiles: the words a
# fuzzy Tab finds ("vsc", "firef") and one that nothing matches.
REAL_NAMES = ("Visual Studio Code", "Mozilla Firefox", "Windows Terminal", "Notepad++",
              "Google Chrome", "VLC media player")
FUZZY_WORDS = ("vsc", "firef")
NOTHING = "qzxjw"


def fill_profile(console, full):
    """The names the Tabs complete; with full, the bulk of a long-used
    machine around them."""
    drive = console.prefix / "drive_c"
    user = next((drive / "users").glob("*/AppData/Roaming"))
    folder = drive / "many"
    folder.mkdir(exist_ok=True)
    (folder / "file23456.txt").write_bytes(b"")
    tools = drive / "paths" / "p12"
    tools.mkdir(parents=True)
    (tools / "tool1219.exe").write_bytes(b"")
    folders = ["C:\\paths\\p12"]
    menu = user / "Microsoft" / "Windows" / "Start Menu" / "Programs" / "Bench"
    menu.mkdir(parents=True, exist_ok=True)
    for name in REAL_NAMES:
        (menu / f"{name}.lnk").write_bytes(b"")
    if full:
        data = user / "Orvane" / "Vantrel"
        data.mkdir(parents=True, exist_ok=True)
        (data / "History.txt").write_bytes(b"".join(
            b"echo history line %d of the benchmark\r\n" % i for i in range(HISTORY_LINES)))
        for i in range(FOLDER_FILES):
            (folder / f"file{10000 + i}.txt").write_bytes(b"")
        for i in range(SHORTCUTS - len(REAL_NAMES)):
            (menu / f"Shortcut {1000 + i}.lnk").write_bytes(b"")
        for i in range(PATH_FOLDERS):
            path = drive / "paths" / f"p{i + 20}"
            path.mkdir(parents=True)
            for k in range(20):
                (path / f"tool{i * 100 + k + 2000}.exe").write_bytes(b"")
            folders.append(f"C:\\paths\\p{i + 20}")
    path_value = ";".join(folders + ["C:\\windows\\system32", "C:\\windows"])
    subprocess.run([WINE, "reg", "add", r"HKCU\Environment", "/v", "PATH", "/f", "/d", path_value],
                   env=console.env, check=True, timeout=120, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def until_box(console, expected, timeout=10):
    """Seconds until the command box holds expected (or, for a callable,
    until it says yes to the box's text)."""
    start = time.monotonic()
    while True:
        text = console.snapshot().command
        if (expected(text) if callable(expected) else text == expected):
            return time.monotonic() - start
        if time.monotonic() - start > timeout:
            raise harness.TestFailure(f"the box shows {text!r}")


def measure(console, label):
    console.enter_line("cdd c:\\many")
    console.click_command_box()
    keys = []
    typed = ""
    for ch in "echo history line 12":
        typed += ch
        start = time.monotonic()
        console.xdotool("type", ch)
        until_box(console, typed)
        keys.append(time.monotonic() - start)
    console.key("Escape")
    until_box(console, "")
    tabs = []
    for prefix in ("type file23456", "keepou", "tool1219"):
        for _ in range(3):
            console.xdotool("type", "--delay", "5", prefix)
            until_box(console, prefix)
            start = time.monotonic()
            console.key("Tab")
            until_box(console, lambda t, p=prefix: t != p)
            tabs.append(time.monotonic() - start)
            console.key("Escape")
            console.key("Escape")
            until_box(console, "")
    print(f"{label:>28}: keystroke {figures(keys)}; Tab {figures(tabs)}")
    measure_fuzzy(console, "in the folder")
    # A first word is also looked for among the current folder's batch
    # files and shortcuts: in a small folder that costs next to nothing.
    console.enter_line("cdd c:\\")
    measure_fuzzy(console, "in C:\\")


def figures(seconds):
    return f"best {min(seconds) * 1e3:5.1f} ms, median {statistics.median(seconds) * 1e3:5.1f} ms"


def measure_fuzzy(console, where):
    """A first word only a fuzzy match finds: each key typed, and the Tab.
    A Tab on a word that nothing matches leaves the box as it was, so a key
    typed after it is timed with it."""
    keys, tabs, nothing = [], [], []
    for word in FUZZY_WORDS * 3:
        typed = ""
        for ch in word:
            typed += ch
            start = time.monotonic()
            console.xdotool("type", ch)
            until_box(console, typed)
            keys.append(time.monotonic() - start)
        start = time.monotonic()
        console.key("Tab")
        until_box(console, lambda t, w=word: t != w)
        tabs.append(time.monotonic() - start)
        console.key("Escape")
        console.key("Escape")
        until_box(console, "")
    for _ in range(3):
        console.xdotool("type", "--delay", "5", NOTHING)
        until_box(console, NOTHING)
        start = time.monotonic()
        console.key("Tab")
        console.xdotool("type", "x")
        until_box(console, NOTHING + "x")
        nothing.append(time.monotonic() - start)
        console.key("Escape")
        console.key("Escape")
        until_box(console, "")
    print(f"{where:>28}  keystroke in {'/'.join(FUZZY_WORDS)} {figures(keys)}; fuzzy Tab "
          f"{figures(tabs)}; Tab on {NOTHING} and a key {figures(nothing)}")


def huge_history(console):
    user = next((console.prefix / "drive_c" / "users").glob("*/AppData/Roaming"))
    data = user / "Orvane" / "Vantrel"
    data.mkdir(parents=True, exist_ok=True)
    with open(data / "History.txt", "wb") as f:
        f.write(b"x" * (10 << 20) + b"\r\n")
        f.write(b"".join(b"echo old line %d\r\n" % i for i in range(200_000)))


def start_to_answer(console):
    """Seconds from starting the program to the answer of a line typed at
    once."""
    start = time.monotonic()
    process = console.start()
    console.wait_ready(timeout=120)
    console.submit("print 6*7")
    console.wait_for(lambda s: s.pane_text == "\r\n42", "the first line's answer", 60)
    seconds = time.monotonic() - start
    console.submit("exit")
    harness.wait_until(lambda: process.poll() is not None, 60, "the console to end")
    return seconds


def measure_starts(build, work):
    for label, fill in (("empty profile", None), ("10 MB line + 200,000 lines", huge_history)):
        times = []
        for attempt in range(3):
            console = harness.Console(build, work, f"start-{attempt}")
            try:
                if fill:
                    fill(console)
                times.append(start_to_answer(console))
            finally:
                console.close()
        print(f"{label:>28}: start to the first answer best {min(times):.2f} s, "
              f"median {statistics.median(times):.2f} s")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, help="the Windows build folder")
    parser.add_argument("--work", default="/tmp/vantrel-typing")
    a = parser.parse_args()
    harness.setup(a.work)
    try:
        for label, filled in (("empty profile", False), ("10,000 lines, 20,000 files", True)):
            console = harness.Console(a.build, a.work, "typing-" + str(filled))
            try:
                fill_profile(console, filled)
                console.start()
                console.wait_ready(timeout=120)
                measure(console, label)
            finally:
                console.close()
        measure_starts(a.build, a.work)
    finally:
        harness.cleanup(a.work)
        shutil.rmtree(a.work, ignore_errors=True)


if __name__ == "__main__":
    main()
