"""End-to-end tests of the bar's placement and tray, the window and process
commands, synthesised input and the focus hotkey."""

import contextlib
import re
import subprocess
import time

from harness import (POLL, TestFailure, expect_equal, pane_closed, pane_shows,
                     record_opened_addresses, start_notepad, wait_until)

BAR_HEIGHT = 17
MFT_SEPARATOR, MFS_CHECKED = 0x800, 0x8
WINS_HEADER = "\r\n  PID  |" + " " * 30 + "Window title\r\n" + "-" * 7 + "|" + "-" * 72 + "\r\n"


def wins_listing(c, title):
    """Runs WINS title and returns the listing it shows. The pane is closed
    first: a new line clears the old pane only at the next tick, so the
    previous listing could otherwise pass for this one."""
    c.enter_line("cls")
    pane_closed(c)
    c.enter_line(f"wins {title}")
    return c.wait_for(lambda s: (s.pane_text or "").startswith(WINS_HEADER),
                      "the WINS listing").pane_text


def notepad_pids(c, count=1):
    """The pids WINS lists for notepad windows, once there are count of them."""
    seen = []

    def listed():
        seen[:] = [wins_listing(c, "notepad")]
        pids = {int(p) for p in re.findall(r"^ {0,5}(\d{1,6}) \| Untitled - Notepad\r?$", seen[0],
                                           re.M)}
        return len(pids) == count and pids
    try:
        return wait_until(listed, 60, f"WINS to list {count} notepad window(s)")
    except TestFailure as e:
        raise TestFailure(f"{e}; the last listing: {seen!r}") from None


