"""The end-to-end tests: each function gets a fresh Console in its own prefix."""

from pathlib import Path

from harness import expect, expect_equal, pane_closed, pane_shows, wait_until
from busy_tests import *  # noqa: F401,F403 (long work: answering, stopping, waiting)
from dialog_tests import *  # noqa: F401,F403 (a script's message and input boxes)
from file_tests import *  # noqa: F401,F403 (the file and batch-file tests)
from hand_over_tests import *  # noqa: F401,F403 (a second start hands over its line)
from installer_tests import *  # noqa: F401,F403 (the per-user installer)
from launcher_tests import *  # noqa: F401,F403 (Start-menu shortcuts, fuzzy words, use)
from link_guard_tests import *  # noqa: F401,F403 (penalties, the transcript, LinkCommands)
from long_name_tests import *  # noqa: F401,F403 (names of any length and any bytes)
from remote_tests import *  # noqa: F401,F403 (the remote console tests)
from secure_link_tests import *  # noqa: F401,F403 (the encrypted link, its keys, a relay)
from script_object_tests import *  # noqa: F401,F403 (scripts and COM objects)
from scale_tests import *  # noqa: F401,F403 (the bar and the pane on scaled screens)
from summon_tests import *  # noqa: F401,F403 (focus and summon keys, AutoHide, the box's limit)
from typing_tests import *  # noqa: F401,F403 (history, suggestion, search, Tab completion)
from unicode_tests import *  # noqa: F401,F403 (any script; legacy files and peers)
from window_tests import *  # noqa: F401,F403 (placement, tray, windows, input, keys)

WELCOME = "\r\n".join([
    "You are seeing this message because this is the first time you have launched VTRL.",
    "",
    "Most basic file management commands, such as CD and COPY, work similarly to the MS-DOS "
    "equivalents.",
    "Enter HELP to view VTRL's documentation.  We recommend reading the \"Getting started\" "
    "section.",
    "",
    "If you like VTRL, please donate to Orvane.  Enter DONATE to go to our donation page.",
])

DIST = Path(__file__).resolve().parent.parent / "dist"
ENTER_BUTTON = 1  # IDOK
BAR_HEIGHT = 17


def test_first_start_welcomes_and_copies_samples_a_second_ends_at_once_savepos_outlasts_exit(c):
    p = c.start()
    snap = pane_shows(c, WELCOME, "the six welcome lines", timeout=90)
    expect_equal(snap.bar["rect"], [0, 0, 1280, BAR_HEIGHT], "bar rectangle")
    expect(snap.bar["topmost"], "the bar is always on top")
    expect_equal(snap.pane["rect"], [0, BAR_HEIGHT, 1280, BAR_HEIGHT + 6 * 15 + 2], "pane rectangle")
    autoexec = c.shortcuts / "Autoexec.dcb"
    expect(autoexec.is_file(), f"{autoexec} exists")
    expect_equal(autoexec.read_bytes(), b"", "Autoexec.dcb content")
    samples = sorted((DIST / "Sample Shortcuts").iterdir())
    expect(samples, "the shipped samples")
    for sample in samples:
        copied = c.shortcuts / sample.name
        expect(copied.is_file(), f"{sample.name} copied into the shortcut folder")
        expect_equal(copied.read_bytes(), sample.read_bytes(), f"{sample.name} content")

    second = c.start()
    wait_until(lambda: second.poll() is not None, 60, "the second instance to end")
    expect_equal(second.returncode, 0, "exit code of the second instance")
    snap = c.snapshot()
    expect_equal(len(snap.pids), 1, "running consoles")
    expect_equal(len([w for w in snap.windows if w["class"] == "VantrelMain"]), 1, "bars")

    autoexec.write_bytes(b"set keep=1\r\nDock top\r\nwinpos 5 5 800\r\n")
    c.enter_line("dock bottom")
    c.enter_line("savepos")
    wait_until(lambda: autoexec.read_bytes() == b"dock bottom\r\nset keep=1\r\n", 30,
               "SAVEPOS to rewrite Autoexec.dcb")
    leftovers = sorted(f.name for f in c.shortcuts.iterdir() if f.name.lower().endswith(".tmp"))
    expect_equal(leftovers, [], "temporary files left in the shortcut folder")

    (c.shortcuts / samples[0].name).unlink()
    wait_until(c.tray_window, 30, "the tray icon")
    c.exit(p)
    wait_until(lambda: not c.tray_window(), 30, "the tray icon to go")
    expect_equal(c.snapshot().pids, [], "running consoles")

    # A second start copies nothing again and starts where SAVEPOS left it:
    # in the lower half of the 720-pixel screen (the row is the shell's).
    c.start()
    c.wait_for(lambda s: s.bar and s.bar["rect"][1] > 360, "the bar docked at the bottom", 60)
    # Output kept with "&": a welcome text shown at start would stay above.
    c.enter_line("&print keep")
    pane_shows(c, "1", "only the new output of Autoexec.dcb's own variable, no welcome text")
    expect(not (c.shortcuts / samples[0].name).exists(), "no samples copied on a second start")


