"""Scripts reaching the system's automation objects (COM) from the console:
the FileSystemObject, WScript.Shell, WMI and a collection's array, all of
them Wine's own."""

from file_tests import _close_notepad, _shortcuts
from harness import expect, pane_shows

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


def test_scripts_use_the_systems_automation_objects(c):
    c.start()
    c.wait_ready(timeout=90)
    (_shortcuts(c) / "comtest.dcb").write_bytes(_SCRIPT.encode("cp1252"))
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
    _close_notepad(c)
    c.enter_line("keepoutput off")
    c.enter_line("print r")
    pane_shows(c, "\r\n0", "Run's result")