def stays(c, predicate, seconds, what):
    """Watches that predicate(snapshot) holds for the given time. Something
    that must not happen can only be watched for a while; the focus hotkey
    is looked at every 25 ms, so a few seconds are a hundred chances."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        snap = c.snapshot()
        if not predicate(snap):
            raise TestFailure(f"{what} did not hold")
        time.sleep(POLL)


@contextlib.contextmanager
def hold_keys(c, keys):
    """Holds the keys down for a with-block; they are let go at its end."""
    for k in keys:
        c.xdotool("keydown", k)
    try:
        yield
    finally:
        for k in reversed(keys):
            c.xdotool("keyup", k)


def test_f5_sendkeys_mouse_wins_focus_close_kill_by_title_and_pid_and_the_focus_hotkey(c):
    opened = record_opened_addresses(c)
    bar = c.launch().bar["hwnd"]
    c.type("example")
    c.key("F5")
    wait_until(lambda: opened.exists() and opened.read_bytes().endswith(b"\r\n"), 60,
               "the address to be opened")
    expect_equal(opened.read_bytes(), b"http://www.example.com\r\n", "the address opened")
    c.press("Escape", "", "Esc to empty the box")

    # The keys arrive once the line has run and emptied the box.
    c.submit("sendkeys hello+1")
    c.wait_command("hello!", "the keys in the command box")
    c.key("Escape")
    c.enter_line("mouse 10 20")

    def at():
        out = subprocess.run(["xdotool", "getmouselocation"], env=c.env, capture_output=True,
                             text=True, timeout=30).stdout
        return out.startswith("x:10 y:20 ")
    wait_until(at, 30, "the cursor at 10, 20")

    for command, target in (("close", "NOTEPAD"), ("close", None),
                            ("kill", "untitled - notepad"), ("kill", None)):
        pad = start_notepad(c)
        pid = notepad_pids(c).pop()
        c.enter_line(f"{command} {target or pid}")
        wait_until(lambda: pad.poll() is not None, 30,
                   f"{command.upper()} by {'title' if target else 'pid'} to end notepad")
    # FOCUS last: the raised window keeps the keyboard from then on. Two
    # notepads of the same title: by title the one on top is raised, by pid
    # the one named, though it lies below the other.
    start_notepad(c)
    first = notepad_pids(c).pop()
    start_notepad(c)
    second = (notepad_pids(c, 2) - {first}).pop()
    c.enter_line("focus untitled")
    c.wait_for(lambda s: s.data["foreground_pid"] == second,
               "FOCUS by title to raise the notepad on top")
    c.enter_line(f"focus {first}")
    c.wait_for(lambda s: s.data["foreground_pid"] == first and
               s.data["foreground_title"] == "Untitled - Notepad",
               "FOCUS by pid to raise the other notepad")

    # The focus hotkey brings the bar forward from the raised notepad.
    # Held down: the hotkey is polled at every tick, not caught as an event.
    with hold_keys(c, ["Control_R"]):
        c.wait_for(lambda s: s.data["foreground"] == bar,
                   "the right Ctrl key to bring the bar forward")

    c.enter_line("set FocusKey=A2")
    c.enter_line("focus untitled")
    c.wait_for(lambda s: s.data["foreground"] != bar, "notepad in the foreground")
    # Another key does nothing. (Not the right Ctrl key: Wine reports both
    # Ctrl keys down while either is.)
    with hold_keys(c, ["Shift_R"]):
        stays(c, lambda s: s.data["foreground"] != bar, 3, "notepad in the foreground")
    with hold_keys(c, ["Control_L"]):
        c.wait_for(lambda s: s.data["foreground"] == bar,
                   "the left Ctrl key (FocusKey A2) to bring the bar forward")

    # No FocusKey, or one that is no hexadecimal number: no key brings it
    # forward.
    for setting in ["set FocusKey=", "set FocusKey=zz"]:
        c.enter_line(setting)
        c.enter_line("focus untitled")
        c.wait_for(lambda s: s.data["foreground"] != bar, "notepad in the foreground again")
        with hold_keys(c, ["Control_L", "Control_R"]):
            stays(c, lambda s: s.data["foreground"] != bar, 3,
                  f"notepad in the foreground after {setting}")

    # The hidden bar stays hidden while the key is held.
    c.enter_line("set FocusKey=A3")
    c.enter_line("hide")
    c.wait_for(lambda s: not s.bar["visible"], "the bar to hide")
    with hold_keys(c, ["Control_R"]):
        stays(c, lambda s: not s.bar["visible"] and s.data["foreground"] != bar, 3,
              "the hidden bar out of sight")


def tray_menu_items(visible, dock_state):
    """The tray menu as (depth, text, checked); "-" is a separator."""
    docking = [(1, text, dock_state == n)
               for n, text in enumerate(("Dock to &top", "Dock to &bottom", "&Undock"))]
    return [(0, "&Visible", visible), (0, "&Docking", False), *docking,
            (0, "&Save position", False), (0, "-", False), (0, "Edit &Autoexec.dcb", False),
            (0, "-", False), (0, "E&xit", False)]


def menu_items(text):
    """The probe's menu lines "depth<TAB>type<TAB>state<TAB>text" as
    tray_menu_items gives them."""
    rows = [line.split("\t", 3) for line in text.splitlines()]
    return [(int(d), "-" if int(kind) & MFT_SEPARATOR else label, bool(int(state) & MFS_CHECKED))
            for d, kind, state, label in rows]


def shown_menu(snap):
    menus = [w for w in snap.windows if w["class"] == "#32768" and w["visible"]]
    return menus[0] if menus else None


def pop_up_tray_menu(c):
    """Right-clicks the tray icon; returns the items of the menu it shows.
    The notification area sits under the top of the screen, where an open
    pane would take the click, so the pane is closed first."""
    if c.snapshot().pane:
        c.enter_line("cls")
        pane_closed(c)
    tray = wait_until(c.tray_window, 30, "the tray icon")
    c.xdotool("mousemove", "--window", tray, "8", "8", "click", "3")
    snap = c.wait_for(lambda s: shown_menu(s) and shown_menu(s).get("menu"), "the tray menu")
    return menu_items(shown_menu(snap)["menu"])


def check_tray_menu(c, visible, dock_state, what):
    expect_equal(pop_up_tray_menu(c), tray_menu_items(visible, dock_state), what)
    c.key("Escape")
    c.wait_for(lambda s: not shown_menu(s), "Escape to close the menu")


def test_dock_float_hide_and_show_move_the_bar_and_the_tray_menu_follows(c):
    c.launch()
    # The welcome pane of a first start opens a tick after the prompt, over
    # the tray icon: wait for it, so that the first click does not race it.
    c.wait_for(lambda s: s.pane, "the welcome text of a first start", timeout=90)
    check_tray_menu(c, True, 0, "the menu docked at the top")

    c.enter_line("dock bottom")
    # The shell grants the rectangle: at the bottom of its work area, which
    # Wine may end a pixel above the screen's edge.
    snap = c.wait_for(lambda s: s.bar["rect"][1] >= 720 - BAR_HEIGHT - 2 and
                      s.bar["rect"][3] - s.bar["rect"][1] == BAR_HEIGHT, "the bar at the bottom")
    bar = snap.bar["rect"]
    expect_equal([bar[0], bar[2]], [0, 1280], "the bar's full width")
    snap = pane_shows(c, "\r\n1", after="print 1")
    expect_equal(snap.pane["rect"], [0, bar[1] - 2 * 15 - 2, 1280, bar[1]],
                 "a two-line pane above the bar")
    check_tray_menu(c, True, 1, "the menu docked at the bottom")

    floating = [100, 200, 900, 200 + BAR_HEIGHT]
    c.enter_line("winpos 100 200 800")
    c.enter_line("dock off")
    c.wait_for(lambda s: s.bar["rect"] == floating, "the floating bar")
    pane_shows(c, "\r\nUndocked position: 100, 200\r\nUndocked width: 800", after="winpos")
    check_tray_menu(c, True, 2, "the menu undocked")

    c.enter_line("hide")
    c.wait_for(lambda s: not s.bar["visible"], "the bar to hide")
    check_tray_menu(c, False, 2, "the menu of the hidden bar")
    # The hidden bar takes no keys; the tray icon's double click shows it.
    out = wait_until(c.tray_window, 30, "the tray window")
    c.xdotool("mousemove", "--window", out, "8", "8", "click", "--repeat", "2", "1")
    c.wait_for(lambda s: s.bar and s.bar["visible"], "a double click on the icon to show it")
    c.enter_line("hide|show")
    snap = c.wait_for(lambda s: s.bar["visible"], "SHOW to show it again")
    expect_equal(snap.bar["rect"], floating, "the bar back where it floated")