def test_the_pane_shows_recalls_clears_and_closes_as_typed(c):
    snap = c.launch()
    left, top, right, bottom = snap.control(101)["rect"]
    # The bottom row of the prompt's first character cell lies below the glyph.
    x, y = left + 1, bottom - 1
    wait_until(lambda: c.pixel(x, y) == (0, 0, 0), 30, "the default black prompt background")
    expect(snap.control(ENTER_BUTTON)["rect"][2] <= 0, "the Enter button starts out of sight")

    snap = pane_shows(c, "\r\n5", after="print 2+3")
    expect_equal(snap.pane["rect"], [0, BAR_HEIGHT, 1280, BAR_HEIGHT + 2 * 15 + 2],
                 "a two-line pane below the bar")
    c.enter_line("set x=5")
    pane_shows(c, "\r\n10", after="print `x`*2")
    c.enter_line("ver")
    pane_shows(c, "\r\nOrvane Vantrel v0.00\r\nEnter UPDATE to check for newer versions")

    c.click_command_box()
    c.press("Up", "ver", "Up to recall the line")
    c.press("Down", "", "Down past the newest entry to empty the box")

    pane_shows(c, "\r\n1", after="print 1")
    c.type("abc")
    c.press("Escape", "", "Esc to clear the command box")
    # The pane stayed open: kept output is added below its text.
    pane_shows(c, "\r\n1\r\n2", "the pane kept by Esc on a non-empty box", after="&print 2")
    c.click_command_box()
    c.key("Escape")
    pane_closed(c, "Esc on the empty box to close the pane")

    snap = pane_shows(c, "\r\n1", after="print 1")
    left, top, right, bottom = snap.pane["rect"]
    box = snap.pane["children"][0]["hwnd"]
    c.xdotool("mousemove", str((left + right) // 2), str((top + bottom) // 2), "click", "1")
    c.wait_for(lambda s: s.data["focus"] == box, "the pane to have the focus")
    c.key("Escape")
    pane_closed(c, "Esc in the pane to close it")
    command_box = snap.control(102)["hwnd"]
    c.wait_for(lambda s: s.data["focus"] == command_box, "the focus back in the command box")

    pane_shows(c, "\r\n1", after="print 1")
    c.enter_line("dir|cls")
    pane_closed(c)
    # Kept output would sit above this if the listing had reached the pane.
    pane_shows(c, "2", "only the new output after the cleared pane", after="&print 2")

    c.enter_line("set OutputMaxSize=2")
    snap = pane_shows(c, "\r\n1\r\n2\r\n3", after="print 1|print 2|print 3")
    expect_equal(snap.pane["rect"], [0, BAR_HEIGHT, 1280, BAR_HEIGHT + 2 * 15 + 2],
                 "a pane of two lines at most")
    c.enter_line("cls")
    c.enter_line("keepoutput on")
    pane_shows(c, "2", after="print 2")
    pane_shows(c, "2\r\n3", "KEEPOUTPUT to keep the earlier output", after="print 3")

    c.enter_line("colour prompt bg red")
    wait_until(lambda: c.pixel(x, y) == (255, 0, 0), 30, "a red prompt background")
    c.enter_line("enterbutton on")
    snap = c.wait_for(lambda s: s.control(ENTER_BUTTON)["rect"][0] == 1280 - 53,
                      "the Enter button at the right end")
    expect_equal(snap.control(ENTER_BUTTON)["rect"], [1227, 1, 1280, 16], "Enter button")
    expect_equal(snap.control(102)["rect"][2], 1227, "command box right edge")


TESTS = {name[len("test_"):]: fn for name, fn in globals().items() if name.startswith("test_")}
