"""End-to-end tests of typing: the history kept across starts, the
suggestion shown after the caret, Ctrl+R's search and Tab completion."""

import socket
import subprocess

from harness import expect, expect_equal, pane_shows, wait_until
from remote_tests import Client, ends_with_prompt, free_port


def history_file(c):
    """The per-user history file of the test's prefix, or None."""
    found = list((c.drive_c / "users").glob("*/AppData/Roaming/Orvane/Vantrel/History.txt"))
    return found[0] if found else None


def files_holding(root, needle):
    """The files under root whose bytes hold needle."""
    def holds(path):
        try:
            return path.is_file() and not path.is_symlink() and needle in path.read_bytes()
        except OSError:
            return False
    return [path for path in root.rglob("*") if holds(path)]


def test_history_lasts_across_starts_keeps_no_secret_outlasts_a_torn_file_and_ctrl_r_finds(c):
    p = c.start()
    c.wait_ready()
    port = free_port()
    for line in ("print 7*6", "echo findme-later", f"listen {port} hunter2x", "listen off",
                 "set MyApiToken=zq81xv", 'vb dbPassword = "qx77"', " print 99"):
        c.enter_line(line)

    # The masked line run again in this session listens with the password it
    # was given: the mask is no password.
    c.click_command_box()
    for _ in range(4):
        c.key("Up")
    c.press("Up", f"listen {port} ********", "Up to recall the masked line")
    c.key("Return")
    client = Client(port)
    client.wait_text(b"Password>")
    client.send(b"********\r\n")
    client.wait_text(b"Password incorrect")
    client.send(b"hunter2x\r\n")
    client.wait_for(ends_with_prompt, "the client logged in with the real password")
    client.close()
    c.wait_for(lambda s: (s.prompt or "").endswith(">") and "Serving" not in s.prompt,
               "the local prompt once the client left")
    c.enter_line("listen off")
    c.exit(p)
    c.launch()

    # Up walks back through the last start's lines; the one begun with a
    # blank and those naming a secret were never kept, and the password
    # shows masked. Run again, that line runs nothing: its password was not
    # kept.
    c.click_command_box()
    c.press("Up", "exit", "Up to recall the exit of the last start")
    c.press("Up", "listen off")
    c.press("Up", f"listen {port} ********")
    c.key("Return")
    pane_shows(c, "The password of this line was not kept in the history: type it again",
               "the masked line to run nothing")
    with socket.socket() as probe:
        probe.settimeout(5)
        expect(probe.connect_ex(("127.0.0.1", port)) != 0, "nothing listening after the masked line")
    c.press("Escape", "")
    c.press("Up", "echo findme-later", "Up to go on to the echo line")
    c.press("Escape", "")

    profile = c.drive_c / "users"
    expect(history_file(c) is not None, "a history file in the user's application data")
    for secret in (b"hunter2x", b"zq81xv", b"qx77"):
        expect_equal(files_holding(profile, secret), [], f"files under the profile holding {secret}")
    expect_equal(files_holding(c.drive_c / "ProgramData", b"findme"), [],
                 "history lines in the folder all users share")

    # Ctrl+R: the search text goes to the prompt box, the match to the box;
    # Enter runs the match.
    c.key("ctrl+r")
    c.xdotool("type", "--delay", "5", "ndme")
    c.wait_for(lambda s: s.command == "echo findme-later" and "ndme" in (s.prompt or ""),
               "Ctrl+R to find the line typed before the restart")
    c.key("Return")
    pane_shows(c, "\r\nfindme-later", "the found line to run")
    c.wait_idle()

    # A huge or torn history never holds up the start and is written anew
    # whole: a 10 MB line, then 200,000 lines, the last torn by a kill in
    # the middle of its write.
    c.stop_wine()
    path = history_file(c)
    with open(path, "wb") as f:
        f.write(b"x" * (10 << 20) + b"\r\n")
        f.write(b"".join(b"echo old-%d\r\n" % i for i in range(200000)) + b"print 3 torn")
    c.launch()
    pane_shows(c, "\r\n42", "the first line's answer", after="print 6*7")
    c.click_command_box()
    for expected in ("print 6*7", "echo old-199999"):
        c.press("Up", expected)
    c.key("Escape")
    # Once all of it is read, the file is written anew: its newest ten
    # thousand lines, whole, without the 10 MB one. The line run meanwhile
    # is either among them or appended after them, as the two happened to
    # fall; either way no old line is lost from the tail or torn.
    wait_until(lambda: path.stat().st_size < (1 << 20), 120,
               "the history file written anew without its 10 MB line")
    data = path.read_bytes()
    expect(data.endswith(b"\r\n"), f"whole lines: {data[-40:]!r}")
    lines = data[:-2].split(b"\r\n")
    expect_equal(lines[-1], b"print 6*7", "the session's line last")
    first = 200000 - (len(lines) - 1)
    expect(first in (190000, 190001), f"the newest ten thousand lines kept: {len(lines)} lines")
    expect_equal(lines[:-1], [b"echo old-%d" % i for i in range(first, 200000)],
                 "the old lines in order, none torn or missing")
    c.key("ctrl+r")
    c.xdotool("type", "--delay", "5", "old-19000")
    c.wait_for(lambda s: s.command == "echo old-190009", "Ctrl+R to find an old line")


