#!/usr/bin/env python3
"""Times the start of the real Vantrel.exe under Xvfb and Wine beside Wine's
own Notepad: from starting the program to its window shown on the X
display (mapped and visible, as xdotool sees it), best and median of three
starts each, warm, in rounds that alternate the two. The program ends
between starts (Vantrel with EXIT, Notepad by TASKKILL in the bench's own
prefix), so each start is a first one of the program; but the probe that
reads the windows keeps running in the prefix, so Wine's own session (its
server, services and desktop process) stays up, and these figures leave
out Wine's start. A flow that lets the last Wine program of the prefix end
and starts the next one a moment later (Wine takes about two seconds to
wind its session down) pays for a whole new session, and sees about 1.5 s
more for any program, Notepad as much as Vantrel; --cold times that.

Two other ways of timing, each a flag, give figures closer to what a person
sees at a desktop:
  --cold     Wine itself ends between starts (wineserver -k, then -w): each
             start is still warm in the page cache, but pays Wine's loader,
             its server and its own services starting again, as the first
             program of a session does. A start that Wine leaves hanging
             (now and then, Notepad's too) is made again and counted.
  --painted  the time runs until the window's first painted frame (its
             controls drawn, read from the X display) rather than until it
             is mapped: a window is mapped before it is painted.

Usage: bench/start_wine.py --build build/windows [--work /tmp/vantrel-start]
                           [--rounds 3] [--cold] [--painted]
Figures only: nothing here passes or fails on a time.
"""

import argparse
import ctypes
import ctypes.util
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))

import harness  # noqa: E402
from harness import WINE  # noqa: E402

# A window shows fewer colours than this until something is painted in it:
# an unpainted X window is one colour (its background or what lay beneath).
PAINTED_COLOURS = 3


class XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, as far as the pixels.
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


class Screen:
    """Reads a window's pixels straight from the X server: a screenshot tool
    started for each look would take longer than a start."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
        x = self.x11
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + \
            [ctypes.POINTER(ctypes.c_ulong)] + [ctypes.POINTER(ctypes.c_int)] * 2 + \
            [ctypes.POINTER(ctypes.c_uint)] * 4
        x.XGetImage.restype = ctypes.POINTER(XImage)
        x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x.XFree.argtypes = [ctypes.c_void_p]
        x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        # A window that goes away between two calls is an error to ignore,
        # not a reason for Xlib to end this process.
        self.on_error = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(
            lambda display, event: 0)
        x.XSetErrorHandler(self.on_error)
        self.display = x.XOpenDisplay(display.encode())
        if not self.display:
            raise harness.TestFailure(f"cannot open the X display {display}")

    def colours(self, window):
        """How many colours a sample of the window's pixels holds (up to a
        few dozen); 0 when it cannot be read."""
        root, x, y = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_int()
        w, h, border, depth = (ctypes.c_uint() for _ in range(4))
        if not self.x11.XGetGeometry(self.display, window, ctypes.byref(root), ctypes.byref(x),
                                     ctypes.byref(y), ctypes.byref(w), ctypes.byref(h),
                                     ctypes.byref(border), ctypes.byref(depth)):
            return 0
        image = self.x11.XGetImage(self.display, window, 0, 0, w.value, h.value, 0xFFFFFFFF, 2)
        if not image:
            return 0
        im = image.contents
        try:
            if im.bits_per_pixel != 32:
                return 0
            data = ctypes.string_at(im.data, im.bytes_per_line * im.height)
        finally:
            self.x11.XFree(im.data)
            self.x11.XFree(image)
        # Every seventh pixel: enough to see text and controls, quick to read.
        return len({data[i:i + 3] for i in range(0, len(data), 28)})

    def close(self):
        self.x11.XCloseDisplay(self.display)


def shown(console, name):
    """The first visible window of that name, or None."""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name], env=console.env,
                         capture_output=True, text=True, timeout=30)
    windows = out.stdout.split() if out.returncode == 0 else []
    return int(windows[0]) if windows else None


class Hung(Exception):
    """A start whose window never came."""


def until_shown(console, name, start, how):
    """Seconds from start until a visible window of that name shows, or,
    with a screen to read, until it is painted. Asked again at once, not
    every 100 ms as the tests wait: each question takes a few milliseconds,
    which is the figures' resolution."""
    while True:
        window = shown(console, name)
        if window is not None:
            break
        if time.monotonic() - start > how.timeout:
            raise Hung(f"{name} did not show within {how.timeout} s")
    while how.screen and how.screen.colours(window) < PAINTED_COLOURS:
        if time.monotonic() - start > how.timeout:
            raise Hung(f"{name} was not painted within {how.timeout} s")
    return time.monotonic() - start


