"""End-to-end tests of the file, batch-file and start-up commands.

Files are set up and checked from Linux through the test's own prefix
(drive C: is $WINEPREFIX/drive_c, drive Z: is /). Wine's local time is the
host's, so dates set with os.utime read back as time.localtime gives them.
"""

import os
import subprocess
import time
from pathlib import Path

from harness import WINE, expect, expect_equal, pane_shows, wait_until

DIST = Path(__file__).resolve().parent.parent / "dist"
HEADER = "   Last modified   |    Size (bytes)    |               Filename"
RULE = "-" * 19 + "|" + "-" * 20 + "|" + "-" * 39


def _shortcuts(console):
    return console.prefix / "drive_c" / "ProgramData" / "Orvane" / "Vantrel" / "Shortcuts"


def _prompt_is(console, prompt, what):
    """Waits for the prompt, letter case aside (Wine may spell a folder
    in either case)."""
    return console.wait_for(lambda s: (s.prompt or "").lower() == prompt.lower(), what)


def _run(console, line):
    """Runs a line and returns the snapshot once it has finished."""
    return console.enter_line(line)


def _notepad_open(console):
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Notepad"],
                         env=console.env, capture_output=True, text=True, timeout=30)
    return out.returncode == 0 and out.stdout.strip() != ""