def suggest_pixels(c, rect):
    """How many pixels of the command box show the suggestion's colour."""
    shot = c.logs / f"{c.name}.box.png"
    c.screenshot(shot)
    left, top, right, bottom = rect
    out = subprocess.run(
        ["convert", str(shot), "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage",
         "-fill", "black", "+opaque", "#FF00FF", "-fill", "white", "-opaque", "#FF00FF",
         "-format", "%[fx:mean*w*h]", "info:"],
        capture_output=True, text=True, check=True, timeout=30).stdout
    return round(float(out or 0))


def test_suggestion_shows_dimmed_and_right_takes_it_and_tab_completes_words_and_names(c):
    box = c.launch().control(102)
    c.enter_line("set ColourCommandSuggest=#FF00FF")
    c.enter_line("print 4242")
    c.type("print 4")
    wait_until(lambda: suggest_pixels(c, box["rect"]) > 0, 30,
               "the suggestion painted in its colour after the caret")
    c.key("Return")
    pane_shows(c, "\r\n4", "Enter to run only what was typed")
    c.wait_idle()
    expect_equal(suggest_pixels(c, box["rect"]), 0, "suggestion pixels in an empty box")

    c.type("print 4")
    c.press("Right", "print 4242", "Right to take the suggestion")
    for key in ("BackSpace", "BackSpace", "BackSpace"):
        c.key(key)
    c.press("x", "print 4x", "typing past the suggestion")
    wait_until(lambda: suggest_pixels(c, box["rect"]) == 0, 30, "the suggestion to go away")

    # Capitals beyond ASCII fold as any letter does, for the suggestion and
    # for Ctrl+R.
    c.key("Escape")
    for line in ("echo Ölbaum-long-line", "echo ÄRGER im Büro"):
        c.enter_line(line)
    c.type("echo Ölb")
    c.press("End", "echo Ölbaum-long-line", "End to take the suggested line")
    c.key("Escape")
    c.key("ctrl+r")
    for _ in c.send_text("Ärger"):
        pass
    c.wait_for(lambda s: s.command == "echo ÄRGER im Büro" and "Ärger" in (s.prompt or ""),
               "Ctrl+R to find the line by Ärger")
    c.key("Escape")
    c.press("Escape", "")

    folder = c.drive_c / "tabs"
    folder.mkdir()
    (folder / "My notes.txt").write_bytes(b"noted\r\n")
    (folder / "alpha1.txt").write_bytes(b"a1\r\n")
    (folder / "alpha2.txt").write_bytes(b"a2\r\n")
    (folder / "price`list.txt").write_bytes(b"")
    big = c.drive_c / "big"
    big.mkdir()
    for i in range(30000):
        (big / f"aa{i:05d}.txt").write_bytes(b"")
    (big / "ab.txt").write_bytes(b"found-ab\r\n")
    c.enter_line("cdd c:\\tabs")

    # A unique command word; Esc puts back what was typed, as after a cycle,
    # and a second Esc empties the box.
    c.type("keepo")
    c.key("Tab")
    c.wait_for(lambda s: s.command.rstrip() == "keepoutput", "Tab to complete the command word")
    c.press("Escape", "keepo", "Esc to put back what was typed")
    c.press("Escape", "", "Esc to empty the box")

    # A unique file name with a blank in it, quoted.
    c.type("type my")
    c.key("Tab")
    c.wait_for(lambda s: s.command.rstrip() == 'type "My notes.txt"', "Tab to complete the file")
    c.key("Return")
    c.wait_for(lambda s: s.pane_text and "noted" in s.pane_text, "the completed line to run")
    c.wait_idle()

    # Two candidates: their common beginning, then the list, then a cycle.
    c.type("type al")
    c.press("Tab", "type alpha", "Tab to complete the common beginning")
    c.key("Tab")
    c.wait_for(lambda s: s.pane_text and "alpha1.txt" in s.pane_text and "alpha2.txt" in s.pane_text,
               "a second Tab to list both candidates")
    c.key("Tab")
    c.wait_for(lambda s: s.command.rstrip() in ("type alpha1.txt", "type alpha2.txt"),
               "a third Tab to take a candidate")
    c.press("Escape", "type al", "Esc to put back what was typed")
    c.key("Escape")

    # A name holding the script marker is put in only up to it: the rest
    # would be expanded.
    c.type("type pri")
    c.press("Tab", "type price", "Tab to stop before the marker")
    c.key("Escape")
    c.key("Escape")

    # A folder too big to read in time: the names read are all alike, but
    # Tab completes only what every name shares, whatever it read. A key
    # typed after the Tab lands after what the Tab left.
    c.type("type C:\\big\\a")
    c.key("Tab")
    c.xdotool("type", "b")
    c.wait_command("type C:\\big\\ab", "the Tab to complete nothing more")
    c.key("Tab")
    c.wait_for(lambda s: s.command.rstrip() == "type C:\\big\\ab.txt", "Tab to complete ab.txt")


