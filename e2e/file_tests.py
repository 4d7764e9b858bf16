"""End-to-end tests of the file, batch-file and folder commands.

Files are set up and checked from Linux through the test's own prefix
(drive C: is $WINEPREFIX/drive_c, drive Z: is /). Wine's local time is the
host's, so dates set with os.utime read back as time.localtime gives them.
"""

import os
import time

from harness import close_notepad, expect, expect_equal, pane_shows, wait_until

# DIR's date column is as wide as the longest date and time the regional
# forms write: 12/28/2000 10:59:59 PM in English (US), 28/12/2000 22:59:59 in
# English (UK).
US_WIDTH, UK_WIDTH = 22, 19


def _us_date(t):
    hour = t.tm_hour % 12 or 12
    noon = "AM" if t.tm_hour < 12 else "PM"
    return f"{t.tm_mon}/{t.tm_mday}/{t.tm_year} {hour}:{t.tm_min:02}:{t.tm_sec:02} {noon}"


def _uk_date(t):
    return time.strftime("%d/%m/%Y %H:%M:%S", t)


def _dir_head(width):
    """DIR's header and rule: the date column widens, the rule stays 80."""
    cell = width + 2
    left = (cell - len("Last modified")) // 2
    header = (" " * left + "Last modified" + " " * (cell - len("Last modified") - left) +
              "|    Size (bytes)    |               Filename")
    return header, "-" * cell + "|" + "-" * 20 + "|" + "-" * (80 - cell - 22)


def _prompt_is(console, prompt, what):
    """Waits for the prompt, letter case aside (Wine may spell a folder
    in either case)."""
    return console.wait_for(lambda s: (s.prompt or "").lower() == prompt.lower(), what)


def _dir_line(name, size, stamp, folder=False, width=US_WIDTH, form=_us_date):
    date = form(time.localtime(stamp))
    column = "<DIR>" if folder else f"{size:,}"
    return f" {date:>{width}} | {column:>18} | {name}"


