"""End-to-end test of the per-user installer that the Windows build's
`installer` target packs: installed silently, the program started from where
it was installed, then uninstalled silently."""

import re
import subprocess

from harness import WINE, expect, expect_equal, wait_until

UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel"
RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
RUN_VALUE = "Orvane Vantrel"
CLASSES = r"HKCU\Software\Classes"
# Explorer's verbs the installer registers: each key's command, and what the
# shell puts in for the path.
VERBS = [(r"Vantrel.BatchFile\shell\open\command", "%1"),
         (r"Directory\shell\VantrelOpenHere\command", "%1"),
         (r"Directory\Background\shell\VantrelOpenHere\command", "%V"),
         (r"Drive\shell\VantrelOpenHere\command", "%1")]


def reg_values(c, key):
    """The key's values as {name: data}, or None when there is no such key."""
    r = subprocess.run([WINE, "reg", "query", key], env=c.env, capture_output=True,
                       text=True, encoding="latin-1", timeout=120)
    if r.returncode != 0:
        return None
    # "    name    REG_SZ    data": names hold single blanks ("Orvane Vantrel").
    values = {}
    for line in r.stdout.splitlines():
        m = re.match(r"^ {4}(.+?) {4}(REG_\w+)(?: {4}(.*))?$", line)
        if m:
            values[m.group(1)] = m.group(3) or ""
    return values


def default_value(c, key):
    return (reg_values(c, key) or {}).get("(Default)")


def run_as_explorer(c, command):
    """Starts a registered command as the shell does: the program, then its
    arguments, each in quotes or up to a blank."""
    args = ["".join(m) for m in re.findall(r'"([^"]*)"|(\S+)', command)]
    with open(c.logs / f"{c.name}.verb.log", "a") as log:
        subprocess.run([WINE, *args], env=c.env, stdout=log, stderr=subprocess.STDOUT,
                       timeout=120)


