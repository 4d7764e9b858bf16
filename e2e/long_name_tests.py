"""End-to-end test of names of any length and any bytes, sent by a client of
the remote listener: after every line the console still runs and answers,
no address the shell cannot take reaches it, and device names answer at
once instead of waiting on the device."""

import time

from busy_tests import answers_for
from harness import expect, expect_equal, record_opened_addresses, wait_until
from remote_tests import Client, free_port

LENGTHS = (300, 1000, 2000, 5000, 40000, 300000)
# The commands that take a name, those that take two, and those that open it.
PATH_COMMANDS = (b"cd", b"cdd", b"md", b"rd", b"dir", b"del", b"type", b"edit", b"addbatch",
                 b"editbatch", b"delbatch", b"run", b"runhide")
PAIR_COMMANDS = (b"copy", b"move", b"rename")
ADDRESS_LINES = (b"help ", b"orvanesite ", b"run http://a/", b"www.")
# Bytes no name may hold, and bytes that names may hold; never the line end,
# the backspace the protocol edits with, or the Ctrl+C that stops a line.
INVALID = bytes(b for b in range(1, 0x20) if b not in b"\x03\x08\r\n") + b'"*?<>|'
HIGH = bytes(range(0x7f, 0x100))
# The longest address Wine's shell is handed (see win32_shell.cpp).
WINE_ADDRESS_LIMIT = 967
# The lines whose address is short enough to be opened, and that address.
SHORT = b"a" * 300
SHORT_ADDRESSES = {b"help " + SHORT: b"http://vtrl.orvane.com/documentation/" + SHORT + b".html",
                   b"orvanesite " + SHORT: b"http://" + SHORT + b".orvane.com/",
                   b"run http://a/" + SHORT: b"http://a/" + SHORT,
                   b"find " + SHORT: b"http://example.com/?q=" + SHORT}
# A batch file that echoes its first parameter, and a search shortcut as
# ADDSEARCH writes it.
BATCH_FILES = {"names.dcb": b"echo `1`\r\n",
               "find.dcb": b"set Search=``\r\nurlhex Search\r\nhttp://example.com/?q=`Search`\r\n"
                           b"set Search=\r\n"}


def lines_for(name, addresses=True):
    """Every command with name as its argument, and name as a word of its
    own (opened as a target)."""
    lines = [command + b" " + name for command in PATH_COMMANDS]
    lines += [command + b" " + name + b" b.txt" for command in PAIR_COMMANDS]
    lines.append(b"copy a.txt " + name)
    if addresses:
        lines += [head + name for head in ADDRESS_LINES]
        lines += [b"names " + name, b"find " + name]
    return lines + [name]


def test_long_and_odd_names_leave_the_console_running_and_answering(c):
    opened = record_opened_addresses(c)
    work = c.drive_c / "work"
    work.mkdir()
    (work / "a.txt").write_bytes(b"x")
    log = c.logs / f"{c.name}.wine.log"
    log_start = log.stat().st_size if log.exists() else 0
    port = free_port()
    process = c.start("listen", str(port), cwd=work)
    c.wait_ready()
    for name, text in BATCH_FILES.items():
        (c.shortcuts / name).write_bytes(text)
    client = Client(port)
    # The pane's clear request of a first start may follow the prompt.
    client.wait_text(b"C:\\work>")
    client.take()
    marks = 0

    def run(line, timeout=30):
        """Sends a line and a mark after it; once the mark is back, the line
        has run and the console still runs."""
        nonlocal marks
        marks += 1
        mark = b"mark-%d" % marks
        client.send(line + b"\r\nprint \"" + mark + b"\"\r\n")
        client.wait_for(lambda d: mark + b"\r\n" in d,
                        f"the mark after {line[:40]!r}... ({len(line)} bytes)", timeout)
        client.take()
        expect(process.poll() is None, f"the console still runs after {line[:40]!r}...")

    def recorded():
        return set(opened.read_bytes().split(b"\r\n")) if opened.exists() else set()

    start = time.monotonic()
    for n in LENGTHS:
        for line in lines_for(b"a" * n):
            run(line)
            # Each address is written down by a command interpreter of its
            # own, appending to one file; two at once can overwrite each
            # other's line, so the next line waits for this one's.
            address = SHORT_ADDRESSES.get(line)
            if address:
                wait_until(lambda: address in recorded(), 60, f"{address[:40]!r}... to be opened")
        answers_for(c, 0)
    # Odd bytes as names; a valid one would be a new batch file, opened in
    # the editor.
    for line in lines_for(b"x" + INVALID + b"y", False) + lines_for(b"x" + HIGH, False):
        if not line.startswith(b"addbatch x\x7f"):
            run(line)
    answers_for(c, 0)
    # A device would keep a read waiting for ever.
    for device in (b"COM1", b"com1.txt", b"C:\\work\\nul", b"\\\\.\\COM1", b"AUX"):
        for command in (b"type ", b"run ", b"runhide ", b"runmin ", b"edit ", b"copy a.txt ", b""):
            run(command + device, timeout=10)
    answers_for(c, 0)
    print(f"{marks} lines in {time.monotonic() - start:.1f}s")

    # The short addresses reached the shell above; no longer one ever does.
    for address in recorded():
        expect(len(address) <= WINE_ADDRESS_LIMIT,
               f"an address of {len(address)} characters reached the shell")
    with open(log, "rb") as f:
        f.seek(log_start)
        expect_equal(f.read().count(b"Unhandled"), 0, "faults in Wine's log of the console")
