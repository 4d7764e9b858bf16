"""End-to-end tests of the launcher: shortcuts made in the Start menu while
the console runs are found by the next Tab, by a word that only a fuzzy
match finds too; the one run most comes first; a word that opens nothing
names the nearest and starts nothing."""

import subprocess
import time

from harness import WINE, close_notepad, expect, expect_equal

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


def make_shortcuts(c, names):
    """Makes NAME.lnk in the Start menu for each name, all opening TARGET,
    with Wine's own WScript.Shell, as an installer would."""
    (c.drive_c / "make_shortcuts.vbs").write_text(MAKE_SHORTCUTS)
    args = [part for name in names for part in (f"{MENU}\\{name}.lnk", TARGET)]
    with open(c.logs / f"{c.name}.cscript.log", "a") as log:
        subprocess.run([WINE, "cscript", "//nologo", "C:\\make_shortcuts.vbs", *args], env=c.env,
                       check=True, timeout=120, stdout=log, stderr=subprocess.STDOUT)
    for name in names:
        made = c.drive_c.joinpath(*MENU[3:].split("\\"), f"{name}.lnk")
        expect(made.is_file(), f"{name}.lnk made")


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
        c.key("Return")
        close_notepad(c)  # the one the shortcut started
        c.wait_idle()
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
    c.enter_line("vscod")
    lines = c.wait_for(lambda s: s.pane_text and "Did you mean" in s.pane_text,
                       "the suggestion after the failure").pane_text.strip().split("\r\n")
    expect_equal(lines, ["Invalid command, filename or URL", "Did you mean: Visual Studio Code?"],
                 "the pane after vscod")
    expect_equal(c.count_processes("notepad.exe"), 0, "notepads after vscod")


def test_a_start_menu_folder_of_ten_thousand_shortcuts_is_indexed_whole(c):
    # Far more than one step of the index reads within its bound: the folder
    # is read on across steps, and its last shortcut is found as its first.
    folder = c.drive_c.joinpath(*MENU[3:].split("\\"), "Many")
    folder.mkdir(parents=True)
    for i in range(10000):
        (folder / f"Prog{i:05d} Tool.lnk").write_bytes(b"")
    c.launch()
    for typed in ("prog00000", "prog05000", "prog09999"):
        name = f"Many\\Prog{typed[4:]} Tool"
        c.type(typed)
        c.key("Tab")
        c.wait_for(lambda s: s.command.rstrip() == shortcut_word(name), f"Tab to find {name}",
                   timeout=60)
        put_back_and_empty(c, typed)
