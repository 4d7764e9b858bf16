"""End-to-end tests of the bar's placement and tray, the window and process
commands, synthesised input and the focus hotkey."""

import re
import subprocess

from harness import WINE, expect, expect_equal, pane_closed, pane_shows, wait_until

BAR_HEIGHT = 17


def start_notepad(c):
    """Starts Wine's notepad in the console's prefix as a window to act on."""
    log = open(c.logs / f"{c.name}.notepad.log", "a")
    p = subprocess.Popen([WINE, "notepad"], env=c.env, stdout=log, stderr=subprocess.STDOUT,
                         stdin=subprocess.DEVNULL)
    c.processes.append(p)

    # Typing starts only once the new window has taken the focus it takes.
    def shown():
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Untitled - Notepad"],
                             env=c.env, capture_output=True, text=True, timeout=30)
        return out.returncode == 0 and out.stdout.strip()
    wait_until(shown, 60, "the notepad window")
    return p


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


def notepad_pid(c):
    """The pid WINS lists for the notepad window, once it is there."""
    def listed():
        m = re.search(r"^ {0,5}(\d{1,6}) \| Untitled - Notepad$", wins_listing(c, "notepad"),
                      re.M)
        return m and int(m.group(1))
    return wait_until(listed, 60, "WINS to list the notepad window")


def test_dock_bottom_puts_the_bar_at_the_bottom_and_the_pane_above(c):
    c.start()
    c.wait_ready()
    c.enter_line("dock bottom")
    # The shell grants the rectangle: at the bottom of its work area, which
    # Wine may end a pixel above the screen's edge.
    snap = c.wait_for(lambda s: s.bar["rect"][1] >= 720 - BAR_HEIGHT - 2 and
                      s.bar["rect"][3] - s.bar["rect"][1] == BAR_HEIGHT, "the bar at the bottom")
    bar = snap.bar["rect"]
    expect_equal([bar[0], bar[2]], [0, 1280], "the bar's full width")
    c.enter_line("print 1")
    snap = pane_shows(c, "\r\n1")
    expect_equal(snap.pane["rect"], [0, bar[1] - 2 * 15 - 2, 1280, bar[1]],
                 "a two-line pane above the bar")


def test_dock_off_floats_the_bar_at_winpos(c):
    c.start()
    c.wait_ready()
    c.enter_line("winpos 100 200 800")
    c.enter_line("dock off")
    c.wait_for(lambda s: s.bar["rect"] == [100, 200, 900, 200 + BAR_HEIGHT], "the floating bar")
    c.enter_line("winpos")
    pane_shows(c, "\r\nUndocked position: 100, 200\r\nUndocked width: 800")


def test_hide_then_show(c):
    p = c.start()
    c.wait_ready()
    c.enter_line("hide")
    c.wait_for(lambda s: s.bar and not s.bar["visible"], "the bar to hide")
    # The hidden bar takes no keys; the tray icon's double click shows it.
    out = wait_until(lambda: c.tray_window(), 30, "the tray window")
    c.xdotool("mousemove", "--window", out, "8", "8", "click", "--repeat", "2", "1")
    c.wait_for(lambda s: s.bar and s.bar["visible"], "a double click on the icon to show it")
    c.enter_line("hide|show")
    snap = c.wait_for(lambda s: s.bar["visible"], "SHOW to show it again")
    expect_equal(snap.bar["rect"], [0, 0, 1280, BAR_HEIGHT], "the bar docked at the top again")
    expect(p.poll() is None, "the console still runs")


def test_ver_prints_two_lines(c):
    c.start()
    c.wait_ready()
    c.enter_line("ver")
    pane_shows(c, "\r\nOrvane Vantrel v0.00\r\nEnter UPDATE to check for newer versions")


def test_sendkeys_types_into_the_command_box(c):
    c.start()
    c.wait_ready()
    # The keys arrive once the line has run and emptied the box.
    c.submit("sendkeys hello+1")
    c.wait_for(lambda s: s.command == "hello!", "the keys in the command box")


def test_mouse_moves_the_cursor(c):
    c.start()
    c.wait_ready()
    c.enter_line("mouse 10 20")

    def at():
        out = subprocess.run(["xdotool", "getmouselocation"], env=c.env, capture_output=True,
                             text=True, timeout=30).stdout
        return out.startswith("x:10 y:20 ")
    wait_until(at, 30, "the cursor at 10, 20")


def test_wins_focus_close_and_kill_by_title_and_pid(c):
    c.start()
    c.wait_ready()
    pad = start_notepad(c)
    notepad_pid(c)
    c.enter_line("close NOTEPAD")
    wait_until(lambda: pad.poll() is not None, 30, "CLOSE by title to end notepad")
    pad = start_notepad(c)
    pid = notepad_pid(c)
    c.enter_line(f"close {pid}")
    wait_until(lambda: pad.poll() is not None, 30, "CLOSE by pid to end notepad")
    pad = start_notepad(c)
    notepad_pid(c)
    c.enter_line("kill untitled - notepad")
    wait_until(lambda: pad.poll() is not None, 30, "KILL by title to end notepad")
    pad = start_notepad(c)
    pid = notepad_pid(c)
    c.enter_line(f"kill {pid}")
    wait_until(lambda: pad.poll() is not None, 30, "KILL by pid to end notepad")
    # FOCUS last: the raised window keeps the keyboard from then on.
    start_notepad(c)
    bar = c.snapshot().bar["hwnd"]
    c.enter_line("focus untitled")
    c.wait_for(lambda s: s.data["foreground"] != bar, "FOCUS to raise notepad over the bar")


def test_right_click_on_the_tray_icon_pops_up_the_menu(c):
    c.start()
    c.wait_ready()
    tray = wait_until(c.tray_window, 30, "the tray icon")
    c.xdotool("mousemove", "--window", tray, "8", "8", "click", "3")
    c.wait_for(lambda s: any(w["class"] == "#32768" and w["visible"] for w in s.windows),
               "the tray menu")


def test_focus_hotkey_brings_the_bar_forward(c):
    c.start()
    bar = c.wait_ready().bar["hwnd"]
    start_notepad(c)
    c.wait_for(lambda s: s.data["foreground"] != bar, "notepad in the foreground")
    # Held down: the hotkey is polled at every tick, not caught as an event.
    c.xdotool("keydown", "Control_R")
    try:
        c.wait_for(lambda s: s.data["foreground"] == bar,
                   "the right Ctrl key to bring the bar forward")
    finally:
        c.xdotool("keyup", "Control_R")