def timed(start_once, console, how):
    """The seconds one start took. Started with Wine itself, a program now
    and then never shows its window (Notepad as well as Vantrel: Wine's
    own start is what hangs); such a start is counted and made again."""
    for _ in range(3):
        try:
            return start_once(console, how)
        except Hung as e:
            if not how.cold:
                raise harness.TestFailure(str(e)) from None
            how.hung += 1
            console.stop_wine()
    raise harness.TestFailure("three starts in a row did not show")


def start_vantrel(console, how):
    if how.cold:
        console.stop_wine()
    start = time.monotonic()
    process = console.start()
    seconds = until_shown(console, "^Vantrel$", start, how)
    console.wait_ready()
    if how.cold:
        console.stop_wine()
    else:
        console.exit(process)
        console.processes.remove(process)
    return seconds


def start_notepad(console, how):
    if how.cold:
        console.stop_wine()
    with open(console.logs / "start-notepad.log", "a") as log:
        start = time.monotonic()
        process = subprocess.Popen([WINE, "notepad"], env=console.env, stdout=log,
                                   stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        seconds = until_shown(console, "Notepad", start, how)
    if how.cold:
        console.stop_wine()
    else:
        # The prefix is this bench's own: its only Notepad is this one.
        subprocess.run([WINE, "taskkill", "/f", "/im", "notepad.exe"], env=console.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    process.wait(timeout=60)
    harness.wait_until(lambda: shown(console, "Notepad") is None, 30, "Notepad to close")
    return seconds


class How:
    def __init__(self, cold, screen):
        self.cold = cold
        self.screen = screen
        # A start with Wine running takes well under a second; one with
        # Wine starting takes a few, and one that hangs, for ever.
        self.timeout = 20 if cold else 60
        self.hung = 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, help="the Windows build folder")
    parser.add_argument("--work", default="/tmp/vantrel-start")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--cold", action="store_true",
                        help="end Wine (its server and services) before each start")
    parser.add_argument("--painted", action="store_true",
                        help="time until the first painted frame, not the window mapped")
    a = parser.parse_args()
    harness.setup(a.work)
    console = harness.Console(a.build, a.work, "start")
    screen = Screen(console.display) if a.painted else None
    how = How(a.cold, screen)
    until = "first painted frame" if a.painted else "visible window"
    wine = "Wine started afresh each time" if a.cold else "Wine running"
    try:
        # Warm: the first start of each in a new prefix reads everything.
        timed(start_vantrel, console, how)
        timed(start_notepad, console, how)
        for round_ in range(a.rounds):
            times = {"Vantrel": [], "Notepad": []}
            how.hung = 0
            for _ in range(3):
                times["Vantrel"].append(timed(start_vantrel, console, how))
                times["Notepad"].append(timed(start_notepad, console, how))
            v, n = min(times["Vantrel"]), min(times["Notepad"])
            hung = f", {how.hung} hung start(s) made again" if how.hung else ""
            print(f"round {round_ + 1}: start to {until} ({wine}), best of 3 (median): "
                  f"Vantrel {v:.2f} s ({statistics.median(times['Vantrel']):.2f} s), "
                  f"Notepad {n:.2f} s ({statistics.median(times['Notepad']):.2f} s), "
                  f"ratio {v / n:.2f}{hung}", flush=True)
    finally:
        if screen:
            screen.close()
        console.close()
        harness.cleanup(a.work)
        shutil.rmtree(a.work, ignore_errors=True)


if __name__ == "__main__":
    main()
