"""End-to-end tests of text in any script: names, titles, scripts and typed
keys in UTF-8, and the files of earlier versions still in Windows-1252 (the
peers of earlier versions are in remote_tests)."""

from harness import expect, expect_equal, start_notepad, wait_until

LEGACY_AUTOEXEC = b"echo caf\xe9 \xacTEMP\xac\r\n"


def shows(c, text, what):
    """Waits until the pane holds text among its lines."""
    return c.wait_for(lambda s: text in (s.pane_text or "").split("\r\n"), what)


def test_unicode_names_scripts_and_titles_and_an_old_windows_1252_autoexec(c):
    root = c.drive_c / "uni"
    (root / "Ελληνικά").mkdir(parents=True)
    name = "Ünïcødé 日本語.txt"
    (root / name).write_bytes("Grüße, 日本語, Ελληνικά, Тест\r\n".encode("utf-8"))
    (root / "utf16.txt").write_bytes("\ufeffΑλφα 日本\r\n".encode("utf-16-le"))
    c.shortcuts.mkdir(parents=True)
    (c.shortcuts / "Autoexec.dcb").write_bytes(LEGACY_AUTOEXEC)
    c.env["VANTREL_GREETING"] = "Ελληνικά 日本"
    c.start()
    snap = c.wait_for(lambda s: s.pane_text and "café C:\\" in s.pane_text,
                      "the old Autoexec.dcb's line in the pane", timeout=90)
    shown = next(ln for ln in snap.pane_text.split("\r\n") if ln.startswith("café "))
    expect(shown.endswith("\\Temp"), f"¬TEMP¬ expanded: {shown!r}")
    expect_equal((c.shortcuts / "Autoexec.dcb").read_bytes(), LEGACY_AUTOEXEC,
                 "the legacy file untouched")

    c.enter_line("cdd c:\\uni")
    c.enter_line("dir")
    snap = c.wait_for(lambda s: s.pane_text and name in s.pane_text, "DIR to list the name")
    line = next(ln for ln in snap.pane_text.split("\r\n") if ln.endswith(name))
    expect(line[24] == "|" and line[45] == "|", f"DIR's columns kept: {line!r}")
    c.enter_line(f'type "{name}"')
    shows(c, "Grüße, 日本語, Ελληνικά, Тест", "TYPE to show the UTF-8 text")
    c.enter_line("type utf16.txt")
    shows(c, "Αλφα 日本", "TYPE to show the UTF-16 text")

    c.enter_line(f'copy "{name}" "c:\\uni\\Копия 副本.txt"')
    wait_until(lambda: (root / "Копия 副本.txt").is_file(), 30, "COPY to make the copy")
    expect_equal((root / "Копия 副本.txt").read_bytes(), (root / name).read_bytes(), "the copy")
    c.enter_line('rename "c:\\uni\\Копия 副本.txt" "c:\\uni\\Ωμέγα.txt"')
    wait_until(lambda: (root / "Ωμέγα.txt").is_file() and
               not (root / "Копия 副本.txt").exists(), 30, "RENAME to rename it")
    c.enter_line('del "c:\\uni\\Ωμέγα.txt"')
    wait_until(lambda: not (root / "Ωμέγα.txt").exists(), 30, "DEL to delete it")
    expect((root / name).is_file(), "the original kept")

    # Typed on the keyboard, not sent as characters: the X key path.
    c.type("cd Ελληνικά", on_keyboard=True)
    c.key("Return")
    c.wait_for(lambda s: (s.prompt or "").endswith(":\\uni\\Ελληνικά>"),
               "the prompt in the Greek folder")

    c.enter_line('print Len("日本語") & " " & AscW("日") & " " & Mid("Ελληνικά", 2, 3)')
    shows(c, "3 26085 λλη", "the engine counting characters")
    c.enter_line("echo [¬VANTREL_GREETING¬]")
    shows(c, "[Ελληνικά 日本]", "an environment value in two scripts")

    # A byte-order mark: Notepad keeps the file UTF-8 when it saves it.
    document = root / "Тест окно.txt"
    document.write_bytes(b"\xef\xbb\xbfx")
    start_notepad(c, "C:\\uni\\Тест окно.txt", title="Тест окно")
    # Back to the bar, then FOCUS finds Notepad by its Cyrillic title and
    # SENDKEYS types Japanese into it, which Notepad saves.
    c.enter_line("focus тест ОКНО|sendkeys ^{END}日本^s")
    wait_until(lambda: document.read_bytes() == "\ufeffx日本".encode("utf-8"), 30,
               "Notepad to save the typed characters")
