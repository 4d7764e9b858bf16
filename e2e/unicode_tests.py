"""End-to-end tests of text in any script: names, titles, scripts and typed
keys in UTF-8, and the files of earlier versions still in Windows-1252 (the
peers of earlier versions are in remote_tests)."""

import subprocess

from harness import WINE, expect, expect_equal, utf8_text, wait_until

SHORTCUTS = ("drive_c", "ProgramData", "Orvane", "Vantrel", "Shortcuts")


def run(c, line):
    """Types a line (any characters) and waits until it has run."""
    c.enter_line(line)


def shows(c, text, what):
    """Waits until the pane holds text among its lines."""
    return c.wait_for(lambda s: text in (s.pane_text or "").split("\r\n"), what)


def test_unicode_names_are_listed_shown_copied_renamed_deleted_and_entered(c):
    root = c.prefix / "drive_c" / "uni"
    (root / "Ελληνικά").mkdir(parents=True)
    name = "Ünïcødé 日本語.txt"
    (root / name).write_bytes("Grüße, 日本語, Ελληνικά, Тест\r\n".encode("utf-8"))
    (root / "utf16.txt").write_bytes("\ufeffΑλφα 日本\r\n".encode("utf-16-le"))
    c.start()
    c.wait_ready(timeout=90)
    run(c, "cdd c:\\uni")
    run(c, "dir")
    snap = c.wait_for(lambda s: s.pane_text and name in s.pane_text, "DIR to list the name")
    line = next(ln for ln in snap.pane_text.split("\r\n") if ln.endswith(name))
    expect(line[19] == "|" and line[40] == "|", f"DIR's columns kept: {line!r}")

    run(c, f'type "{name}"')
    shows(c, "Grüße, 日本語, Ελληνικά, Тест", "TYPE to show the UTF-8 text")
    run(c, "type utf16.txt")
    shows(c, "Αλφα 日本", "TYPE to show the UTF-16 text")

    run(c, f'copy "{name}" "c:\\uni\\Копия 副本.txt"')
    wait_until(lambda: (root / "Копия 副本.txt").is_file(), 30, "COPY to make the copy")
    expect_equal((root / "Копия 副本.txt").read_bytes(), (root / name).read_bytes(), "the copy")
    run(c, 'rename "c:\\uni\\Копия 副本.txt" "c:\\uni\\Ωμέγα.txt"')
    wait_until(lambda: (root / "Ωμέγα.txt").is_file() and
               not (root / "Копия 副本.txt").exists(), 30, "RENAME to rename it")
    run(c, 'del "c:\\uni\\Ωμέγα.txt"')
    wait_until(lambda: not (root / "Ωμέγα.txt").exists(), 30, "DEL to delete it")
    expect((root / name).is_file(), "the original kept")

    # Typed on the keyboard, not sent as characters: the X key path.
    c.type_on_keyboard("cd Ελληνικά")
    c.key("Return")
    c.wait_for(lambda s: (s.prompt or "").endswith(":\\uni\\Ελληνικά>"), "the prompt in the Greek folder")


def test_unicode_scripts_count_as_vbscript_and_keys_reach_a_window_by_its_title(c):
    folder = c.prefix / "drive_c" / "uni"
    folder.mkdir()
    document = folder / "Тест окно.txt"
    # A byte-order mark: Notepad keeps the file UTF-8 when it saves it.
    document.write_bytes(b"\xef\xbb\xbfx")
    c.env["VANTREL_GREETING"] = "Ελληνικά 日本"
    c.start()
    c.wait_ready(timeout=90)
    run(c, 'print Len("日本語") & " " & AscW("日") & " " & Mid("Ελληνικά", 2, 3)')
    shows(c, "3 26085 λλη", "the engine counting characters")
    run(c, "echo [¬VANTREL_GREETING¬]")
    shows(c, "[Ελληνικά 日本]", "an environment value in two scripts")

    with open(c.logs / f"{c.name}.notepad.log", "a") as log:
        c.processes.append(subprocess.Popen(
            [WINE, "notepad", "C:\\uni\\Тест окно.txt"], env=c.env, stdout=log,
            stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL))
    c.wait_for(lambda s: "Тест окно" in utf8_text(s.data["foreground_title"]),
               "Notepad in the foreground", 60)
    # Back to the bar, then FOCUS finds Notepad by its Cyrillic title and
    # SENDKEYS types Japanese into it, which Notepad saves.
    run(c, "focus тест ОКНО|sendkeys ^{END}日本^s")
    wait_until(lambda: document.read_bytes() == "\ufeffx日本".encode("utf-8"), 30,
               "Notepad to save the typed characters")


def test_an_old_windows_1252_autoexec_runs_as_before(c):
    folder = c.prefix.joinpath(*SHORTCUTS)
    folder.mkdir(parents=True)
    (folder / "Autoexec.dcb").write_bytes(b"echo caf\xe9 \xacTEMP\xac\r\n")
    c.start()
    snap = c.wait_for(lambda s: s.pane_text and "café C:\\" in s.pane_text,
                      "Autoexec.dcb's line in the pane", timeout=90)
    shown = next(ln for ln in snap.pane_text.split("\r\n") if ln.startswith("café "))
    expect(shown.endswith("\\Temp"), f"¬TEMP¬ expanded: {shown!r}")
    expect_equal((folder / "Autoexec.dcb").read_bytes(), b"echo caf\xe9 \xacTEMP\xac\r\n",
                 "the legacy file untouched")


__all__ = [name for name in list(globals()) if name.startswith("test_")]
