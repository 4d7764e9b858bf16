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


def pane_shows(console, text, what=None, timeout=30):
    return console.wait_for(lambda s: s.pane_text == text, what or f"the pane to show {text!r}",
                            timeout)


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
    opened = console.prefix / "drive_c" / "opened.txt"
    (console.prefix / "drive_c" / "opened.bat").write_bytes(b"@>>C:\\opened.txt echo %~1\r\n")
    subprocess.run([WINE, "reg", "add", r"HKCR\http\shell\open\command", "/ve", "/f", "/d",
                    r'C:\windows\system32\cmd.exe /c C:\opened.bat "%1"'],
                   env=console.env, check=True, timeout=120, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    return opened


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


class RunState:
    """What setup leaves for the tests: the display and the template."""

    def __init__(self, work):
        self.work = Path(work).resolve()
        self.file = self.work / "state.json"

    def load(self):
        return json.loads(self.file.read_text())

    def save(self, state):
        self.work.mkdir(parents=True, exist_ok=True)
        self.file.write_text(json.dumps(state))


def free_display():
    for n in range(90, 200):
        if not Path(f"/tmp/.X{n}-lock").exists() and not Path(f"/tmp/.X11-unix/X{n}").exists():
            return n
    raise TestFailure("no free X display number")


def setup(work):
    """Starts Xvfb and boots the template prefix."""
    state = RunState(work)
    cleanup(work)
    # Prefixes left by a test that was stopped from outside.
    shutil.rmtree(state.work / "prefixes", ignore_errors=True)
    state.work.mkdir(parents=True, exist_ok=True)
    n = free_display()
    # The child keeps its own copy of the log's descriptor; ours is closed.
    with open(state.work / "xvfb.log", "w") as log:
        xvfb = subprocess.Popen(
            ["Xvfb", f":{n}", "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp"],
            stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
    state.save({"display": f":{n}", "xvfb": xvfb.pid, "template": None})
    wait_until(lambda: Path(f"/tmp/.X11-unix/X{n}").exists() or xvfb.poll() is not None,
               20, "Xvfb to start")
    if xvfb.poll() is not None:
        raise TestFailure(f"Xvfb :{n} ended at once; see {state.work / 'xvfb.log'}")

    template = state.work / "template"
    env = wine_env(template, f":{n}")
    with open(state.work / "wineboot.log", "w") as boot_log:
        subprocess.run([WINE, "wineboot", "-i"], env=env, stdout=boot_log,
                       stderr=subprocess.STDOUT, timeout=300, check=True)
        subprocess.run([WINESERVER, "-w"], env=env, timeout=120, check=True)
    state.save({"display": f":{n}", "xvfb": xvfb.pid, "template": str(template)})


def cleanup(work):
    state = RunState(work)
    if not state.file.exists():
        return
    s = state.load()
    if s.get("template"):
        subprocess.run([WINESERVER, "-k"], env=wine_env(s["template"], s["display"]),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        shutil.rmtree(s["template"], ignore_errors=True)
    if s.get("xvfb"):
        try:
            os.kill(s["xvfb"], signal.SIGTERM)
        except ProcessLookupError:
            pass
    state.file.unlink()


class Console:
    """One test's console: its own prefix, the program, the probe."""

    def __init__(self, build, work, name):
        self.build = Path(build).resolve()
        work = Path(work).resolve()
        s = RunState(work).load()
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
        rows = []
        for entry in Path("/proc").iterdir():
            if not entry.name.isdigit():
                continue
            try:
                environ = (entry / "environ").read_bytes().split(b"\0")
                if f"WINEPREFIX={self.prefix}".encode() not in environ:
                    continue
                stat = (entry / "stat").read_text()
                fields = stat[stat.rindex(")") + 2:].split()
                ticks = os.sysconf("SC_CLK_TCK")
                cpu = (int(fields[11]) + int(fields[12])) / ticks
                args = (entry / "cmdline").read_bytes().replace(b"\0", b" ").decode(errors="replace")
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

    def type(self, text):
        """Types text into the command box. Text beyond ASCII is typed a
        piece at a time, each waited for in the box."""
        self.click_command_box()
        if text.isascii():
            self.xdotool("type", "--delay", "5", text)
            return
        shown = self.snapshot().command or ""
        for part in self.send_text(text):
            shown += part
            self.wait_for(lambda s, want=shown: s.command == want, f"{part!r} typed")

    def send_text(self, text):
        """Types text into the window with the focus; yields each piece once
        it is sent, for the caller to wait on. A character the X keyboard
        lacks goes as Windows delivers an input method's: KEYEVENTF_UNICODE
        input sent from inside Wine, which needs no key mapped for it
        (xdotool maps a spare key for a moment, and the character is lost
        when Wine reads the key after the map is undone)."""
        for part in re.findall(r"[\x00-\x7f]+|[^\x00-\x7f]+", text):
            if part.isascii():
                self.xdotool("type", "--delay", "5", part)
            else:
                units = part.encode("utf-16-be").hex()
                expect(self.ask_probe(f"unicode {units}")["done"], f"{part!r} sent")
            yield part

    def type_on_keyboard(self, text):
        """Types text into the command box through the X keyboard, the path
        a keyboard layout's own keys take. Each character beyond ASCII is
        put on a spare key for the whole typing (xdotool's map of a moment
        is undone before Wine reads the key), and each piece is waited for
        in the box before the next, never typed again."""
        self.click_command_box()
        listing = subprocess.run(["xmodmap", "-pke"], env=self.env, capture_output=True,
                                 text=True, check=True, timeout=30).stdout
        spare = [int(n) for n in re.findall(r"^keycode +(\d+) =\s*$", listing, re.M)]
        wanted = sorted({ch for ch in text if not ch.isascii()})
        expect(len(spare) >= len(wanted), f"{len(wanted)} spare keys (the map has {len(spare)})")
        keys = dict(zip(wanted, spare))

        def remap(code, keysym=""):
            subprocess.run(["xmodmap", "-e", f"keycode {code} = {keysym}"], env=self.env,
                           check=True, timeout=30)
        try:
            for ch, code in keys.items():
                # Named twice: one keysym alone would be split into cases.
                remap(code, f"U{ord(ch):04X} U{ord(ch):04X}")
            shown = self.snapshot().command or ""
            for part in re.findall(r"[\x00-\x7f]+|[^\x00-\x7f]", text):
                if part.isascii():
                    self.xdotool("type", "--delay", "5", part)
                else:
                    self.xdotool("key", f"U{ord(part):04X}")
                shown += part
                self.wait_for(lambda s, want=shown: s.command == want, f"{part!r} typed")
        finally:
            for code in keys.values():
                remap(code)

    def key(self, name):
        self.xdotool("key", name)

    def submit(self, text):
        """Types a command line and presses Enter."""
        self.type(text)
        held = []

        def holds(s):
            held[:] = [s.command]
            return s.command == text
        try:
            self.wait_for(holds, f"the command box to hold {text!r}")
        except TestFailure as e:
            raise TestFailure(f"{e}; the box held {held!r}") from None
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
        shot = self.logs / f"{self.name}.png"
        self.screenshot(shot)
        out = subprocess.run(["convert", str(shot), "-format", f"%[pixel:p{{{x},{y}}}]", "info:"],
                             capture_output=True, text=True, check=True, timeout=30).stdout
        return parse_colour(out)

    def tray_window(self):
        """The X window of the notification area, or None."""
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Wine System Tray"],
                             env=self.env, capture_output=True, text=True, timeout=30)
        ids = out.stdout.split()
        return ids[0] if out.returncode == 0 and ids else None

    def tray_visible(self):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Wine System Tray"],
                             env=self.env, capture_output=True, text=True, timeout=30)
        return out.returncode == 0 and out.stdout.strip() != ""


def parse_colour(text):
    """(r, g, b) from ImageMagick's srgb(...) or a colour name it prints."""
    m = re.search(r"\((\d+(?:\.\d+)?%?),\s*(\d+(?:\.\d+)?%?),\s*(\d+(?:\.\d+)?%?)", text)
    if m:
        def channel(v):
            return round(float(v[:-1]) * 2.55) if v.endswith("%") else int(float(v))
        return tuple(channel(v) for v in m.groups())
    names = {"red": (255, 0, 0), "black": (0, 0, 0), "white": (255, 255, 255),
             "lime": (0, 255, 0), "blue": (0, 0, 255)}
    if text.strip() in names:
        return names[text.strip()]
    raise TestFailure(f"cannot read the colour {text!r}")


def utf8_text(text):
    """Probe texts carry the UTF-8 bytes the probe read as \\u00XX."""
    return None if text is None else text.encode("latin-1").decode("utf-8", "replace")


class Snapshot:
    def __init__(self, data):
        self.data = data
        self.pids = data["pids"]
        self.windows = data["windows"]

    def window(self, cls):
        for w in self.windows:
            if w["class"] == cls:
                return w
        return None

    @property
    def bar(self):
        return self.window("VantrelMain")

    @property
    def pane(self):
        pane = self.window("VantrelOutputForm")
        return pane if pane and pane["visible"] else None

    def control(self, control_id, window=None):
        w = window or self.bar
        if not w:
            return None
        for c in w["children"]:
            if c["id"] == control_id:
                return c
        return None

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