def test_function_keys_fire_as_they_go_down_and_ctrl_backspace_deletes_a_word(c):
    c.launch()
    c.enter_line("set F6=x")
    c.click_command_box()
    # A chord's modifier let go before its key: the key went down with it,
    # and fires nothing. Whatever fired would land before the "a" typed next.
    for modifier in ("shift", "ctrl", "alt"):
        c.xdotool("keydown", modifier, "keydown", "F6", "keyup", modifier, "keyup", "F6")
    c.type("a")
    c.press("F6", "ax", "F6 alone to type its macro")
    c.key("Escape")
    c.wait_idle()

    # Ctrl+Backspace deletes the word before the caret with the blank after
    # it; Ctrl+Delete the word after the caret with its blank.
    c.type("echo one two")
    c.press("ctrl+BackSpace", "echo one ", "Ctrl+Backspace to delete the last word")
    c.key("Home")
    c.press("ctrl+Delete", "one ", "Ctrl+Delete to delete the first word")
    c.key("Escape")
    c.wait_idle()

    # The box steps one UTF-16 unit: from between the two halves of a
    # character beyond the BMP, a word is deleted from the character's start
    # and no half of it is left behind.
    c.type("echo a\U0001F600b tail")
    c.key("Home")
    for _ in range(7):
        c.key("Right")
    c.press("ctrl+Delete", "echo atail", "Ctrl+Delete between the halves of a character")
    c.key("Escape")
    c.wait_idle()

    # Typed ahead while a line runs, it deletes the word once the line has
    # ended, and no more.
    line = "vb t = Timer:Do While Timer - t < 2:Loop"
    c.submit(line)
    c.wait_command(line, "the line to run")
    c.xdotool("type", "--delay", "5", "echo one two")
    c.key("ctrl+BackSpace")
    c.wait_command("echo one ", "the word typed ahead to be deleted after the line")


def test_private_mode_writes_no_line_to_any_file_and_off_writes_again(c):
    p = c.start()
    c.wait_ready()
    c.enter_line("echo before-it")
    c.enter_line("private on")
    c.wait_for(lambda s: (s.prompt or "").startswith("(private) "), "the prompt to say private")
    for line in ("echo hush-one", "set HushVar=hush-two", 'print "hush-" & 3'):
        c.enter_line(line)
    # The session still browses what was typed.
    c.click_command_box()
    c.press("Up", 'print "hush-" & 3', "Up to recall a private line")
    c.press("Escape", "")
    c.exit(p)
    profile = c.drive_c / "users"
    expect(history_file(c) is not None, "a history file")
    expect_equal(files_holding(profile, b"hush-"), [], "files under the profile holding a line")
    expect_equal(files_holding(profile, b"private"), [], "files holding the PRIVATE line")

    c.launch()
    c.enter_line("private on")
    c.enter_line("echo hush-four")
    c.enter_line("private off")
    c.wait_for(lambda s: not (s.prompt or "").startswith("(private)"), "the prompt without it")
    c.enter_line("echo after-private")
    wait_until(lambda: b"echo after-private" in history_file(c).read_bytes(), 30,
               "a line after PRIVATE OFF written")
    expect_equal(files_holding(profile, b"hush-"), [], "files holding a private line")
