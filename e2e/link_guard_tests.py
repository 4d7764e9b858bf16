"""End-to-end tests of what guards a listening console: penalties that
decay for the sources of failed logins, the transcript of every link in the
user's Links folder, and LinkCommands, the commands a client may run. The
clients are plain TCP clients of the line protocol, as older consoles are."""

import re
import time

from harness import expect, expect_equal, wait_until
from remote_tests import Client, free_port, logged_in


def pane_says(console, text, what, timeout=30):
    """Waits for the pane to hold text, the pane's own wrapping aside."""
    return console.wait_for(lambda s: text in (s.pane_text or "").replace("\r\n", ""), what,
                            timeout=timeout)


def guess_twice(port):
    """A client that sends two wrong passwords and leaves: 5 + 5 + 1
    seconds of penalty. False when it was refused at the knock instead."""
    client = Client(port)
    client.wait_for(lambda d: b"Password>" in d or client.closed, "a prompt or a close")
    if b"Password>" not in client.data:
        client.close()
        return False
    for _ in range(2):
        client.take()
        client.send(b"nope\r\n")
        client.wait_text(b"Password incorrect\r\n")
    client.close()
    return True


def refused_at_knock(port):
    """Whether a client is closed before it gets anything."""
    client = Client(port)
    client.wait_closed()
    data = client.take()
    client.close()
    return data == b""


def served(port):
    """Whether a client gets the password prompt."""
    client = Client(port)
    try:
        client.wait_for(lambda d: b"Password>" in d or client.closed, "a prompt or a close")
        return b"Password>" in client.data
    finally:
        client.close()


def transcript(c):
    """The server's transcript: every day file, in order."""
    days = sorted(c.drive_c.glob("users/*/AppData/Roaming/Orvane/Vantrel/Links/*.txt"))
    return b"".join(day.read_bytes() for day in days).decode("utf-8")


def test_link_guard_penalties_decay_refuse_at_the_knock_spare_the_exempt_and_unban_clears(c):
    port = free_port()
    c.launch()
    c.enter_line(f"listen {port} secret")
    # Two rounds of two wrong passwords from 127.0.0.1: 22 seconds, less
    # what has decayed, and the third knock is closed before any prompt.
    start = time.monotonic()
    expect(guess_twice(port) and guess_twice(port), "two rounds served")
    c.wait_for(lambda s: "Serving" not in (s.prompt or ""), "the console local again")
    if time.monotonic() - start < 6:
        expect(refused_at_knock(port), "the third knock closed before any prompt")
    else:  # a machine so slow that the penalty decayed below 15 meanwhile
        wait_until(lambda: not guess_twice(port), 60, "the address refused")
    pane_says(c, "Client 127.0.0.1 refused: ", "the refusal in the pane")
    pane_says(c, " seconds of penalty for failed logins left", "the seconds left in the pane")
    c.enter_line("ban")
    pane_says(c, "127.0.0.1 has ", "BAN lists the penalty")
    # The penalty counts down a second a second: served again once it is
    # below 15 seconds, some seconds later.
    refused_at = time.monotonic()
    wait_until(lambda: served(port), 30, "the address served again")
    waited = time.monotonic() - refused_at
    print(f"served again {waited:.1f} s after the refusal")

    # Guessing on, the address is refused again, until UNBAN clears its
    # penalty.
    wait_until(lambda: not guess_twice(port), 60, "the address refused again")
    c.enter_line("unban 127.0.0.1")
    expect(served(port), "served at once after UNBAN")

    # An exempt address is never refused.
    c.enter_line("set LinkPenaltyExempt=::1, 127.0.0.1")
    for _ in range(3):
        expect(guess_twice(port), "the exempt address served")
        c.wait_for(lambda s: "Serving" not in (s.prompt or ""), "the console local again")
    expect(served(port), "the exempt address served after six wrong passwords")
    days = transcript(c)
    expect("refused, penalty of " in days, f"the refused knock in the transcript: {days[-600:]!r}")
    expect("nope" not in days, "no password typed in the transcript")


def test_link_guard_limited_commands_refuse_every_way_around_and_an_unwritable_transcript_serves_nobody(c):
    port = free_port()
    c.shortcuts.mkdir(parents=True, exist_ok=True)
    (c.shortcuts / "Autoexec.dcb").write_bytes(b"set LinkCommands=print dir\r\n")
    (c.shortcuts / "job.dcb").write_bytes(b"md C:\\linked3\r\n")
    c.launch()
    c.enter_line(f"listen {port} secret")
    client = logged_in(port, b"secret")
    client.send(b"print 6*7\r\n")
    client.wait_for(lambda d: b"\r\n42\r\n" in d, "the answer 42")
    refused = [b"md C:\\linked", b"vb x=1", b"notepad", b"job",
               b'print `CreateObject("Scripting.FileSystemObject").CreateFolder("C:\\linked2")`',
               b'print CreateObject("Scripting.FileSystemObject").CreateFolder("C:\\linked2")',
               b"print 1 | md C:\\linked", b"set LinkCommands=", b"?x"]
    for line in refused:
        client.take()
        client.send(line + b"\r\n")
        client.wait_for(lambda d: re.search(rb"Refused: [^\r\n]*\r\n", d),
                        f"the refusal of {line!r}")
    client.take()
    client.send(b"dir C:\\\r\n")
    client.wait_for(lambda d: b"windows" in d.lower(), "DIR runs")
    client.close()
    c.wait_for(lambda s: "Serving" not in (s.prompt or ""), "the console local again")
    for folder in ("linked", "linked2", "linked3"):
        expect(not (c.drive_c / folder).exists(), f"no C:\\{folder}")
    days = transcript(c)
    print(days)
    for text in ("runs: print 6*7", "refused, md is not among the commands this link may run: "
                 "md C:\\linked", "refused, notepad would be opened by run",
                 "refused, a marker (`) runs script", "end: the client left"):
        expect(text in days, f"{text!r} in the transcript: {days[-1200:]!r}")
    expect("secret" not in days, "no password in the transcript")

    # With a file standing where the Links folder was, nobody is served.
    links = next(c.drive_c.glob("users/*/AppData/Roaming/Orvane/Vantrel/Links"))
    for day in links.iterdir():
        day.unlink()
    links.rmdir()
    links.write_bytes(b"in the way")
    expect(refused_at_knock(port), "the client closed before any prompt")
    pane_says(c, "refused: the link transcript could not be written", "why, in the pane")
    links.unlink()
    expect(served(port), "served once the transcript can be written again")
    expect_equal(len(list(links.glob("*.txt"))), 1, "a day file made anew")