def _close_notepad(console):
    """Ends the editor a command opened: it would take the keyboard focus
    from the bar. Only this test's prefix is asked, so only the Notepad that
    this console started ends."""
    wait_until(lambda: _notepad_open(console), 60, "Notepad to open")
    subprocess.run([WINE, "taskkill", "/f", "/im", "notepad.exe"], env=console.env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    wait_until(lambda: not _notepad_open(console), 30, "Notepad to close")


def test_first_start_copies_samples_and_savepos_survives_a_restart(c):
    p = c.start()
    c.wait_for(lambda s: s.pane_text is not None and "first time" in s.pane_text,
               "the welcome text of a first start", timeout=90)
    folder = _shortcuts(c)
    samples = sorted((DIST / "Sample Shortcuts").iterdir())
    expect(samples, "the shipped samples")
    for sample in samples:
        copied = folder / sample.name
        expect(copied.is_file(), f"{sample.name} copied into the shortcut folder")
        expect_equal(copied.read_bytes(), sample.read_bytes(), f"{sample.name} content")

    (folder / "Autoexec.dcb").write_bytes(b"set keep=1\r\nDock top\r\nwinpos 5 5 800\r\n")
    _run(c, "dock bottom")
    _run(c, "savepos")
    wait_until(lambda: (folder / "Autoexec.dcb").read_bytes() ==
               b"dock bottom\r\nset keep=1\r\n", 30, "SAVEPOS to rewrite Autoexec.dcb")
    leftovers = sorted(f.name for f in folder.iterdir() if f.name.lower().endswith(".tmp"))
    expect_equal(leftovers, [], "temporary files left in the shortcut folder")

    # A second start copies nothing again and starts where SAVEPOS left it.
    sample = samples[0].name
    (folder / sample).unlink()
    c.submit("exit")
    wait_until(lambda: p.poll() is not None, 30, "the console to end")
    c.start()
    # The application bar sits in the lower half of the 720-pixel screen (the
    # exact row is the window manager's).
    c.wait_for(lambda s: s.bar and s.bar["rect"][1] > 360, "the bar docked at the bottom",
               timeout=60)
    _run(c, "&print keep")
    pane_shows(c, "1", "Autoexec.dcb's own line still run")
    expect(not (folder / sample).exists(), "no samples copied on a second start")


def test_batch_parameters_shortcut_folder_and_addbatch(c):
    c.start()
    c.wait_ready(timeout=90)
    folder = _shortcuts(c)
    (folder / "params.dcb").write_bytes(b"echo [`1`] [`2`] [``]\r\n")
    (folder / "notepad.dcb").write_bytes(b"echo from the batch file\r\n")

    _run(c, 'params a "b c"')
    pane_shows(c, '\r\n[a] [b c] [a "b c"]', "the numbered and whole-text parameters")
    # The shortcut folder's notepad.dcb wins over the program of that name.
    _run(c, "notepad")
    pane_shows(c, "\r\nfrom the batch file", "notepad.dcb run instead of the program")

    _run(c, "cdd c:\\windows")
    windows = c.snapshot().prompt[:-1]
    expect(windows.lower() == "c:\\windows", f"the prompt after cdd: {windows!r}")
    _run(c, "addbatch wintest")
    made = folder / "wintest.dcb"
    wait_until(made.is_file, 30, "ADDBATCH to write wintest.dcb")
    expect_equal(made.read_bytes(), f"cdd {windows}\r\n".encode("cp1252"), "wintest.dcb")
    _close_notepad(c)
    _run(c, "cdd z:\\")
    _prompt_is(c, "Z:\\>", "the prompt on Z:")
    _run(c, "wintest")
    _prompt_is(c, windows + ">", "the shortcut to change drive and folder")


def test_cd_forms_across_drives(c):
    c.start()
    start = c.wait_ready(timeout=90).prompt[:-1]
    expect(start.upper().startswith("Z:\\"), f"a start on drive Z: ({start!r})")
    parent = start[:start.rfind("\\")] if start.count("\\") > 1 else "Z:\\"
    _run(c, "cd..")
    _prompt_is(c, parent + ">", "cd.. to go up one folder")
    _run(c, "cd\\")
    _prompt_is(c, "Z:\\>", "cd\\ to go to the root")
    _run(c, "cdd c:\\windows")
    _prompt_is(c, "C:\\windows>", "cdd to change drive and folder")
    # CD on another drive changes that drive's folder only.
    _run(c, "cd z:\\tmp")
    _prompt_is(c, "C:\\windows>", "cd on another drive to keep the current one")
    _run(c, "z:")
    _prompt_is(c, "Z:\\tmp>", "the drive form to find Z:'s folder")
    _run(c, "cdd..")
    _prompt_is(c, "Z:\\>", "cdd.. to go up")


def _dir_line(name, size, stamp, folder=False):
    t = time.localtime(stamp)
    date = time.strftime("%d/%m/%y %H:%M:%S", t)
    column = "<DIR>" if folder else f"{size:,}"
    return f" {date} | {column:>18} | {name}"


def test_dir_layout_copy_refusal_and_dos(c):
    root = c.prefix / "drive_c" / "vtrl_dir"
    root.mkdir()
    stamps = {"alpha.txt": 1709622489, "empty.dat": 946684799, "huge.iso": 1795176001,
              "sub": 1600000000}
    (root / "alpha.txt").write_bytes(b"hello")
    (root / "empty.dat").write_bytes(b"")
    (root / "beta.txt").write_bytes(b"beta")
    with open(root / "huge.iso", "wb") as f:
        f.truncate(3 * 1024 ** 3)  # sparse: 3 GiB without the disk space
    (root / "sub").mkdir()
    stamps["beta.txt"] = 1000000000
    for name, stamp in stamps.items():
        os.utime(root / name, (stamp, stamp))
    expected = sorted([
        _dir_line("alpha.txt", 5, stamps["alpha.txt"]),
        _dir_line("beta.txt", 4, stamps["beta.txt"]),
        _dir_line("empty.dat", 0, stamps["empty.dat"]),
        _dir_line("huge.iso", 3 * 1024 ** 3, stamps["huge.iso"]),
        _dir_line("sub", 0, stamps["sub"], folder=True),
    ])
    expect(any(e.endswith(" |      3,221,225,472 | huge.iso") for e in expected),
            "the expected line of the 3 GiB file")

    c.start()
    c.wait_ready(timeout=90)
    _run(c, "cdd c:\\vtrl_dir")
    _run(c, "dir")
    snap = c.wait_for(lambda s: s.pane_text and s.pane_text.count("\r\n") == 7, "the listing")
    lines = snap.pane_text.split("\r\n")
    expect_equal(lines[:3], ["", HEADER, RULE], "DIR's header")
    # The file system's own order is kept; Wine's is not sorted, so the
    # entries are compared as a set.
    expect_equal(sorted(lines[3:]), expected, "DIR's entries")
    for line in lines[1:]:
        expect(len(line) <= 80 and line[19] == "|" and line[40] == "|", f"columns of {line!r}")

    _run(c, "copy alpha.txt beta.txt")
    pane_shows(c, "\r\nAnother file with that name already exists", "COPY's refusal")
    expect_equal((root / "beta.txt").read_bytes(), b"beta", "the existing file")
    _run(c, "copy alpha.txt sub")
    wait_until(lambda: (root / "sub" / "alpha.txt").is_file(), 30, "COPY into the folder")

    _run(c, "dos echo hello")
    # The interpreter writes the blank before " > " as well.
    c.wait_for(lambda s: (s.pane_text or "").rstrip(" ") == "\r\nhello", "DOS's captured output")
    users = c.prefix / "drive_c" / "users"
    left = [str(p) for p in users.rglob("DOS-*")] + [str(p) for p in root.glob("DOS-*")]
    expect_equal(left, [], "temporary files of DOS")


__all__ = [name for name in dir() if name.startswith("test_")]
