#!/usr/bin/env python3
"""Takes the README's pictures under Xvfb and Wine, with the same machinery
as the end-to-end tests: the bar with its output pane open, the bar docked
at the bottom edge with its pane above it, and the tray icon's menu.

  screenshot.py --build DIR --work DIR BAR.png DOCKED.png MENU.png SUGGEST.png TABS.png \
      UNICODE.png LAUNCHER.png

and, for typing, a suggestion from the history after the typed text, and
the list a second Tab shows; names and text in several scripts; and a
program found by a few letters after a misspelt one was named.
"""

import argparse
import subprocess
import sys
from pathlib import Path

# No bytecode caches in the source tree.
sys.dont_write_bytecode = True
# The end-to-end tests' machinery drives the console here too.
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))

import harness  # noqa: E402
import launcher_tests  # noqa: E402

BAR_LINES = [
    "keepoutput on",
    "set greeting=Hello from the bar",
    "print greeting",
    "print 6*7",
    "echo Output shows in this pane; Esc closes it.",
]
UNICODE_LINES = [
    "cls",
    "cd c:\\Ελληνικά",
    "dir",
    "type 日本語.txt",
    'print Len("日本語") & " " & UCase("ελληνικά")',
]
DOCKED_LINES = [
    "cls",
    "dock bottom",
    "ver",
    "echo Docked at the bottom edge: the pane opens above the bar.",
]
# Around each picture, a margin of the screen's black.
MARGIN = 8


def crop(full, left, top, width, height, output):
    subprocess.run(["convert", str(full), "-crop", f"{width}x{height}+{left}+{top}", "+repage",
                    str(output)], check=True)


def shows_colour(console, full, colour, bottom):
    """Takes a picture into full; whether the bar's strip shows colour."""
    console.screenshot(full)
    out = subprocess.run(["convert", str(full), "-crop", f"{harness.SCREEN[0]}x{bottom}+0+0",
                          "+repage", "-fill", "black", "+opaque", colour, "-fill", "white",
                          "-opaque", colour, "-format", "%[fx:mean]", "info:"],
                         capture_output=True, text=True, check=True).stdout
    return float(out or 0) > 0


def menu_rect(console):
    """The console's visible pop-up menu window (class #32768), or None."""
    menu = console.snapshot().window("#32768")
    return menu["rect"] if menu and menu["visible"] else None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("bar")
    parser.add_argument("docked")
    parser.add_argument("menu")
    parser.add_argument("suggestion")
    parser.add_argument("tabs")
    parser.add_argument("unicode")
    parser.add_argument("launcher")
    a = parser.parse_args()

    console = None
    try:
        harness.setup(a.work)
        console = harness.Console(a.build, a.work, "screenshot")
        full = console.logs / "screenshot-full.png"
        # Started in the prefix's C: drive, the prompt reads C:\>.
        console.start(cwd=console.prefix / "drive_c")
        console.wait_ready(timeout=90)

        for line in BAR_LINES:
            console.enter_line(line)
        console.wait_for(lambda s: s.pane is not None, "the pane to open")
        console.type("help")
        snap = console.wait_for(lambda s: s.command == "help", "the typed word")
        console.screenshot(full)
        crop(full, 0, 0, harness.SCREEN[0], snap.pane["rect"][3] + MARGIN, a.bar)
        # Esc with text in the box only clears the box.
        console.key("Escape")
        console.wait_for(lambda s: s.command == "", "the box cleared")

        # The suggestion: an earlier line that begins with the typed text.
        console.type("print 6")
        snap = console.wait_for(lambda s: s.command == "print 6", "the typed prefix")
        bottom = snap.bar["rect"][3]
        harness.wait_until(lambda: shows_colour(console, full, "#606060", bottom), 30,
                           "the suggestion painted")
        crop(full, 0, 0, 640, bottom + MARGIN, a.suggestion)
        console.key("Escape")
        console.wait_for(lambda s: s.command == "", "the box cleared")

        # Tab completes the common beginning; a second Tab lists the names.
        console.type("dir pro")
        console.wait_for(lambda s: s.command == "dir pro", "the typed prefix")
        console.key("Tab")
        console.wait_for(lambda s: s.command != "dir pro", "Tab to complete")
        console.key("Tab")
        snap = console.wait_for(lambda s: "ProgramData" in (s.pane_text or ""), "the list")
        console.screenshot(full)
        crop(full, 0, 0, harness.SCREEN[0], snap.pane["rect"][3] + MARGIN, a.tabs)
        console.key("Escape")
        console.wait_for(lambda s: s.command == "dir pro", "Esc to put back the typed text")
        console.key("Escape")
        console.wait_for(lambda s: s.command == "", "the box cleared")

        # A misspelt program is named; a few letters and Tab find it.
        launcher_tests.make_shortcuts(console, ["Visual Studio Code"])
        console.enter_line("cls")
        console.enter_line("vscod")
        console.wait_for(lambda s: "Did you mean" in (s.pane_text or ""), "the suggestion")
        console.type("vsc")
        console.key("Tab")
        snap = console.wait_for(lambda s: "Visual Studio Code.lnk" in s.command, "Tab on vsc")
        console.screenshot(full)
        crop(full, 0, 0, harness.SCREEN[0], snap.pane["rect"][3] + MARGIN, a.launcher)
        console.key("Escape")
        console.key("Escape")
        console.wait_for(lambda s: s.command == "", "the box cleared")

        folder = console.prefix / "drive_c" / "Ελληνικά"
        folder.mkdir()
        (folder / "日本語.txt").write_bytes("Grüße, 日本語, Ελληνικά, Тест\r\n".encode("utf-8"))
        (folder / "Тест.txt").write_bytes(b"")
        for line in UNICODE_LINES:
            console.enter_line(line)
        snap = console.wait_for(lambda s: "ΕΛΛΗΝΙΚΆ" in (s.pane_text or ""), "the script's answer")
        console.type("echo 한국어")
        snap = console.wait_for(lambda s: s.command == "echo 한국어", "the typed line")
        console.screenshot(full)
        crop(full, 0, 0, 720, snap.pane["rect"][3] + MARGIN, a.unicode)
        console.key("Escape")
        console.wait_for(lambda s: s.command == "", "the box cleared")

        for line in DOCKED_LINES:
            console.enter_line(line)
        snap = console.wait_for(lambda s: s.pane is not None and s.bar["rect"][1] > 600 and
                                "Docked at the bottom" in (s.pane_text or ""),
                                "the pane above the docked bar")
        top = max(snap.pane["rect"][1] - MARGIN, 0)
        console.screenshot(full)
        crop(full, 0, top, harness.SCREEN[0], harness.SCREEN[1] - top, a.docked)

        tray = harness.wait_until(console.tray_window, 30, "the tray icon")
        console.xdotool("mousemove", "--window", tray, "8", "8", "click", "3")
        left, top, right, bottom = harness.wait_until(lambda: menu_rect(console), 30,
                                                      "the tray menu")
        console.screenshot(full)
        left, top = max(left - MARGIN, 0), max(top - MARGIN, 0)
        crop(full, left, top, right - left + MARGIN, bottom - top + MARGIN, a.menu)
    finally:
        if console:
            console.close()
        harness.cleanup(a.work)
    print(f"wrote {a.bar}, {a.docked}, {a.menu}, {a.suggestion}, {a.tabs}, {a.unicode} and "
          f"{a.launcher}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
