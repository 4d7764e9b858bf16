"""End-to-end tests of long work: the bar keeps answering while a line runs,
Esc (or a client's Ctrl+C) stops it, and what came meanwhile gets its turn."""

import time

from harness import expect, expect_equal, wait_until
from remote_tests import Client, ends_with_prompt, free_port, served_client
from window_tests import hold_keys, stays

INTERRUPTED = "User interrupt occurred"


def pane_holds(c, text, what):
    """Waits for the pane to show text, blank lines around it aside."""
    return c.wait_for(lambda s: s.pane_text is not None and s.pane_text.strip() == text, what)


def answers_for(c, seconds):
    """Checks, for that long, that every window of the console answers
    WM_NULL within 200 ms; returns the slowest answer seen."""
    slowest = 0
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        r = c.responds()
        expect(r["windows"] > 0 and r["answered"], f"every window answers in 200 ms ({r})")
        slowest = max(slowest, r["slowest_ms"])
    return slowest


def stop_with_esc(c, what):
    """Presses Esc and waits for the line to end; returns the seconds it took."""
    start = time.monotonic()
    c.key("Escape")
    c.wait_idle(10)
    seconds = time.monotonic() - start
    print(f"Esc stopped {what} in {seconds:.2f}s")
    return seconds


def test_an_endless_script_keeps_the_bar_answering_and_esc_stops_it_and_its_batch_file(c):
    (c.prefix / "drive_c" / "stuck.dcb").write_bytes(
        b"set first=1\r\nvb do:loop\r\nset third=1\r\n")
    c.start()
    c.wait_ready()
    c.submit("vb do:loop")
    c.wait_for(lambda s: s.command == "vb do:loop", "the loop to run")
    slowest = answers_for(c, 5)
    print(f"slowest WM_NULL answer while the loop ran: {slowest} ms")
    expect(c.snapshot().command == "vb do:loop", "the loop still runs after 5 s")
    stop_with_esc(c, "the loop")
    pane_holds(c, INTERRUPTED, "the interrupt error line")
    c.enter_line("print 6*7")
    pane_holds(c, "42", "the next line to run normally")

    c.submit("C:\\stuck.dcb")
    c.wait_for(lambda s: s.command == "vb do:loop", "the batch file's second line to run")
    answers_for(c, 1)
    stop_with_esc(c, "the batch file")
    c.enter_line("?first & \"/\" & third")
    pane_holds(c, "1/", "the first line's variable kept, the third line never run")


def test_dos_shows_its_output_as_it_comes_and_esc_ends_it_with_what_it_started(c):
    # A line a second for 20 s, from a second interpreter that the DOS
    # command starts; "ping -n 2" waits about a second under Wine.
    drive = c.prefix / "drive_c"
    (drive / "ticks.bat").write_bytes(b"@echo off\r\n" + b"".join(
        b"echo tick %d\r\nping -n 2 127.0.0.1 > nul\r\n" % i for i in range(1, 21)))
    c.start()
    c.wait_ready()
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


def test_slow_recursion_ends_out_of_stack_typed_and_from_a_client(c):
    c.start()
    c.wait_ready()
    for line in RECURSIONS:
        start = time.monotonic()
        c.enter_line(line, timeout=60)
        pane_holds(c, OUT_OF_STACK, f"the end of {line!r}")
        print(f"typed: out of stack after {time.monotonic() - start:.1f}s: {line[:40]}...")
        c.enter_line("print 6*7")
        pane_holds(c, "42", "the next line runs")
    port = free_port()
    c.enter_line(f"listen {port}")
    client = Client(port)
    client.wait_for(ends_with_prompt, "the first prompt")
    for line in RECURSIONS:
        client.take()
        client.send(line.encode() + b"\r\nprint 6*7\r\n")
        client.wait_for(lambda d: OUT_OF_STACK.encode() in d and b"42" in d,
                        f"the end of {line!r} and the next line", timeout=60)
    client.close()


def test_esc_stops_a_dos_line_with_the_program_start_started_in_it(c):
    c.start()
    bar = c.wait_ready().bar["hwnd"]
    processes = {exe: c.count_processes(exe) for exe in ("ping.exe", "start.exe", "cmd.exe")}
    line = "dos start /wait ping -n 12 127.0.0.1"
    c.submit(line)
    wait_until(lambda: c.count_processes("ping.exe") > processes["ping.exe"], 15, "ping to start")
    # START opens a console window of its own for ping, which takes the
    # keyboard: an Esc pressed now is that window's. A click on the bar
    # gives it back the keyboard while the line runs.
    c.wait_for(lambda s: s.data["foreground"] != bar, "the window START opens in front")
    box = c.snapshot().control(102)
    left, top, right, bottom = box["rect"]
    c.xdotool("mousemove", str(left + 40), str((top + bottom) // 2), "click", "1")
    c.wait_for(lambda s: s.data["foreground"] == bar, "the click to bring the bar forward", 5)
    expect_equal(c.snapshot().command, line, "the line still running")
    seconds = stop_with_esc(c, "the DOS command that started ping")
    expect(seconds < 4, f"Esc stopped the line within a few seconds ({seconds:.1f}s)")
    pane_holds(c, "DOS command stopped", "the stop told")
    # The job held what START started: nothing of the run is left.
    wait_until(lambda: all(c.count_processes(exe) == n for exe, n in processes.items()), 5,
               "no process of the run left")
    c.enter_line("print 6*7")
    pane_holds(c, "42", "the next line runs")


def test_a_clients_ctrl_c_stops_its_line_and_its_next_line_runs_after(c):
    client = served_client(c)
    # What the line prints before its loop reaches the client while it runs.
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


def settled_command(c, what, quiet=1.5, timeout=30):
    """Waits until the command box has kept one text for a while: keys let
    through after a line arrive one message at a time. Returns the text."""
    last = {"text": None, "since": time.monotonic()}

    def check():
        text = c.snapshot().command
        now = time.monotonic()
        if text != last["text"]:
            last.update(text=text, since=now)
            return None
        return text if text and now - last["since"] >= quiet else None
    return wait_until(check, timeout, what)


def test_a_function_key_typed_with_a_modifier_during_a_line_fires_nothing_after_it(c):
    c.start()
    c.wait_ready()
    c.enter_line("set F6=echo f6-fired{ENTER}")
    line = "vb t = Timer:Do While Timer - t < 3:Loop"
    # The modifier is held as a hand holds it: Wine reads a chord that
    # xdotool presses and lets go at once as F6 alone.
    for modifiers in (["Shift_L"], ["Control_L"], ["Alt_L"], []):
        c.submit(line)
        c.wait_for(lambda s: s.command == line, "the line to run")
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
    expect_equal(settled_command(c, "the typed keys to land"), "abc", "the command box")
    client.close()
