"""End-to-end tests of long work: the bar keeps answering while a line runs,
Esc (or a client's Ctrl+C) stops it, and what came meanwhile gets its turn."""

import time

from harness import expect, expect_equal, pane_holds, wait_until
from remote_tests import Client, ends_with_prompt, free_port, served_client
from window_tests import hold_keys, stays

INTERRUPTED = "User interrupt occurred"


def answers_for(c, seconds):
    """Checks, for that long, that every window of the console answers
    WM_NULL within 200 ms; returns the slowest answer seen."""
    slowest, deadline = 0, time.monotonic() + seconds
    while True:  # asked once at least
        r = c.responds()
        expect(r["windows"] > 0 and r["answered"], f"every window answers in 200 ms ({r})")
        slowest = max(slowest, r["slowest_ms"])
        if time.monotonic() >= deadline:
            return slowest


def stop_with_esc(c, what):
    """Presses Esc and waits for the line to end; returns the seconds it took."""
    start = time.monotonic()
    c.key("Escape")
    c.wait_idle(10)
    seconds = time.monotonic() - start
    print(f"Esc stopped {what} in {seconds:.2f}s")
    return seconds


def test_esc_stops_an_endless_script_its_batch_file_and_dos_lines_and_what_they_started(c):
    drive = c.drive_c
    (drive / "stuck.dcb").write_bytes(b"set first=1\r\nvb do:loop\r\nset third=1\r\n")
    # A line a second for 20 s, from a second interpreter that the DOS
    # command starts; "ping -n 2" waits about a second under Wine.
    (drive / "ticks.bat").write_bytes(b"@echo off\r\n" + b"".join(
        b"echo tick %d\r\nping -n 2 127.0.0.1 > nul\r\n" % i for i in range(1, 21)))
    bar = c.launch().bar["hwnd"]
    c.submit("vb do:loop")
    c.wait_command("vb do:loop", "the loop to run")
    slowest = answers_for(c, 5)
    print(f"slowest WM_NULL answer while the loop ran: {slowest} ms")
    expect(c.snapshot().command == "vb do:loop", "the loop still runs after 5 s")
    stop_with_esc(c, "the loop")
    pane_holds(c, INTERRUPTED, "the interrupt error line")
    pane_holds(c, "42", "the next line to run normally", after="print 6*7")

    c.submit("C:\\stuck.dcb")
    c.wait_command("vb do:loop", "the batch file's second line to run")
    answers_for(c, 1)
    stop_with_esc(c, "the batch file")
    c.enter_line("?first & \"/\" & third")
    pane_holds(c, "1/", "the first line's variable kept, the third line never run")

    pings = c.count_processes("ping.exe")
    c.submit("dos cmd /c C:\\ticks.bat")
    start = time.monotonic()
    c.wait_for(lambda s: s.pane_text and "tick 1" in s.pane_text, "the first line", timeout=15)
    first = time.monotonic() - start
    print(f"the first line showed after {first:.1f}s")
    expect(first < 3, f"the first line shows within 3 s while the command runs ({first:.1f}s)")
    expect(c.snapshot().command is not None, "the bar still answers")
    stop_with_esc(c, "the DOS command")
    # The pump shows the stop line on its next turn after the line has ended.
    text = c.wait_for(lambda s: (s.pane_text or "").endswith("DOS command stopped"),
                      "the stop told after the output", timeout=10).pane_text
    expect("tick 20" not in text, "the command did not run to its end")
    wait_until(lambda: c.count_processes("cmd.exe") == 0 and
               c.count_processes("ping.exe") == pings, 10, "no process of the command left")
    left = [str(p) for p in drive.rglob("DOS-*")]
    expect_equal(left, [], "temporary files left behind")

    processes = {exe: c.count_processes(exe) for exe in ("ping.exe", "start.exe", "cmd.exe")}
    line = "dos start /wait ping -n 12 127.0.0.1"
    c.submit(line)
    wait_until(lambda: c.count_processes("ping.exe") > processes["ping.exe"], 15, "ping to start")
    # START opens a console window of its own for ping, which takes the
    # keyboard: an Esc pressed now is that window's. A click on the bar
    # gives it back the keyboard while the line runs.
    c.wait_for(lambda s: s.data["foreground"] != bar, "the window START opens in front")
    left, top, right, bottom = c.snapshot().control(102)["rect"]
    c.xdotool("mousemove", str(left + 40), str((top + bottom) // 2), "click", "1")
    c.wait_for(lambda s: s.data["foreground"] == bar, "the click to bring the bar forward", 5)
    expect_equal(c.snapshot().command, line, "the line still running")
    seconds = stop_with_esc(c, "the DOS command that started ping")
    expect(seconds < 4, f"Esc stopped the line within a few seconds ({seconds:.1f}s)")
    pane_holds(c, "DOS command stopped", "the stop told")
    # The job held what START started: nothing of the run is left.
    wait_until(lambda: all(c.count_processes(exe) == n for exe, n in processes.items()), 5,
               "no process of the run left")
    pane_holds(c, "42", "the next line runs", after="print 6*7")

    # A function key typed with a modifier during a line fires nothing after it.
    c.enter_line("set F6=echo f6-fired{ENTER}")
    line = "vb t = Timer:Do While Timer - t < 3:Loop"
    # The modifier is held as a hand holds it: Wine reads a chord that
    # xdotool presses and lets go at once as F6 alone.
    for modifiers in (["Shift_L"], ["Control_L"], ["Alt_L"], []):
        c.submit(line)
        c.wait_command(line, "the line to run")
        with hold_keys(c, modifiers):
            time.sleep(0.3)  # the modifier's own event comes first
            c.key("F6")
            time.sleep(0.3)
        c.wait_idle(15)
        if not modifiers:
            # The key without a modifier is held too, and types its macro.
            pane_holds(c, "f6-fired", "plain F6 firing after the line")
        else:
            stays(c, lambda s: "f6-fired" not in (s.pane_text or "") and s.command == "", 2,
                  f"{modifiers[0]}+F6 firing nothing")


# Slow recursion of every kind: each level takes long enough for the console
# to read its settings between levels, which must not move the stack guard.
RECURSIONS = [
    "vb function f(n):dim i:for i=1 to 3000:next:f=f(n+1):end function|print f(1)",
    "vb class c1:function m(n):dim i:for i=1 to 3000:next:m=me.m(n+1):end function:"
    "end class|vb set o=new c1|print o.m(1)",
    'vb function g(n):dim i:for i=1 to 3000:next:set r=getref("g"):g=r(n+1):end function'
    "|print g(1)",
    'vb sub r2(n):dim i:for i=1 to 3000:next:execute "r2 " & (n+1):end sub|vb r2 1',
    'vb function e2(n):dim i:for i=1 to 3000:next:e2=eval("e2(" & (n+1) & ")"):end function'
    "|print e2(1)",
]
OUT_OF_STACK = "Out of stack space"


def test_slow_recursion_ends_out_of_stack_typed_and_from_a_client_whose_ctrl_c_stops_a_line(c):
    c.launch()
    for line in RECURSIONS:
        start = time.monotonic()
        c.enter_line(line, timeout=60)
        pane_holds(c, OUT_OF_STACK, f"the end of {line!r}")
        print(f"typed: out of stack after {time.monotonic() - start:.1f}s: {line[:40]}...")
        pane_holds(c, "42", "the next line runs", after="print 6*7")
    port = free_port()
    c.enter_line(f"listen {port}")
    client = Client(port)
    client.wait_for(ends_with_prompt, "the first prompt")
    for line in RECURSIONS:
        client.take()
        client.send(line.encode() + b"\r\nprint 6*7\r\n")
        client.wait_for(lambda d: OUT_OF_STACK.encode() in d and b"42" in d,
                        f"the end of {line!r} and the next line", timeout=60)
    # What the line prints before its loop reaches the client while it runs;
    # a Ctrl+C stops the line, and the line sent before it runs after.
    client.take()
    client.send(b'print "looping"|vb do:loop\r\n')
    client.wait_text(b"looping")
    answers_for(c, 2)
    client.send(b"print 6*7\r\n")
    start = time.monotonic()
    client.send(b"\x03")
    client.wait_for(lambda d: INTERRUPTED.encode() in d and b"42" in d,
                    "the interrupt error, then the second line's output", timeout=10)
    print(f"Ctrl+C stopped the client's line; both answers came in "
          f"{time.monotonic() - start:.2f}s")
    data = client.take()
    expect(data.index(INTERRUPTED.encode()) < data.index(b"42"), f"in order: {data!r}")
    client.close()


def test_keys_typed_during_a_line_while_a_clients_line_waits_land_once_each(c):
    client = served_client(c)
    # The client's first line runs for a while; its second waits, meets the
    # keys let through after the first, pumps while they pass, and ends the
    # service, so that they land in the command box once it is free.
    start = time.monotonic()
    client.send(b"vb t = Timer:Do While Timer - t < 8:Loop\r\n"
                b"vb t = Timer:Do While Timer - t < 1:Loop|disconnect\r\n")
    box = c.wait_for(lambda s: s.prompt == "Serving 127.0.0.1", "the client's line").control(102)
    left, top, right, bottom = box["rect"]
    c.click_until_focused(box["hwnd"], left + 40, (top + bottom) // 2, "the command box")
    c.xdotool("type", "--delay", "5", "abc")
    typed = time.monotonic() - start
    expect(typed < 7, f"the keys were typed while the first line ran ({typed:.1f}s)")
    c.wait_for(lambda s: s.prompt != "Serving 127.0.0.1", "the service to end", timeout=20)
    # Keys let through after a line arrive one message at a time: once they
    # are all in, the box keeps them, each once.
    c.wait_command("abc", "the typed keys to land")
    stays(c, lambda s: s.command == "abc", 1.5, "the typed keys landing once each")
    client.close()