def test_installer_installs_runs_and_uninstalls_keeping_the_users_shortcuts(c):
    setup = c.build / "Vantrel-setup.exe"
    expect(setup.is_file(), f"{setup} exists (cmake --build {c.build} --target installer)")
    with open(c.logs / f"{c.name}.setup.log", "a") as log:
        r = subprocess.run([WINE, str(setup), "/S"], env=c.env, stdout=log,
                           stderr=subprocess.STDOUT, timeout=120)
    expect_equal(r.returncode, 0, "the silent installer's exit code")

    users = [u for u in (c.drive_c / "users").iterdir() if u.name != "Public"]
    expect_equal(len(users), 1, "user folders in the prefix")
    home = users[0]
    folder = home / "AppData" / "Local" / "Programs" / "Vantrel"
    samples = [f.name for f in (c.build / "portable" / "Sample Shortcuts").iterdir()]
    expect(samples, "sample shortcuts to install")
    for f in [folder / "Vantrel.exe", folder / "Colours.txt", folder / "Uninstall.exe",
              *(folder / "Sample Shortcuts" / name for name in samples)]:
        expect(f.is_file(), f"{f} installed")
    expect((folder / "Vantrel.exe").read_bytes() == (c.build / "Vantrel.exe").read_bytes(),
           f"the installed program is {c.build / 'Vantrel.exe'} (an installer packed before "
           "the program was last built?)")
    shortcut = (home / "AppData" / "Roaming" / "Microsoft" / "Windows" / "Start Menu" /
                "Programs" / "Vantrel.lnk")
    expect(shortcut.is_file(), f"the Start-menu shortcut {shortcut}")
    entry = reg_values(c, UNINSTALL_KEY)
    where = "C:\\" + "\\".join(folder.relative_to(c.drive_c).parts)  # its Windows name
    # A shell link names its target in the ANSI code page among binary fields.
    expect(f"{where}\\Vantrel.exe".encode("cp1252") in shortcut.read_bytes(),
           "the shortcut starts the installed program")
    expect(entry is not None, "the Apps & features entry")
    for name, data in [("DisplayName", "Vantrel"), ("DisplayVersion", "0.00"),
                       ("Publisher", "Orvane"), ("InstallLocation", where),
                       ("UninstallString", f'"{where}\\Uninstall.exe"'),
                       ("QuietUninstallString", f'"{where}\\Uninstall.exe" /S'),
                       ("NoModify", "0x1"), ("NoRepair", "0x1")]:
        expect_equal(entry.get(name), data, f"the entry's {name}")

    # The installed program, started as its shortcut starts it: its first
    # start fills the user's Shortcuts folder from the installed samples.
    c.exe = f"{where}\\Vantrel.exe"
    p = c.start(cwd=folder)
    c.wait_ready()
    c.enter_line("autostart on")
    expect_equal(reg_values(c, RUN_KEY).get(RUN_VALUE), f'"{where}\\Vantrel.exe"',
                 "the AUTOSTART value")
    for name in samples:
        expect((c.shortcuts / name).is_file(), f"the sample {name} copied")
    (c.shortcuts / "mine.dcb").write_bytes(b"print mine\r\n")

    # Explorer's verbs for this user: a .dcb opened runs in the running bar,
    # "Open Vantrel here" on a folder moves the bar there.
    expect_equal(default_value(c, CLASSES + r"\.dcb"), "Vantrel.BatchFile", "the .dcb file type")
    for key, placeholder in VERBS:
        expect_equal(default_value(c, f"{CLASSES}\\{key}"),
                     f'"{where}\\Vantrel.exe" /open "{placeholder}"', key)
    folder_opened = c.drive_c / "dc" / "a `1` folder"
    folder_opened.mkdir(parents=True)
    (c.drive_c / "dc" / "hello.dcb").write_bytes(b"echo hello-from-explorer\r\n")
    # Wine 8's shell reads no per-user classes (`cmd /c start "" C:\dc\hello.dcb`
    # finds no program for .dcb there), so the file type's command is run as
    # Windows' shell runs it: found from .dcb, the file put in for %1.
    progid = default_value(c, CLASSES + r"\.dcb")
    opened = default_value(c, f"{CLASSES}\\{progid}\\shell\\open\\command")
    run_as_explorer(c, opened.replace("%1", r"C:\dc\hello.dcb"))
    c.wait_for(lambda s: "hello-from-explorer" in (s.pane_text or ""),
               "the batch file's output in the bar's pane")
    verb = default_value(c, f"{CLASSES}\\{VERBS[1][0]}")
    run_as_explorer(c, verb.replace("%1", r"C:\dc\a `1` folder"))
    c.wait_for(lambda s: s.prompt == "C:\\dc\\a `1` folder>", "the prompt in the folder opened")
    # The running program's files cannot be replaced: the installer says so
    # and changes nothing.
    with open(c.logs / f"{c.name}.setup.log", "a") as log:
        r = subprocess.run([WINE, str(setup), "/S"], env=c.env, stdout=log,
                           stderr=subprocess.STDOUT, timeout=120)
    expect_equal(r.returncode, 3, "the installer's exit code while the console runs")
    c.exit(p)

    # The uninstaller runs from a copy of itself in the temporary folder and
    # returns at once: its work is waited for.
    with open(c.logs / f"{c.name}.setup.log", "a") as log:
        r = subprocess.run([WINE, str(folder / "Uninstall.exe"), "/S"], env=c.env, stdout=log,
                           stderr=subprocess.STDOUT, timeout=120)
    expect_equal(r.returncode, 0, "the silent uninstaller's exit code")
    wait_until(lambda: not folder.exists() and not shortcut.exists(), 60,
               "the program's folder and its shortcut to go")
    expect(reg_values(c, UNINSTALL_KEY) is None, "the Apps & features entry removed")
    expect(RUN_VALUE not in reg_values(c, RUN_KEY), "the AUTOSTART value removed")
    for key in [r".dcb", r"Vantrel.BatchFile", r"Directory\shell\VantrelOpenHere",
                r"Directory\Background\shell\VantrelOpenHere", r"Drive\shell\VantrelOpenHere"]:
        expect(reg_values(c, f"{CLASSES}\\{key}") is None, f"{key} removed")
    expect_equal((c.shortcuts / "mine.dcb").read_bytes(), b"print mine\r\n", "the user's own file")
    expect((c.shortcuts / "Autoexec.dcb").is_file(), "Autoexec.dcb kept")
