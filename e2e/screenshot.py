#!/usr/bin/env python3
"""Takes the README's picture of the bar with its output pane open, under
Xvfb and Wine, with the same machinery as the end-to-end tests.

  screenshot.py --build DIR --work DIR OUTPUT.png
"""

import argparse
import subprocess
import sys

# No bytecode caches in the source tree.
sys.dont_write_bytecode = True

import harness  # noqa: E402

LINES = [
    "keepoutput on",
    "set greeting=Hello from the bar",
    "print greeting",
    "print 6*7",
    "echo Output shows in this pane; Esc closes it.",
]
# Below the pane, a margin of the screen's black.
MARGIN = 8


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("output")
    a = parser.parse_args()

    console = None
    try:
        harness.setup(a.work)
        console = harness.Console(a.build, a.work, "screenshot")
        # Started in the prefix's C: drive, the prompt reads C:\>.
        console.start(cwd=console.prefix / "drive_c")
        console.wait_ready(timeout=90)
        for line in LINES:
            console.enter_line(line)
        console.wait_for(lambda s: s.pane is not None, "the pane to open")
        console.type("help")
        snap = console.wait_for(lambda s: s.command == "help", "the typed word")
        height = snap.pane["rect"][3] + MARGIN
        full = console.logs / "screenshot-full.png"
        console.screenshot(full)
        subprocess.run(["convert", str(full), "-crop", f"{harness.SCREEN[0]}x{height}+0+0",
                        "+repage", a.output], check=True)
    finally:
        if console:
            console.close()
        harness.cleanup(a.work)
    print(f"wrote {a.output}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
