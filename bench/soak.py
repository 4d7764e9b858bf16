#!/usr/bin/env python3
"""Runs the real Vantrel.exe under Xvfb and Wine for a chosen time with mixed
work in rounds, and prints how its resources moved.

Each round: a logged-in client's burst of lines (distinct `print`, `set` and
`vb` lines, COM objects made and dropped, a `dos` line), clients logging in
and out with the password, lines typed into the bar (the pane closed by CLS
and opened again by output, a COM line, a `dos` line), a 500-line .dcb, an
endless line stopped by Esc, and a docking change. After every round the
console's process is sampled: resident and private memory, threads and open
descriptors of the Wine process, the windows it owns (its USER objects as far
as another process can see them), the prefix's wineserver memory (where
Windows handles and window objects live under Wine), and whether every
window answers WM_NULL in 200 ms. `--long-lines N` adds, after the rounds, a
client sending N distinct lines of 200-1,000 characters.

A missing answer is a failure: counted, told, and the soak goes on, unless
the console has ended. WM_NULL is looked at with every sample, twice during
each client burst and once during the endless line; a look unanswered is
told with when it was. Figures only: nothing here passes or fails on a time.

Usage: bench/soak.py --build build/windows [--minutes 20] [--long-lines 10000]
                     [--work /tmp/vantrel-soak] [--typed 20] [--burst 250] [--logins 5]
"""

import argparse
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))

import harness  # noqa: E402
from harness import TestFailure, wait_until  # noqa: E402
from remote_tests import Client, ends_with_prompt, free_port  # noqa: E402

PASSWORD = "soak-pw"
INTERRUPTED = "User interrupt occurred"
BATCH_LINES = 500
BAR_HEIGHT = 17


class ConsoleEnded(Exception):
    pass


# -- what the console's process uses ---------------------------------------------
def proc_status(pid):
    fields = {}
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        name, _, value = line.partition(":")
        fields[name] = value.strip()
    return fields


def kb(text):
    return int(text.split()[0])


def private_kb(pid):
    """Private_Clean + Private_Dirty: what the process alone holds."""
    total = 0
    for line in Path(f"/proc/{pid}/smaps_rollup").read_text().splitlines():
        if line.startswith(("Private_Clean:", "Private_Dirty:")):
            total += kb(line.split(":", 1)[1])
    return total


def wineserver_pid(prefix):
    """The prefix's wineserver: it works in a folder named after the
    prefix's device and inode, server-DEV-INODE, under a temporary one."""
    st = Path(prefix).stat()
    folder = f"/server-{st.st_dev:x}-{st.st_ino:x}"
    for proc in Path("/proc").iterdir():
        if not proc.name.isdigit():
            continue
        try:
            if (proc / "comm").read_text().startswith("wineserver") and \
                    str((proc / "cwd").readlink()).endswith(folder):
                return int(proc.name)
        except OSError:
            continue
    return None


METRICS = [
    # key, heading, unit
    ("rss", "resident memory", "KB"),
    ("private", "private memory", "KB"),
    ("threads", "threads", ""),
    ("fds", "open descriptors", ""),
    ("windows", "windows (USER)", ""),
    ("handles", "handles", ""),
    ("gdi", "GDI objects", ""),
    ("user", "USER objects", ""),
    ("server_rss", "wineserver resident", "KB"),
    ("wm_null_ms", "slowest WM_NULL answer", "ms"),
]


