"""Scripts reaching the system's automation objects (COM) from the console:
the FileSystemObject, WScript.Shell, WMI and a collection's array, all of
them Wine's own."""

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
    # for as long as ping runs (about 7 s).
    pings = c.count_processes("ping.exe")
    line = 'vb set sh=CreateObject("WScript.Shell"):rc=sh.Run("ping -n 8 127.0.0.1", 0, True)'
    c.submit(line)
    wait_until(lambda: c.count_processes("ping.exe") > pings, 15, "ping to start")
    slowest = answers_for(c, 1.5)
    print(f"slowest WM_NULL answer while the call waited: {slowest} ms")
    expect(c.snapshot().command == line, "the line still runs")
    seconds = stop_with_esc(c, "the script")
    expect(seconds < 2, f"Esc ends the script at once ({seconds:.2f}s)")
    pane_holds(c, INTERRUPTED, "the interrupt error line")
    # What the object goes on doing is its own: the program keeps running.
    expect(c.count_processes("ping.exe") > pings, "ping still runs after the stop")
    pane_holds(c, "42", "the next line to run normally", after="print 6*7")
    wait_until(lambda: c.count_processes("ping.exe") == pings, 20, "ping to end on its own")