def test_cd_forms_batch_parameters_addbatch_dir_layout_copy_refusal_and_dos(c):
    root = c.drive_c / "vtrl_dir"
    root.mkdir()
    stamps = {"alpha.txt": 1709622489, "empty.dat": 946684799, "huge.iso": 1795176001,
              "sub": 1600000000, "beta.txt": 1000000000}
    (root / "alpha.txt").write_bytes(b"hello")
    (root / "empty.dat").write_bytes(b"")
    (root / "beta.txt").write_bytes(b"beta")
    with open(root / "huge.iso", "wb") as f:
        f.truncate(3 * 1024 ** 3)  # sparse: 3 GiB without the disk space
    (root / "sub").mkdir()
    for name, stamp in stamps.items():
        os.utime(root / name, (stamp, stamp))
    sizes = {"alpha.txt": 5, "beta.txt": 4, "empty.dat": 0, "huge.iso": 3 * 1024 ** 3}
    expected = sorted(_dir_line(name, sizes.get(name, 0), stamp, folder=name not in sizes)
                      for name, stamp in stamps.items())
    expect(any(e.endswith(" |      3,221,225,472 | huge.iso") for e in expected),
           "the expected line of the 3 GiB file")

    start = c.launch(timeout=90).prompt[:-1]
    expect(start.upper().startswith("Z:\\"), f"a start on drive Z: ({start!r})")
    parent = start[:start.rfind("\\")] if start.count("\\") > 1 else "Z:\\"
    c.enter_line("cd..")
    _prompt_is(c, parent + ">", "cd.. to go up one folder")
    c.enter_line("cd\\")
    _prompt_is(c, "Z:\\>", "cd\\ to go to the root")
    c.enter_line("cdd c:\\windows")
    _prompt_is(c, "C:\\windows>", "cdd to change drive and folder")
    # CD on another drive changes that drive's folder only.
    c.enter_line("cd z:\\tmp")
    _prompt_is(c, "C:\\windows>", "cd on another drive to keep the current one")
    c.enter_line("z:")
    _prompt_is(c, "Z:\\tmp>", "the drive form to find Z:'s folder")
    c.enter_line("cdd..")
    _prompt_is(c, "Z:\\>", "cdd.. to go up")

    (c.shortcuts / "params.dcb").write_bytes(b"echo [`1`] [`2`] [``]\r\n")
    (c.shortcuts / "notepad.dcb").write_bytes(b"echo from the batch file\r\n")
    c.enter_line('params a "b c"')
    pane_shows(c, '\r\n[a] [b c] [a "b c"]', "the numbered and whole-text parameters")
    # The shortcut folder's notepad.dcb wins over the program of that name.
    c.enter_line("notepad")
    pane_shows(c, "\r\nfrom the batch file", "notepad.dcb run instead of the program")
    c.enter_line("cdd c:\\windows")
    windows = c.snapshot().prompt[:-1]
    expect(windows.lower() == "c:\\windows", f"the prompt after cdd: {windows!r}")
    c.enter_line("addbatch wintest")
    made = c.shortcuts / "wintest.dcb"
    wait_until(made.is_file, 30, "ADDBATCH to write wintest.dcb")
    expect_equal(made.read_bytes(), f"cdd {windows}\r\n".encode("cp1252"), "wintest.dcb")
    close_notepad(c)
    c.enter_line("cdd z:\\")
    _prompt_is(c, "Z:\\>", "the prompt on Z:")
    c.enter_line("wintest")
    _prompt_is(c, windows + ">", "the shortcut to change drive and folder")

    c.enter_line("cdd c:\\vtrl_dir")
    c.enter_line("dir")
    snap = c.wait_for(lambda s: s.pane_text and s.pane_text.count("\r\n") == 7, "the listing")
    lines = snap.pane_text.split("\r\n")
    expect_equal(lines[:3], ["", *_dir_head(US_WIDTH)], "DIR's header")
    # The file system's own order is kept; Wine's is not sorted, so the
    # entries are compared as a set.
    expect_equal(sorted(lines[3:]), expected, "DIR's entries")
    for line in lines[1:]:
        expect(len(line) <= 80 and line[24] == "|" and line[45] == "|", f"columns of {line!r}")
    # English (US) dates are read month first, as they are written.
    c.enter_line('?Month(CDate("1/2/2026")) & " " & DateSerial(2026, 2, 1)')
    pane_shows(c, "\r\n1 2/1/2026", "a US date read and written month first")

    c.enter_line("copy alpha.txt beta.txt")
    pane_shows(c, "\r\nAnother file with that name already exists", "COPY's refusal")
    expect_equal((root / "beta.txt").read_bytes(), b"beta", "the existing file")
    c.enter_line("copy alpha.txt sub")
    wait_until(lambda: (root / "sub" / "alpha.txt").is_file(), 30, "COPY into the folder")

    c.enter_line("dos echo hello")
    # The interpreter writes the blank before " > " as well.
    c.wait_for(lambda s: (s.pane_text or "").rstrip(" ") == "\r\nhello", "DOS's captured output")
    left = [str(p) for p in [*(c.drive_c / "users").rglob("DOS-*"), *root.glob("DOS-*")]]
    expect_equal(left, [], "temporary files of DOS")


def test_an_english_uk_locale_reads_dates_day_first_as_it_shows_them_in_print_date_and_dir(c):
    # Wine takes the user's locale, and with it the short date, from these.
    c.env.update(LC_ALL="en_GB.UTF-8", LANG="en_GB.UTF-8")
    root = c.drive_c / "vtrl_uk"
    root.mkdir()
    stamp = time.mktime((2026, 2, 1, 13, 4, 5, 0, 0, -1))
    (root / "feb.txt").write_bytes(b"x" * 1234)
    os.utime(root / "feb.txt", (stamp, stamp))
    c.launch(timeout=90)
    c.enter_line("?DateSerial(2026, 2, 1)")
    pane_shows(c, "\r\n01/02/2026", "the date written day first")
    c.enter_line("?Month(CDate(CStr(DateSerial(2026, 2, 1))))")
    pane_shows(c, "\r\n2", "a date written and read back in its month")
    c.enter_line('?Month(CDate("1/2/2026")) & " " & Day("13/1/2026") & " " & Month("2026-02-01")')
    pane_shows(c, "\r\n2 13 2", "typed dates read day first, or as only they can be")
    before = time.strftime("%d/%m/%Y")
    c.enter_line("date")
    c.wait_for(lambda s: s.pane_text in ("\r\n" + before, "\r\n" + time.strftime("%d/%m/%Y")),
               "DATE to show today day first")
    c.enter_line("cdd c:\\vtrl_uk")
    c.enter_line("dir")
    line = _dir_line("feb.txt", 1234, stamp, width=UK_WIDTH, form=_uk_date)
    expect_equal(line, " 01/02/2026 13:04:05 |              1,234 | feb.txt", "the expected line")
    pane_shows(c, "\r\n".join(["", *_dir_head(UK_WIDTH), line]), "DIR's dates day first")