class Soak:
    def __init__(self, console, port, log):
        self.c = console
        self.port = port
        self.log = log
        self.process = None
        self.server = None
        self.started = time.monotonic()
        self.samples = []  # (hours since start, {metric: value})
        self.counts = dict(rounds=0, client_lines=0, typed_lines=0, batch_lines=0, logins=0,
                           long_lines=0, failures=0, looks=0, looks_answered=0)
        self.failures = []
        self.unanswered = []
        self.long_figures = []
        self.after_long = None

    # -- checks ------------------------------------------------------------
    def alive(self):
        if self.process.poll() is not None:
            raise ConsoleEnded(f"the console ended with code {self.process.returncode}")

    def attempt(self, what, action):
        """Runs one piece of work; a missing answer is counted and the soak
        goes on from a quiet console."""
        try:
            return action()
        except (ConsoleEnded, KeyboardInterrupt):
            raise
        except Exception as e:  # noqa: BLE001 - any missing answer is one failure
            self.alive()
            if not isinstance(e, TestFailure):
                e = f"{type(e).__name__}: {e}"
            self.counts["failures"] += 1
            self.failures.append(f"round {self.counts['rounds'] + 1}: {what}: {e}")
            self.log(f"FAILURE {self.failures[-1]}")
            self.recover()
            return None

    def recover(self):
        try:
            self.c.key("Escape")
            self.local_prompt(60)
        except Exception as e:  # noqa: BLE001 - the next piece of work tries again
            self.alive()
            self.log(f"  (not back to a quiet console yet: {e})")

    def look(self, when):
        """One WM_NULL look at every window; returns the slowest answer. A
        look unanswered is told with when it was, apart from the failures."""
        r = self.c.responds()
        self.counts["looks"] += 1
        if r["windows"] > 0 and r["answered"]:
            self.counts["looks_answered"] += 1
        else:
            self.unanswered.append(f"round {self.counts['rounds'] + 1}, {when}: {r}")
            self.log(f"WM_NULL unanswered: {self.unanswered[-1]}")
        return r["slowest_ms"]

    def local_prompt(self, timeout=30):
        """Waits until the bar is idle and local again (no client served)."""
        return self.c.wait_for(lambda s: s.command == "" and (s.prompt or "").endswith(">")
                               and "Serving" not in s.prompt, "the local prompt", timeout)

    def sample(self, series=True):
        """Samples the process; a sample outside the rounds' series (after
        the long lines) is kept apart, so that the slopes are the rounds'."""
        self.alive()
        pid = self.process.pid
        status = proc_status(pid)
        snap = self.c.snapshot()
        windows = sum(1 + len(w["children"]) for w in snap.windows)
        fds = len(list(Path(f"/proc/{pid}/fd").iterdir()))
        # The system's own counts; Wine answers -1 or 0 for what it does not
        # keep, which is reported as not reported.
        counts = self.c.ask_probe("resources")
        values = dict(rss=kb(status["VmRSS"]), private=private_kb(pid),
                      threads=int(status["Threads"]), fds=fds, windows=windows,
                      wm_null_ms=self.look("at the sample"),
                      **{k: (counts[k] if counts.get(k, -1) > 0 else None)
                         for k in ("handles", "gdi", "user")})
        if self.server is None or not Path(f"/proc/{self.server}").exists():
            self.server = wineserver_pid(self.c.prefix)
        values["server_rss"] = kb(proc_status(self.server)["VmRSS"]) if self.server else None
        hours = (time.monotonic() - self.started) / 3600
        if series:
            self.samples.append((hours, values))
        else:
            self.after_long = values
        self.log(f"sample at {hours * 60:5.1f} min: " +
                 " ".join(f"{k}={v}" for k, v in values.items()))

    # -- a client ----------------------------------------------------------
    def login(self):
        client = Client(self.port)
        client.wait_text(b"Password>")
        client.take()
        client.send(PASSWORD.encode() + b"\r\n")
        client.wait_for(ends_with_prompt, "the prompt after the password")
        client.take()
        self.counts["logins"] += 1
        return client

    def client_burst(self, r, count):
        """A few hundred lines in one send: distinct prints, SETs and VB
        assignments, COM objects made and dropped, a DOS line; one check line
        at the end reads back what they left."""
        lines, printed = [], []
        last_set, last_vb, dict_sum, fso = {}, {}, None, None
        for i in range(count):
            kind = i % 8
            if kind in (0, 1):
                lines.append(f'&print "p{r}_{i}"')
                printed.append(f"p{r}_{i}")
            elif kind == 2:
                lines.append(f"set sk{i % 40}=r{r}v{i}")
                last_set[i % 40] = f"r{r}v{i}"
            elif kind == 3:
                lines.append(f'vb vk{i % 20}="{r}-{i}"')
                last_vb[i % 20] = f"{r}-{i}"
            elif kind == 4:
                lines.append('vb set d=CreateObject("Scripting.Dictionary"):'
                             f'd.Add "a{i}", {i}:d.Add "b", {r}:ds=d("a{i}")+d.Count:set d=Nothing')
                dict_sum = i + 2
            elif kind == 5:
                lines.append('vb set f=CreateObject("Scripting.FileSystemObject"):'
                             'fe=f.FolderExists("C:\\windows") and '
                             f'not f.FileExists("C:\\no{r}_{i}.txt"):set f=Nothing')
                fso = "True"
            elif kind == 6:
                lines.append(f"&print {i}*3")  # the same every round
                printed.append(str(i * 3))
            else:
                lines.append(f"&print len(\"{'x' * (i % 50)}\") + {r}")
                printed.append(str(i % 50 + r))
        lines.append(f"&dos echo dos-{r}")
        s, v = sorted(last_set)[-1], sorted(last_vb)[-1]
        check = f"check {r} {last_set[s]} {last_vb[v]} {dict_sum} {fso}"
        lines.append(f'&print "check {r} " & sk{s} & " " & vk{v} & " " & ds & " " & fe')
        client = self.login()
        try:
            client.send(b"".join(line.encode() + b"\r\n" for line in lines))
            self.counts["client_lines"] += len(lines)
            # Looks while the burst runs.
            for _ in range(2):
                self.look("during the client's burst")
            client.wait_for(lambda d: re.search(rb"check %d [^\r\n]*\r\n" % r, d),
                            "the burst's check line", timeout=300)
            data = client.take().decode("latin-1")
            got = re.search(rf"check {r} [^\r\n]*", data).group(0)
            if got != check:
                raise TestFailure(f"the check line: expected {check!r}, got {got!r}")
            missing = [p for p in printed if f"{p}\r\n" not in data]
            if missing:
                raise TestFailure(f"{len(missing)} outputs missing, first {missing[:3]}")
            if f"dos-{r}" not in data:
                raise TestFailure("the DOS line's output missing")
            errors = [ln for ln in data.splitlines() if "error" in ln.lower()]
            if errors:
                raise TestFailure(f"{len(errors)} error lines, first {errors[0]!r}")
        finally:
            client.close()

    def logins(self, r, count):
        """Clients that log in, run one line and leave."""
        for k in range(count):
            client = self.login()
            try:
                client.send(f'print "in {r}_{k}"\r\n'.encode())
                self.counts["client_lines"] += 1
                client.wait_text(f"in {r}_{k}\r\n".encode())
            finally:
                client.close()
            # The next knocks only once this one is gone.
            self.local_prompt()

    # -- typing --------------------------------------------------------------
    def typed(self, line, check, what, timeout=30):
        self.c.enter_line(line, timeout)
        self.counts["typed_lines"] += 1
        self.c.wait_for(lambda s: check(s.pane_text or ""), what, timeout)

    def typing(self, r, count):
        c = self.c
        self.local_prompt()
        c.enter_line("cls")
        self.counts["typed_lines"] += 1
        harness.pane_closed(c)
        for i in range(count):
            a = r * 1000 + i
            self.typed(f"print {a}+{i}", lambda t, s=str(a + i): t.strip() == s,
                       f"the sum {a + i}")
        self.typed('print CreateObject("Scripting.FileSystemObject").FolderExists("C:\\windows")'
                   f' & {r}', lambda t: t.strip() == f"True{r}", "the COM line's answer")
        self.typed(f"dos echo typed-{r}", lambda t: f"typed-{r}" in t, "the DOS line's output", 60)

    def batch(self, r):
        counted = (BATCH_LINES - 1) // 2
        self.typed("C:\\soak.dcb", lambda t: f"dcb-end {r} {counted}" in t,
                   "the batch file's last line", 300)
        self.counts["batch_lines"] += BATCH_LINES

    def write_batch(self, r):
        body = [f"vb bc=0:br={r}"]
        for i in range(BATCH_LINES - 2):
            body.append(f"set soakb{i % 10}={i}" if i % 2 else "vb bc=bc+1")
        body.append('print "dcb-end " & br & " " & bc')
        (self.c.prefix / "drive_c" / "soak.dcb").write_bytes(("\r\n".join(body) + "\r\n").encode())

    def esc_stop(self):
        c = self.c
        c.submit("vb do:loop")
        self.counts["typed_lines"] += 1
        c.wait_for(lambda s: s.command == "vb do:loop", "the loop to run")
        self.look("during the endless line")
        c.key("Escape")
        c.wait_idle(20)
        c.wait_for(lambda s: (s.pane_text or "").strip() == INTERRUPTED, "the interrupt line")

    def dock(self, r):
        c = self.c
        if r % 2:
            c.enter_line("dock bottom")
            c.wait_for(lambda s: s.bar["rect"][1] >= harness.SCREEN[1] - BAR_HEIGHT - 2,
                       "the bar at the bottom")
        else:
            c.enter_line("dock top")
            c.wait_for(lambda s: s.bar["rect"][1] == 0, "the bar at the top")
        self.counts["typed_lines"] += 1

    # -- the soak --------------------------------------------------------------
    def start(self):
        # A crash then ends the process, its backtrace in Wine's log, rather
        # than leaving it behind Wine's crash dialog.
        subprocess.run([harness.WINE, "reg", "add", r"HKCU\Software\Wine\WineDbg", "/v",
                        "ShowCrashDialog", "/t", "REG_DWORD", "/d", "0", "/f"], env=self.c.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120,
                       check=True)
        self.process = self.c.start("listen", str(self.port), PASSWORD)
        self.c.wait_ready()
        self.sample()

    def round(self, typed_count, burst, login_count):
        r = self.counts["rounds"] + 1
        self.write_batch(r)
        self.attempt("client burst", lambda: self.client_burst(r, burst))
        self.attempt("the prompt after the burst", self.local_prompt)
        self.attempt("logins", lambda: self.logins(r, login_count))
        self.attempt("typed lines", lambda: self.typing(r, typed_count))
        self.attempt("the .dcb", lambda: self.batch(r))
        self.attempt("Esc on an endless line", self.esc_stop)
        self.attempt("docking", lambda: self.dock(r))
        self.counts["rounds"] += 1
        self.sample()

    def long_lines(self, count, chunk=250):
        """Distinct lines of 200-1,000 characters from one client, SET and VB
        by turns, with a marker after each chunk."""
        client = self.login()
        start = time.monotonic()
        try:
            self.long_figures.append((0, private_kb(self.process.pid)))
            for first in range(0, count, chunk):
                lines = []
                for i in range(first, min(count, first + chunk)):
                    length = 200 + (i * 7919) % 801
                    stem = f"{i:x}-"
                    text = (stem * (length // len(stem) + 1))[:length]
                    lines.append(f"set lv{i % 100}={text}" if i % 2 else f'vb lv{i % 100}="{text}"')
                # The last line's text read back: every line before it has run.
                marker = f"long {first + len(lines)} {i % 100} {length} {text[-12:]}"
                lines.append(f'&print "long {first + len(lines)} {i % 100} " & len(lv{i % 100})'
                             f' & " " & right(lv{i % 100}, 12)')
                client.send(b"".join(line.encode() + b"\r\n" for line in lines))
                client.wait_text(marker.encode() + b"\r\n", timeout=300)
                data = client.take()
                if b"rror" in data:
                    raise TestFailure(f"an error among the long lines: {data[-300:]!r}")
                self.counts["long_lines"] += len(lines) - 1
                self.counts["client_lines"] += len(lines)
                done = first + len(lines) - 1
                if done % 1000 == 0 or done == count:
                    self.long_figures.append((done, private_kb(self.process.pid)))
                    self.log(f"long lines {done}: private {self.long_figures[-1][1]} KB")
        finally:
            client.close()
        return time.monotonic() - start


# -- the figures -----------------------------------------------------------------
def slope(points):
    """Least-squares slope of (x, y) points, or None."""
    points = [(x, y) for x, y in points if y is not None]
    if len(points) < 2:
        return None
    n = len(points)
    mx = sum(x for x, _ in points) / n
    my = sum(y for _, y in points) / n
    sxx = sum((x - mx) ** 2 for x, _ in points)
    if sxx == 0:
        return None
    return sum((x - mx) * (y - my) for x, y in points) / sxx


def fmt(v, width=10):
    if v is None:
        return f"{'-':>{width}}"
    return f"{v:>{width},.0f}" if abs(v) >= 100 else f"{v:>{width},.1f}"


def report(soak, minutes_run, long_seconds):
    samples = soak.samples
    half = samples[-1][0] / 2 if samples else 0
    print()
    print(f"Soak of {minutes_run:.1f} minutes, {len(samples)} samples (one at start, one a round)")
    print(f"{'metric':<26}{'first':>10}{'last':>10}{'min':>10}{'max':>10}"
          f"{'slope/h':>11}{'2nd half/h':>11}")
    for key, heading, unit in METRICS:
        values = [v[key] for _, v in samples if v.get(key) is not None]
        if not values:
            print(f"{heading + (' ' + unit if unit else ''):<26}  not reported")
            continue
        points = [(t, v[key]) for t, v in samples]
        late = [(t, y) for t, y in points if t >= half]
        print(f"{heading + (' ' + unit if unit else ''):<26}{fmt(values[0])}{fmt(values[-1])}"
              f"{fmt(min(values))}{fmt(max(values))} {fmt(slope(points))} {fmt(slope(late))}")
    if soak.after_long:
        print("after the long lines: " +
              ", ".join(f"{key} {soak.after_long[key]}" for key, _, _ in METRICS))
    k = soak.counts
    print()
    print(f"rounds {k['rounds']}, client lines {k['client_lines']:,}, typed lines "
          f"{k['typed_lines']:,}, batch lines {k['batch_lines']:,}, logins {k['logins']:,}, "
          f"long lines {k['long_lines']:,}")
    print(f"failures {k['failures']}, WM_NULL looks answered {k['looks_answered']} of {k['looks']}")
    if soak.long_figures:
        print(f"long lines: {k['long_lines']:,} distinct lines of 200-1,000 characters in "
              f"{long_seconds:.0f} s; private memory (KB) after each thousand:")
        print("  " + ", ".join(f"{n:,}: {p:,}" for n, p in soak.long_figures))
    for title, told in (("failures", soak.failures), ("WM_NULL looks unanswered", soak.unanswered)):
        if told:
            print(f"{title}:")
        for f in told[:20]:
            print(f"  {f}")
        if len(told) > 20:
            print(f"  ... and {len(told) - 20} more")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", required=True, help="the Windows build folder")
    parser.add_argument("--work", default="/tmp/vantrel-soak")
    parser.add_argument("--minutes", type=float, default=20, help="how long the rounds go on")
    parser.add_argument("--typed", type=int, default=20, help="typed sums a round")
    parser.add_argument("--burst", type=int, default=250, help="lines in a round's client burst")
    parser.add_argument("--logins", type=int, default=5, help="extra logins a round")
    parser.add_argument("--long-lines", type=int, default=0,
                        help="distinct long lines a client sends after the rounds")
    a = parser.parse_args()

    def log(text):
        print(f"[{time.strftime('%H:%M:%S')}] {text}", flush=True)

    # A stop from outside still cleans up.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    harness.setup(a.work)
    console = None
    soak = None
    started = time.monotonic()
    long_seconds = 0
    ended = None
    try:
        console = harness.Console(a.build, a.work, "soak")
        soak = Soak(console, free_port(), log)
        soak.start()
        deadline = soak.started + a.minutes * 60
        while time.monotonic() < deadline:
            soak.round(a.typed, a.burst, a.logins)
            log(f"round {soak.counts['rounds']} done, {soak.counts['failures']} failures")
        if a.long_lines:
            long_seconds = soak.attempt("long lines", lambda: soak.long_lines(a.long_lines)) or 0
            soak.sample(series=False)
    except ConsoleEnded as e:
        ended = str(e)
    except KeyboardInterrupt:
        ended = "stopped from outside"
    finally:
        if soak and soak.samples:
            report(soak, (time.monotonic() - started) / 60, long_seconds)
        if ended:
            print(f"THE SOAK ENDED EARLY: {ended}")
            wine_log = console.logs / f"{console.name}.wine.log" if console else None
            if wine_log and wine_log.exists():
                print(f"the end of Wine's log:\n" +
                      "\n".join(wine_log.read_text(errors="replace").splitlines()[-60:]))
        if console:
            console.close()
        harness.cleanup(a.work)
        shutil.rmtree(a.work, ignore_errors=True)
    return 1 if ended else 0


if __name__ == "__main__":
    sys.exit(main())
