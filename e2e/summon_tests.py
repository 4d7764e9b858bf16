"""End-to-end tests of reaching the bar from anywhere: the focus hotkey,
the summon key (shown and hidden, a taken combination reported), AutoHide,
and the command box's own limit for a pasted line."""

import subprocess

from busy_tests import stop_with_esc
from harness import expect, pane_holds, start_notepad
from window_tests import hold_keys, stays

SUMMON = "ctrl+alt+space"  # SummonKey's default, as xdotool names it


def notepad_in_front(s):
    return "Notepad" in (s.data["foreground_title"] or "")


def click_notepad(c):
    """Clicks the middle of Notepad's window, as a user going back to it."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Untitled - Notepad"],
                           env=c.env, capture_output=True, text=True, timeout=30).stdout.split()
    expect(found, "Notepad's window found")
    geometry = dict(line.split("=") for line in subprocess.run(
        ["xdotool", "getwindowgeometry", "--shell", found[0]], env=c.env, capture_output=True,
        text=True, timeout=30).stdout.split())
    x = int(geometry["X"]) + int(geometry["WIDTH"]) // 2
    y = int(geometry["Y"]) + int(geometry["HEIGHT"]) // 2
    c.xdotool("mousemove", str(x), str(y), "click", "1")


def test_focus_key_once_per_press_summon_key_comes_and_goes_and_auto_hide(c):
    bar = c.launch().bar["hwnd"]
    c.enter_line("set FocusKeyDel=1")
    start_notepad(c)
    c.type("hello world")
    click_notepad(c)
    c.wait_for(notepad_in_front, "Notepad in front")

    # Held for a second, the focus key brings the bar forward once: its
    # Backspace goes to Notepad, never again into the box.
    with hold_keys(c, ["Control_R"]):
        c.wait_for(lambda s: s.data["foreground"] == bar, "right Ctrl to bring the bar forward")
        stays(c, lambda s: s.command in ("hello world", "hello worl"), 1,
              "the box's text while the key is held")
    # Pressed again on the bar in front, it gives Notepad the focus back.
    with hold_keys(c, ["Control_R"]):
        c.wait_for(notepad_in_front, "a second press to give Notepad the focus back")
    expect(c.snapshot().command in ("hello world", "hello worl"), "the box's text kept")

    # The summon key shows a hidden bar and brings it forward; pressed on the
    # bar in front it hides the bar and gives the focus back.
    c.click_command_box()
    c.key("ctrl+a")
    c.key("BackSpace")
    c.enter_line("hide")
    click_notepad(c)
    c.wait_for(lambda s: not s.bar["visible"] and notepad_in_front(s), "the bar hidden")
    c.key(SUMMON)
    c.wait_for(lambda s: s.bar["visible"] and s.data["foreground"] == bar,
               "the summon key to show the hidden bar in front")
    c.key(SUMMON)
    c.wait_for(lambda s: not s.bar["visible"] and notepad_in_front(s),
               "the summon key again to hide the bar and give Notepad the focus back")

    # AutoHide: a bar the summon key showed hides when Notepad is clicked.
    c.key(SUMMON)
    c.wait_for(lambda s: s.bar["visible"] and s.data["foreground"] == bar, "the bar summoned")
    c.enter_line("set AutoHide=1")
    # Its own pane taking the focus does not count.
    c.enter_line("echo pane-text")
    left, top, right, bottom = c.wait_for(lambda s: s.pane, "the pane").pane["rect"]
    c.xdotool("mousemove", str((left + right) // 2), str((top + bottom) // 2), "click", "1")
    stays(c, lambda s: s.bar["visible"], 1, "the bar while its pane is clicked")
    click_notepad(c)
    c.wait_for(lambda s: not s.bar["visible"], "AutoHide to hide the bar once Notepad is clicked")
    c.key(SUMMON)
    c.wait_for(lambda s: s.bar["visible"] and s.data["foreground"] == bar, "the bar summoned again")

    # While a line runs, the summon key still hides and shows the bar.
    c.enter_line("set AutoHide=0")
    c.submit("vb do:loop")
    c.key(SUMMON)
    c.wait_for(lambda s: not s.bar["visible"], "the summon key to hide the bar while a line runs")
    # Back in Notepad, as a user would be. (Without a window manager, the
    # X keyboard focus follows a click, not the focus given back.)
    click_notepad(c)
    c.wait_for(notepad_in_front, "Notepad in front while the line runs")
    c.key(SUMMON)
    c.wait_for(lambda s: s.bar["visible"] and s.data["foreground"] == bar and
               s.command == "vb do:loop", "the summon key to show it again, the line still running")
    c.click_command_box()
    stop_with_esc(c, "the endless script")

    # A combination another program holds is reported, naming the setting.
    expect(c.ask_probe("hotkey 3 75")["done"], "the probe holding Ctrl+Alt+K")
    c.enter_line("set SummonKey=Ctrl+Alt+K")
    pane_holds(c, 'SummonKey "Ctrl+Alt+K" does not work: another program holds that combination.'
               " Set SummonKey to another one", "the taken combination reported")


def test_a_pasted_line_longer_than_the_box_takes_is_cut_with_a_word(c):
    c.launch()
    c.enter_line("cls")
    expect(c.ask_probe("copy 40000")["done"], "40,000 characters on the clipboard")
    c.click_command_box()
    c.key("ctrl+v")
    c.wait_for(lambda s: len(s.command or "") == 32767, "the box to hold 32,767 characters")
    pane_holds(c, "The command box holds at most 32,767 characters: the rest was left out",
               "the cut reported")
    stays(c, lambda s: len(s.command or "") == 32767, 1, "the box's text")
