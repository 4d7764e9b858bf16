"""Scripts reaching the system's automation objects (COM) from the console:
the FileSystemObject, WScript.Shell, WMI and a collection's array, all of
them Wine's own."""

import time

from busy_tests import INTERRUPTED, answers_for, stop_with_esc
from harness import close_notepad, expect, pane_holds, pane_shows, wait_until

# Wine's own Dictionary, reached by its class id (the console's CreateObject
# gives its built-in one for the name): a COM method that returns an array.
_COM_DICTIONARY = "{EE09B103-97E0-11CF-978F-00A02463E06F}"

_SCRIPT = "\r\n".join([
    "keepoutput on",
    'vb Set fso = CreateObject("Scripting.FileSystemObject")',
    'vb Set f = fso.CreateTextFile("C:\\com_test.txt", True) : f.WriteLine "written through COM"',
    'vb f.Close : Set f = Nothing',
    'echo exists `fso.FileExists("C:\\com_test.txt")`',
    'type C:\\com_test.txt',
    'vb On Error Resume Next : Set g = fso.GetFile("C:\\nope.txt") : n = Err.Number',
    'echo missing `n` `TypeName(g)`',
    'vb Set sh = CreateObject("WScript.Shell") : w = sh.ExpandEnvironmentStrings("%WINDIR%")',
    'echo windir `LCase(Left(w, 10))`',
    'vb n = 0 : For Each p In GetObject("winmgmts:").ExecQuery("select * from Win32_Process")'
    ' : n = n + 1 : Next',
    'echo processes `n > 0`',
    f'vb Set d = CreateObject("{_COM_DICTIONARY}") : d.Add "a", 1 : d.Add "b", 2 : k = d.Keys',
    'echo keys `UBound(k)` `k(1)` `TypeName(k)`',
    'vb Set fso = Nothing : Set d = Nothing',
    'echo done',
    "",
])


def test_scripts_use_the_systems_automation_objects_and_esc_ends_a_call_that_waits(c):
    c.launch(timeout=90)
    (c.shortcuts / "comtest.dcb").write_bytes(_SCRIPT.encode("cp1252"))
    c.enter_line("comtest")
    snap = c.wait_for(lambda s: (s.pane_text or "").endswith("done"), "the script to finish",
                      timeout=90)
    # Each line of the batch file starts its output on a new line.
    lines = [line for line in snap.pane_text.split("\r\n") if line]
    expect(lines == ["exists True", "written through COM", "missing 53 Empty",
                     "windir c:\\windows", "processes True", "keys 1 b Variant()", "done"],
           f"what the script printed: {lines!r}")

    # WScript.Shell's Run starts a program with the window style it is given.
    c.enter_line('vb r = CreateObject("WScript.Shell").Run("notepad.exe", 1, False)')
    close_notepad(c)
    c.enter_line("keepoutput off")
    pane_shows(c, "\r\n0", "Run's result", after="print r")

    # Run waits for the program it starts: the call stays inside the object
    # for as long as Notepad is open.
    c.enter_line('vb set early=CreateObject("WScript.Shell")')
    c.enter_line('vb set sh=CreateObject("WScript.Shell")')
    c.enter_line("print TypeName(sh)")
    type_name = c.wait_for(lambda s: (s.pane_text or "").strip(), "the type name").pane_text.strip()
    expect(type_name not in ("", "Object"), f"WScript.Shell's type name ({type_name!r})")
    line = 'vb rc=sh.Run("notepad.exe", 1, True)'
    c.submit(line)
    wait_until(lambda: c.count_processes("notepad.exe") == 1, 30, "Notepad to start")
    slowest = answers_for(c, 1.5)
    print(f"slowest WM_NULL answer while the call waited: {slowest} ms")
    expect(c.snapshot().command == line, "the line still runs")
    stop_behind_notepad(c)

    # While Notepad stays open, a new object lives elsewhere and answers at
    # once; the held object says what it knows and refuses the rest.
    seconds = answer_time(c, 'print CreateObject("Scripting.FileSystemObject").FolderExists("C:\\")',
                          "True")
    expect(seconds < 2, f"a new object's call answers within 2 s ({seconds:.2f}s)")
    seconds = answer_time(c, "print TypeName(sh)", type_name)
    expect(seconds < 1, f"TypeName of the held object answers within 1 s ({seconds:.2f}s)")
    # A call on it, or on an object made before it on its thread, is refused
    # with a message that says why.
    for held in ("sh", "early"):
        c.enter_line(f'print {held}.ExpandEnvironmentStrings("%WINDIR%")', timeout=5)
        c.wait_for(lambda s: (s.pane_text or "").strip().endswith(
            "The object is busy: it was made on the same thread as a call that was stopped and "
            "has not returned yet"), f"a call on {held} refused", 5)
    expect(c.count_processes("notepad.exe") == 1, "Notepad still runs after the stop")

    # Once Notepad is closed, the object answers again.
    close_notepad(c)

    def answers_again():
        c.enter_line('print sh.ExpandEnvironmentStrings("%WINDIR%")')
        said = c.wait_for(lambda s: "windows" in (s.pane_text or "") or
                          "busy" in (s.pane_text or ""), "an answer").pane_text
        return said.strip() == "C:\\windows"
    wait_until(answers_again, 20, "the held object to answer again once Notepad is closed")

    # EXIT does not wait long for a call still held.
    c.submit('vb rc=sh.Run("notepad.exe", 1, True)')
    wait_until(lambda: c.count_processes("notepad.exe") == 1, 30, "Notepad to start again")
    stop_behind_notepad(c)
    start = time.monotonic()
    c.exit(c.processes[0])
    seconds = time.monotonic() - start
    print(f"EXIT with a call held ended the console in {seconds:.2f}s")
    expect(seconds < 6, f"EXIT ends the console soon ({seconds:.2f}s)")


def stop_behind_notepad(c):
    """Stops the running line with Esc once Notepad, which it opened, has
    taken the keyboard: a click on the bar gives it back."""
    bar = c.snapshot().bar["hwnd"]
    c.wait_for(lambda s: s.data["foreground"] != bar, "Notepad in front")
    left, top, right, bottom = c.snapshot().control(102)["rect"]
    c.xdotool("mousemove", str(left + 40), str((top + bottom) // 2), "click", "1")
    c.wait_for(lambda s: s.data["foreground"] == bar, "the click to bring the bar forward", 5)
    seconds = stop_with_esc(c, "the script")
    expect(seconds < 2, f"Esc ends the script at once ({seconds:.2f}s)")
    pane_holds(c, INTERRUPTED, "the interrupt error line")


def answer_time(c, line, text):
    """Seconds from Enter to the pane showing text for a typed line."""
    c.type(line)
    c.wait_command(line)
    start = time.monotonic()
    c.key("Return")
    pane_holds(c, text, f"{line!r} to print {text!r}")
    seconds = time.monotonic() - start
    print(f"{line} answered in {seconds:.2f}s")
    return seconds
