"""Drives the real Vantrel.exe under Xvfb and Wine as a user would.

One test run shares one Xvfb display and one booted template Wine prefix
(made by `setup`, removed by `cleanup`). Every test copies the template to a
prefix of its own, starts the console there, types with xdotool and reads
the console's windows back through vantrel_probe.exe, a small reader that
runs in the same prefix. Waits poll every 100 ms up to a deadline; nothing
sleeps for a fixed time.
"""

import json
import os
import re
import select
import shutil
import signal
import subprocess
import time
from pathlib import Path

POLL = 0.1
WINE = shutil.which("wine64") or "/usr/lib/wine/wine64"
WINESERVER = shutil.which("wineserver") or "/usr/lib/wine/wineserver"
SCREEN = (1280, 720)


class TestFailure(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise TestFailure(message)


def expect_equal(actual, expected, what):
    if actual != expected:
        raise TestFailure(f"{what}: expected {expected!r}, got {actual!r}")


def pane_shows(console, text, what=None, timeout=30, after=None):
    """Waits for the pane to show text, once the line after, if any, has run."""
    if after is not None:
        console.enter_line(after)
    return console.wait_for(lambda s: s.pane_text == text, what or f"the pane to show {text!r}",
                            timeout)


def pane_holds(console, text, what, after=None):
    """Waits for the pane to show text, blank lines around it aside, once
    the line after, if any, has run."""
    if after is not None:
        console.enter_line(after)
    return console.wait_for(lambda s: (s.pane_text or "").strip() == text, what)


def pane_closed(console, what="the pane to close"):
    return console.wait_for(lambda s: s.pane is None, what)


def wait_until(condition, timeout, what):
    """Polls condition() until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        try:
            last = condition()
        except TestFailure:
            raise
        except Exception as e:  # a probe answer still incomplete
            last = e
        if last and not isinstance(last, Exception):
            return last
        if time.monotonic() > deadline:
            raise TestFailure(f"timed out after {timeout}s waiting for {what} (last: {last!r})")
        time.sleep(POLL)


def record_opened_addresses(console):
    """Makes opening an http address run, in place of the browser, a batch
    file that writes the address down, one a line; returns that file."""
    opened = console.drive_c / "opened.txt"
    (console.drive_c / "opened.bat").write_bytes(b"@>>C:\\opened.txt echo %~1\r\n")
    subprocess.run([WINE, "reg", "add", r"HKCR\http\shell\open\command", "/ve", "/f", "/d",
                    r'C:\windows\system32\cmd.exe /c C:\opened.bat "%1"'],
                   env=console.env, check=True, timeout=120, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    return opened


def start_notepad(c, *args, title="Untitled - Notepad"):
    """Starts Wine's notepad in the console's prefix as a window to act on,
    and waits until it has taken the foreground: typing for the console
    starts only then, or notepad could take the keys half way."""
    before = c.snapshot().data["foreground"]
    with open(c.logs / f"{c.name}.notepad.log", "a") as log:
        p = subprocess.Popen([WINE, "notepad", *args], env=c.env, stdout=log,
                             stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
    c.processes.append(p)
    c.wait_for(lambda s: s.data["foreground"] != before and
               title in utf8_text(s.data["foreground_title"]), f"{title} in the foreground", 60)
    return p


def close_notepad(c):
    """Ends the Notepad a command opened: it would take the keyboard focus
    from the bar. Only this test's prefix is asked, so only the Notepad that
    this console started ends."""
    def shown():
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Notepad"],
                             env=c.env, capture_output=True, text=True, timeout=30)
        return out.returncode == 0 and out.stdout.strip() != ""
    wait_until(shown, 60, "Notepad to open")
    subprocess.run([WINE, "taskkill", "/f", "/im", "notepad.exe"], env=c.env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    wait_until(lambda: not shown(), 30, "Notepad to close")


def wine_env(prefix, display):
    env = dict(os.environ)
    env.update(
        WINEPREFIX=str(prefix),
        WINEDEBUG="-all",
        WINEDLLOVERRIDES="mscoree,mshtml=",
        DISPLAY=display,
        LANG="C.UTF-8",
    )
    return env


def state_file(work):
    """Where setup leaves for the tests the display, Xvfb and the template."""
    return Path(work).resolve() / "state.json"


def free_display():
    for n in range(90, 200):
        if not Path(f"/tmp/.X{n}-lock").exists() and not Path(f"/tmp/.X11-unix/X{n}").exists():
            return n
    raise TestFailure("no free X display number")


def setup(work):
    """Starts Xvfb and boots the template prefix."""
    work, state = Path(work).resolve(), state_file(work)
    cleanup(work)
    # Prefixes left by a test that was stopped from outside.
    shutil.rmtree(work / "prefixes", ignore_errors=True)
    work.mkdir(parents=True, exist_ok=True)
    n = free_display()
    # The child keeps its own copy of the log's descriptor; ours is closed.
    with open(work / "xvfb.log", "w") as log:
        xvfb = subprocess.Popen(
            ["Xvfb", f":{n}", "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp"],
            stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
    state.write_text(json.dumps({"display": f":{n}", "xvfb": xvfb.pid, "template": None}))
    wait_until(lambda: Path(f"/tmp/.X11-unix/X{n}").exists() or xvfb.poll() is not None,
               20, "Xvfb to start")
    if xvfb.poll() is not None:
        raise TestFailure(f"Xvfb :{n} ended at once; see {work / 'xvfb.log'}")

    template = work / "template"
    env = wine_env(template, f":{n}")
    with open(work / "wineboot.log", "w") as boot_log:
        subprocess.run([WINE, "wineboot", "-i"], env=env, stdout=boot_log,
                       stderr=subprocess.STDOUT, timeout=300, check=True)
        subprocess.run([WINESERVER, "-w"], env=env, timeout=120, check=True)
    state.write_text(json.dumps({"display": f":{n}", "xvfb": xvfb.pid, "template": str(template)}))


def cleanup(work):
    state = state_file(work)
    if not state.exists():
        return
    s = json.loads(state.read_text())
    if s.get("template"):
        subprocess.run([WINESERVER, "-k"], env=wine_env(s["template"], s["display"]),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        shutil.rmtree(s["template"], ignore_errors=True)
    if s.get("xvfb"):
        try:
            os.kill(s["xvfb"], signal.SIGTERM)
        except ProcessLookupError:
            pass
    state.unlink()


class Console:
    """One test's console: its own prefix, the program, the probe."""

    def __init__(self, build, work, name):
        self.build = Path(build).resolve()
        work = Path(work).resolve()
        s = json.loads(state_file(work).read_text())
        self.display = s["display"]
        self.prefix = work / "prefixes" / name
        self.logs = work / "logs"
        self.name = name
        self.processes = []
        self.probe = None
        shutil.rmtree(self.prefix, ignore_errors=True)
        self.prefix.parent.mkdir(parents=True, exist_ok=True)
        self.logs.mkdir(parents=True, exist_ok=True)
        subprocess.run(["cp", "-a", s["template"], str(self.prefix)], check=True, timeout=240)
        self.env = wine_env(self.prefix, self.display)
        self.exe = self.build / "Vantrel.exe"
        self.drive_c = self.prefix / "drive_c"
        self.shortcuts = self.drive_c / "ProgramData" / "Orvane" / "Vantrel" / "Shortcuts"

    # -- processes -----------------------------------------------------
    def start(self, *args, cwd=None):
        """Starts the console (in the build folder unless cwd says otherwise);
        returns the process."""
        with open(self.logs / f"{self.name}.wine.log", "a") as log:
            p = subprocess.Popen([WINE, str(self.exe), *args], env=self.env,
                                 cwd=str(cwd or self.build),
                                 stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        self.processes.append(p)
        return p

    def launch(self, *args, cwd=None, timeout=60):
        """Starts the console and waits for its prompt; returns that snapshot."""
        self.start(*args, cwd=cwd)
        return self.wait_ready(timeout)

    def exit(self, process):
        """Ends the console as a user does, with EXIT."""
        self.submit("exit")
        wait_until(lambda: process.poll() is not None, 30, "the console to end")

    def close(self):
        self.stop_wine()
        shutil.rmtree(self.prefix, ignore_errors=True)

    def stop_wine(self):
        """Ends every process of the test's prefix; the prefix stays."""
        self.close_processes()
        subprocess.run([WINESERVER, "-k"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)
        subprocess.run([WINESERVER, "-w"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)

    def close_processes(self):
        """Ends the probe and every process the test started."""
        if self.probe and self.probe.poll() is None:
            try:
                self.probe.stdin.write("quit\n")
                self.probe.stdin.flush()
                self.probe.wait(timeout=5)
            except (OSError, subprocess.TimeoutExpired):
                pass
        for p in self.processes + ([self.probe] if self.probe else []):
            if p.poll() is None:
                p.kill()
                try:
                    p.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    pass
        self.processes = []
        self.probe = None

    # -- reading the windows -------------------------------------------
    def ask_probe(self, command, timeout=60):
        """Sends the probe one command; returns its JSON answer. A probe that
        gives no answer in time is ended, and a new one asked once more."""
        for _ in range(2):
            if self.probe is None or self.probe.poll() is not None:
                with open(self.logs / f"{self.name}.probe.log", "a") as log:
                    self.probe = subprocess.Popen(
                        [WINE, str(self.build / "vantrel_probe.exe")], env=self.env,
                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=log,
                        text=True, encoding="latin-1")
            self.probe.stdin.write(command + "\n")
            self.probe.stdin.flush()
            if select.select([self.probe.stdout], [], [], timeout)[0]:
                line = self.probe.stdout.readline()
                if not line:
                    raise TestFailure("the probe ended")
                return json.loads(line)
            self.probe.kill()
            self.probe.wait(timeout=30)
            self.probe = None
        raise TestFailure(f"the probe gave no answer to {command[:40]!r} in {timeout}s, twice")

    def snapshot(self):
        return Snapshot(self.ask_probe("snapshot"))

    def responds(self):
        """Whether every window of the console answers WM_NULL in 200 ms."""
        return self.ask_probe("responds")

    def count_processes(self, exe):
        return self.ask_probe(f"count {exe}")["count"]

    def wait_for(self, predicate, what, timeout=30):
        """Waits until predicate(snapshot) is true; returns that snapshot."""
        def check():
            snap = self.snapshot()
            return snap if predicate(snap) else None
        try:
            return wait_until(check, timeout, what)
        except TestFailure as e:
            # The console started last is the one waited on.
            latest = self.processes[-1] if self.processes else None
            if latest is None or latest.poll() is None:
                raise
            raise TestFailure(f"{e}; the console's process {latest.pid} ended with exit code "
                              f"{latest.returncode:#x}") from None

    def wait_ready(self, timeout=60):
        """Waits for the bar to show its prompt."""
        try:
            return self.wait_for(lambda s: s.bar and s.bar["visible"] and
                                 (s.prompt or "").endswith(">") and s.prompt != "Prompt>",
                                 "the bar with its prompt", timeout)
        except TestFailure as e:
            raise TestFailure(f"{e}\n{self.describe_prefix_processes()}") from None

    def describe_prefix_processes(self):
        """What runs in this test's prefix, with its state and CPU time, and
        the machine's load: what a bar that never came was waiting for."""
        rows, mark = [], f"WINEPREFIX={self.prefix}".encode()
        for entry in Path("/proc").glob("[0-9]*"):
            try:
                if mark in (entry / "environ").read_bytes().split(b"\0"):
                    stat = (entry / "stat").read_text()
                    fields = stat[stat.rindex(")") + 2:].split()
                    cpu = (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
                    args = (entry / "cmdline").read_bytes().replace(b"\0", b" ").decode("latin-1")
                    rows.append(f"  {entry.name} {fields[0]} cpu {cpu:.1f}s {args.strip()[:100]}")
            except (OSError, ValueError, IndexError):
                continue
        load = Path("/proc/loadavg").read_text().strip()
        return "processes of the prefix:\n" + ("\n".join(rows) or "  none") + f"\nload: {load}"

    # -- acting as a user ----------------------------------------------
    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True, timeout=30)

    def click_command_box(self):
        """Clicks into the command box until it has the focus, so that no
        typed key goes astray."""
        box = self.wait_ready().control(102)
        left, top, right, bottom = box["rect"]
        self.click_until_focused(box["hwnd"], min(left + 40, right - 2), (top + bottom) // 2,
                                 "the command box")

    def click_until_focused(self, hwnd, x, y, what):
        """Clicks at x, y until the window hwnd has the keyboard focus. The
        first click always goes: the X input focus follows it, not the focus
        Windows reports. A window started just before may take the focus
        back after that click, once it gets round to it; then the place is
        clicked again, never so soon after the last click that the two would
        make a double click."""
        last_click = []

        def focused():
            if last_click and self.snapshot().data["focus"] == hwnd:
                return True
            if not last_click or time.monotonic() - last_click[-1] > 1.5:
                self.xdotool("mousemove", str(x), str(y), "click", "1")
                last_click.append(time.monotonic())
            return False
        wait_until(focused, 30, f"{what} to have the focus")

    def type(self, text, on_keyboard=False):
        """Types text into the command box; each piece is waited for in the
        box, after what it held, before the next, never typed again. Text
        beyond ASCII goes as send_text sends it or, on_keyboard, through the
        X keyboard, the path a keyboard layout's own keys take: each such
        character is put on a spare key for the whole typing (xdotool's map
        of a moment is undone before Wine reads the key)."""
        self.click_command_box()
        shown, keys = self.snapshot().command or "", {}
        if on_keyboard:
            listing = subprocess.run(["xmodmap", "-pke"], env=self.env, capture_output=True,
                                     text=True, check=True, timeout=30).stdout
            spare = [int(n) for n in re.findall(r"^keycode +(\d+) =\s*$", listing, re.M)]
            wanted = sorted({ch for ch in text if not ch.isascii()})
            expect(len(spare) >= len(wanted), f"{len(wanted)} spare keys ({len(spare)} in the map)")
            keys = dict(zip(wanted, spare))

        def remap(code, keysym=""):
            subprocess.run(["xmodmap", "-e", f"keycode {code} = {keysym}"], env=self.env,
                           check=True, timeout=30)
        try:
            for ch, code in keys.items():
                # Named twice: one keysym alone would be split into cases.
                remap(code, f"U{ord(ch):04X} U{ord(ch):04X}")
            for part in self.send_text(text, on_keyboard):
                shown += part
                self.wait_command(shown, f"{part!r} typed")
        finally:
            for code in keys.values():
                remap(code)

    def send_text(self, text, on_keyboard=False):
        """Types text into the window with the focus; yields each piece once
        it is sent, for the caller to wait on. A character the X keyboard
        lacks goes, unless on_keyboard, as Windows delivers an input method's:
        KEYEVENTF_UNICODE input sent from inside Wine, which needs no key
        mapped for it (xdotool maps a spare key for a moment, and the
        character is lost when Wine reads the key after the map is undone)."""
        for part in re.findall(r"[\x00-\x7f]+|[^\x00-\x7f]" + ("" if on_keyboard else "+"), text):
            if part.isascii():
                self.xdotool("type", "--delay", "5", part)
            elif on_keyboard:
                self.xdotool("key", f"U{ord(part):04X}")
            else:
                units = part.encode("utf-16-be").hex()
                expect(self.ask_probe(f"unicode {units}")["done"], f"{part!r} sent")
            yield part

    def key(self, name):
        self.xdotool("key", name)

    def wait_command(self, text, what=None):
        """Waits until the command box holds text; a timeout says what it held."""
        held = []

        def holds(s):
            held[:] = [s.command]
            return s.command == text
        try:
            return self.wait_for(holds, what or f"the command box to hold {text!r}")
        except TestFailure as e:
            raise TestFailure(f"{e}; the box held {held!r}") from None

    def press(self, key, command, what=None):
        """Presses a key and waits until the command box holds command."""
        self.key(key)
        return self.wait_command(command, what or f"{key} to leave {command!r} in the box")

    def submit(self, text):
        """Types a command line into the empty box and presses Enter."""
        self.type(text)
        self.wait_command(text)
        self.key("Return")

    def enter_line(self, text, timeout=30):
        """Types a command line, presses Enter and waits until it has run."""
        self.submit(text)
        return self.wait_idle(timeout)

    def wait_idle(self, timeout=30):
        """Waits until the bar answers with an empty command box."""
        return self.wait_for(lambda s: s.command == "" and s.prompt is not None,
                             "the command line to finish", timeout)

    # -- dialog boxes ----------------------------------------------------
    def dialogs(self):
        """The console's visible dialog boxes, as the probe reads them."""
        return self.ask_probe("dialogs")["dialogs"]

    def wait_dialog(self, what="a dialog box", timeout=30):
        """Waits for a dialog box whose texts can be read; returns it."""
        def shown():
            boxes = self.dialogs()
            return boxes[0] if boxes and boxes[0]["title"] is not None else None
        return wait_until(shown, timeout, what)

    def wait_no_dialog(self, timeout=30):
        wait_until(lambda: not self.dialogs(), timeout, "the dialog box to close")

    def set_dialog_edit(self, text):
        expect(self.ask_probe(f"edit {text}")["done"], f"the dialog's edit box took {text!r}")

    def click_dialog_button(self, caption):
        expect(self.ask_probe(f"click {caption}")["done"], f"a dialog button {caption!r}")

    # -- the screen ----------------------------------------------------
    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", str(path)], env=self.env, check=True,
                       timeout=30)

    def pixel(self, x, y):
        """The (r, g, b) of a pixel of the screen."""
        shot = self.logs / f"{self.name}.png"
        self.screenshot(shot)
        channels = ",".join(f"%[fx:round(255*p{{{x},{y}}}.{c})]" for c in "rgb")
        out = subprocess.run(["convert", str(shot), "-format", channels, "info:"],
                             capture_output=True, text=True, check=True, timeout=30).stdout
        return tuple(int(v) for v in out.split(","))

    def tray_window(self):
        """The X window of the notification area, or None."""
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Wine System Tray"],
                             env=self.env, capture_output=True, text=True, timeout=30)
        ids = out.stdout.split()
        return ids[0] if out.returncode == 0 and ids else None


def utf8_text(text):
    """Probe texts carry the UTF-8 bytes the probe read as \\u00XX."""
    return None if text is None else text.encode("latin-1").decode("utf-8", "replace")


class Snapshot:
    def __init__(self, data):
        self.data = data
        self.pids = data["pids"]
        self.windows = data["windows"]

    def window(self, cls):
        return next((w for w in self.windows if w["class"] == cls), None)

    @property
    def bar(self):
        return self.window("VantrelMain")

    @property
    def pane(self):
        pane = self.window("VantrelOutputForm")
        return pane if pane and pane["visible"] else None

    def control(self, control_id, window=None):
        w = window or self.bar
        return next((c for c in w["children"] if c["id"] == control_id), None) if w else None

    def text_of(self, control_id):
        c = self.control(control_id)
        return utf8_text(c["text"]) if c else None

    @property
    def prompt(self):
        return self.text_of(101)

    @property
    def command(self):
        return self.text_of(102)

    @property
    def pane_text(self):
        pane = self.pane
        if not pane or not pane["children"]:
            return None
        return utf8_text(pane["children"][0]["text"])
