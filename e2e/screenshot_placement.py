#!/usr/bin/env python3
"""Takes the README's placement pictures under Xvfb and Wine: the bar docked
at the bottom edge with its pane open above it, and the tray icon's menu.

  screenshot_placement.py --build DIR --work DIR DOCKED.png MENU.png
"""

import argparse
import subprocess
import sys

# No bytecode caches in the source tree.
sys.dont_write_bytecode = True

import harness  # noqa: E402

LINES = [
    "keepoutput on",
    "dock bottom",
    "ver",
    "echo Docked at the bottom edge: the pane opens above the bar.",
]
# Above the pane, a margin of the screen's black.
MARGIN = 8


def menu_rect(console):
    """The console's visible pop-up menu window (class #32768), or None."""
    menu = console.snapshot().window("#32768")
    return menu["rect"] if menu and menu["visible"] else None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("docked")
    parser.add_argument("menu")
    a = parser.parse_args()

    console = None
    try:
        harness.setup(a.work)
        console = harness.Console(a.build, a.work, "screenshot-placement")
        console.start(cwd=console.prefix / "drive_c")
        console.wait_ready(timeout=90)
        for line in LINES:
            console.enter_line(line)
        snap = console.wait_for(lambda s: s.pane is not None and s.bar["rect"][1] > 600,
                                "the pane above the docked bar")
        top = max(snap.pane["rect"][1] - MARGIN, 0)
        full = console.logs / "placement-full.png"
        console.screenshot(full)
        height = harness.SCREEN[1] - top
        subprocess.run(["convert", str(full), "-crop", f"{harness.SCREEN[0]}x{height}+0+{top}",
                        "+repage", a.docked], check=True)

        tray = harness.wait_until(console.tray_window, 30, "the tray icon")
        console.xdotool("mousemove", "--window", tray, "8", "8", "click", "3")
        left, top, right, bottom = harness.wait_until(lambda: menu_rect(console), 30,
                                                      "the tray menu")
        console.screenshot(full)
        left, top = max(left - MARGIN, 0), max(top - MARGIN, 0)
        width, height = right - left + MARGIN, bottom - top + MARGIN
        subprocess.run(["convert", str(full), "-crop", f"{width}x{height}+{left}+{top}",
                        "+repage", a.menu], check=True)
    finally:
        if console:
            console.close()
        harness.cleanup(a.work)
    print(f"wrote {a.docked} and {a.menu}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
