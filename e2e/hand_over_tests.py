"""A second start hands its argument to the console that runs: a line run
as if typed, the bar brought forward, a path from Explorer opened literally."""

from harness import expect_equal, start_notepad, wait_until


def second_start(c, *args):
    """Starts Vantrel.exe beside the running console; returns its exit code
    once it has ended (the harness ends it by its process id otherwise)."""
    p = c.start(*args)
    wait_until(lambda: p.poll() is not None, 60, "the second start to end")
    c.processes.remove(p)  # the console waited on stays the first
    return p.returncode


def one_console(c):
    snap = c.snapshot()
    expect_equal(len(snap.pids), 1, "running consoles")
    expect_equal(len([w for w in snap.windows if w["class"] == "VantrelMain"]), 1, "bars")


def test_a_second_start_runs_its_line_brings_the_bar_forward_and_opens_folders(c):
    c.launch()
    c.type("half typed")
    expect_equal(second_start(c, "echo", "forwarded-line"), 0, "the second start's exit code")
    c.wait_for(lambda s: "forwarded-line" in (s.pane_text or ""), "the line's output in the pane")
    c.wait_command("half typed", "the half-typed text back in the box")
    one_console(c)

    # Alone, it brings the bar forward with its command box focused.
    start_notepad(c)
    expect_equal(second_start(c), 0, "the exit code of a start without a line")
    box = c.snapshot().control(102)["hwnd"]
    c.wait_for(lambda s: s.data["foreground"] == s.bar["hwnd"], "the bar in the foreground")
    c.wait_for(lambda s: s.data["focus"] == box, "the command box focused")
    one_console(c)

    # A path from Explorer is taken literally: the back-quotes are no script.
    folder = c.drive_c / "some `1+1` dir"
    folder.mkdir()
    expect_equal(second_start(c, "/open", "C:\\some `1+1` dir"), 0, "the exit code of /open")
    c.wait_for(lambda s: s.prompt == "C:\\some `1+1` dir>", "the prompt in the opened folder")
    c.wait_command("half typed", "the half-typed text back after /open")

    # While a line runs, lines handed over wait their turn; one handed over
    # after a waiting EXIT would never run, and its start is told so. Esc
    # then ends the line, and the two taken run.
    line = "vb t = Timer:Do While Timer - t < 300:Loop"
    c.click_command_box()
    c.press("Escape", "", "Esc to empty the box of its half-typed text")
    c.submit(line)
    c.wait_command(line, "the line to run")
    expect_equal(second_start(c, "echo", "before-exit"), 0, "the exit code of a line before EXIT")
    expect_equal(second_start(c, "exit"), 0, "the exit code of EXIT")
    expect_equal(second_start(c, "echo", "after-exit"), 1, "the exit code of a line after EXIT")
    c.key("Escape")  # the second starts leave the command box focused
    wait_until(lambda: c.processes[0].poll() is not None, 60, "the console to end")
