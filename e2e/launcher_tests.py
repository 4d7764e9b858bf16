"""End-to-end tests of the launcher: shortcuts made in the Start menu while
the console runs are found by the next Tab, by a word that only a fuzzy
match finds too; the one run most comes first; a word that opens nothing
names the nearest and starts nothing."""

import subprocess
import time

from harness import WINE, expect, expect_equal, wait_until

MENU = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"
TARGET = "C:\\windows\\notepad.exe"
# The program index walks PATH and the Start menu afresh once it is this
# old; a shortcut found sooner was found because the menu was watched.
INDEX_FRESH_SECONDS = 60

# Makes a shortcut for each pair of arguments: its file, its target.
MAKE_SHORTCUTS = (
    'Set shell = CreateObject("WScript.Shell")\r\n'
    "For i = 0 To WScript.Arguments.Count - 1 Step 2\r\n"
    "    Set link = shell.CreateShortcut(WScript.Arguments(i))\r\n"
    "    link.TargetPath = WScript.Arguments(i + 1)\r\n"
    "    link.Save\r\n"
    "Next\r\n")
# Writes the process id of each process of the name given, one a line.
# Every process is looked at: under Wine a query of the name alone found
# none of the notepads that the whole list holds.
PROCESS_IDS = (
    'For Each process In GetObject("winmgmts:").ExecQuery("select * from Win32_Process")\r\n'
    "    If LCase(process.Name) = LCase(WScript.Arguments(0)) Then\r\n"
    "        WScript.Echo process.ProcessId\r\n"
    "    End If\r\n"
    "Next\r\n")


def menu_folder(c):
    return c.drive_c / "ProgramData" / "Microsoft" / "Windows" / "Start Menu" / "Programs"


def make_shortcuts(c, names):
    """Makes NAME.lnk in the Start menu for each name, all opening TARGET,
    with Wine's own WScript.Shell, as an installer would."""
    (c.drive_c / "make_shortcuts.vbs").write_text(MAKE_SHORTCUTS)
    args = [part for name in names for part in (f"{MENU}\\{name}.lnk", TARGET)]
    with open(c.logs / f"{c.name}.cscript.log", "a") as log:
        subprocess.run([WINE, "cscript", "//nologo", "C:\\make_shortcuts.vbs", *args], env=c.env,
                       check=True, timeout=120, stdout=log, stderr=subprocess.STDOUT)
    for name in names:
        expect((menu_folder(c) / f"{name}.lnk").is_file(), f"{name}.lnk made")


def shortcut_word(name):
    """What Tab puts in the box for a Start-menu shortcut: its whole path,
    quoted."""
    return f'"{MENU}\\{name}.lnk"'


def tab_to(c, typed, name, what):
    """Types a word, and waits for one Tab to put the shortcut in the box."""
    c.type(typed)
    c.key("Tab")
    c.wait_for(lambda s: s.command.rstrip() == shortcut_word(name), what)


def put_back_and_empty(c, typed):
    """Esc puts back what was typed before the Tab, a second empties the box."""
    c.press("Escape", typed)
    c.press("Escape", "")


def notepad_ids(c):
    """The process ids of the notepads running in the test's prefix."""
    (c.drive_c / "process_ids.vbs").write_text(PROCESS_IDS)
    out = subprocess.run([WINE, "cscript", "//nologo", "C:\\process_ids.vbs", "notepad.exe"],
                         env=c.env, capture_output=True, text=True, timeout=60, check=True).stdout
    return {int(word) for word in out.split()}


def run_and_close(c, line):
    """Runs the line (the box already holds it) and ends the notepad it
    started, by its process id."""
    before = notepad_ids(c)
    c.key("Return")
    started = wait_until(lambda: notepad_ids(c) - before, 60, f"the notepad of {line} to start")
    for pid in started:
        subprocess.run([WINE, "taskkill", "/f", "/pid", str(pid)], env=c.env, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_until(lambda: not (notepad_ids(c) & started), 30, "the notepad to end")
    c.wait_idle()


def test_shortcuts_made_while_running_are_found_at_once_by_fuzzy_words_ranked_by_use(c):
    c.launch()
    # The first key builds the program index; no Zeta is in it yet.
    c.type("zeta")
    c.key("Tab")
    c.xdotool("type", "x")
    c.wait_command("zetax", "a Tab that finds nothing, then a key")
    built = time.monotonic()
    c.press("Escape", "")

    make_shortcuts(c, ["Visual Studio Code", "Mozilla Firefox", "Zeta Alpha", "Zeta Beta"])
    tab_to(c, "vsc", "Visual Studio Code", "Tab on vsc to find the shortcut made a moment ago")
    expect(time.monotonic() - built < INDEX_FRESH_SECONDS - 10,
           "found while the index was still fresh: found because the menu is watched")
    put_back_and_empty(c, "vsc")
    tab_to(c, "firef", "Mozilla Firefox", "Tab on firef to find Firefox")
    put_back_and_empty(c, "firef")

    # Run three times, Zeta Beta is listed before Zeta Alpha.
    for _ in range(3):
        tab_to(c, "\"zeta b", "Zeta Beta", "Tab to complete Zeta Beta")
        run_and_close(c, shortcut_word("Zeta Beta"))
    c.type("zeta")
    c.key("Tab")
    c.key("Tab")
    snap = c.wait_for(lambda s: s.pane_text and "Zeta Alpha" in s.pane_text and
                      "Zeta Beta" in s.pane_text, "a second Tab to list both Zetas")
    expect(snap.pane_text.index("Zeta Beta") < snap.pane_text.index("Zeta Alpha"),
           f"Zeta Beta, run three times, listed first: {snap.pane_text!r}")
    put_back_and_empty(c, "zeta")
    c.enter_line("cls")

    # A word that opens nothing names the nearest name and starts nothing.
    before = notepad_ids(c)
    c.enter_line("vscod")
    lines = c.wait_for(lambda s: s.pane_text and "Did you mean" in s.pane_text,
                       "the suggestion after the failure").pane_text.strip().split("\r\n")
    expect_equal(lines, ["Invalid command, filename or URL", "Did you mean: Visual Studio Code?"],
                 "the pane after vscod")
    expect_equal(notepad_ids(c), before, "notepads after vscod")
