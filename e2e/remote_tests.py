"""End-to-end tests of the remote console: a real Vantrel.exe listens and a
Python TCP client, or a second Vantrel.exe in a prefix of its own, links to
it. Every test takes a free port of its own."""

import ipaddress
import random
import re
import shutil
import socket
import time
from pathlib import Path

from harness import Console, TestFailure, expect, expect_equal, pane_closed, wait_until

BAN_PATH = ("drive_c", "ProgramData", "Orvane", "Vantrel", "Ban.txt")


def free_port():
    """A free port below the ephemeral range, so that no outgoing connection
    of Wine or of a client here can take it before the console listens, and
    a client knocking before that can never connect to itself."""
    low = int(Path("/proc/sys/net/ipv4/ip_local_port_range").read_text().split()[0])
    for _ in range(200):
        port = random.randrange(max(1024, low - 12000), low)
        with socket.socket() as s:
            try:
                s.bind(("0.0.0.0", port))
            except OSError:
                continue
            return port
    raise TestFailure("no free port below the ephemeral range")


class Client:
    """A line-protocol client: what arrives is kept as bytes."""

    def __init__(self, port, timeout=30, host="127.0.0.1"):
        def attempt():
            try:
                sock = socket.create_connection((host, port), timeout=2)
            except OSError:
                return None
            if sock.getsockname() == sock.getpeername():  # connected to itself
                sock.close()
                return None
            return sock
        self.sock = wait_until(attempt, timeout, f"a connection to port {port}")
        self.sock.setblocking(False)
        self.data = b""
        self.closed = False

    def pump(self):
        while not self.closed:
            try:
                chunk = self.sock.recv(1 << 16)
            except BlockingIOError:
                return
            except ConnectionResetError:
                self.closed = True
                return
            if not chunk:
                self.closed = True
                return
            self.data += chunk

    def wait_for(self, predicate, what, timeout=30):
        def check():
            self.pump()
            return predicate(self.data)
        return wait_until(check, timeout, what + f" (received so far: {self.data[-200:]!r})")

    def wait_text(self, text, timeout=30):
        return self.wait_for(lambda d: text in d, f"{text!r} from the console", timeout)

    def wait_closed(self, timeout=30):
        return wait_until(lambda: (self.pump(), self.closed)[1], timeout, "the link to close")

    def take(self):
        self.pump()
        data, self.data = self.data, b""
        return data

    def send(self, data):
        self.sock.setblocking(True)
        self.sock.sendall(data)
        self.sock.setblocking(False)

    def close(self):
        self.sock.close()


def listening_console(c, port, password=""):
    c.launch()
    c.enter_line(f"listen {port} {password}".strip())


def logged_in(port, password):
    """A client logged in with password, its first prompt taken."""
    client = Client(port)
    client.wait_text(b"Password>")
    client.take()
    client.send(password + b"\r\n")
    client.wait_for(ends_with_prompt, "the prompt after the password")
    client.take()
    return client


def served_client(c):
    """A client served by a console that listens without a password, its
    first prompt taken."""
    port = free_port()
    listening_console(c, port)
    client = Client(port)
    client.wait_for(ends_with_prompt, "the first prompt")
    client.take()
    return client


def ends_with_prompt(data):
    return re.search(rb"[A-Z]:\\[^\r\n]*>$", data) is not None


def test_remote_two_consoles_linked_over_ipv6_with_a_password_and_connect_by_name(c):
    port = free_port()
    served = c.prefix.parent / f"{c.name}-served"
    served.mkdir(parents=True, exist_ok=True)
    (served / "served_marker.txt").write_text("x")
    # The server listens from its start-up argument, so only the client's
    # bar is typed into; the client starts last and lies on top.
    c.launch("listen", str(port), "secret", cwd=served)
    other = Console(c.build, c.prefix.parent.parent, c.name + "-client")
    try:
        other.launch()
        # The password goes with CONNECT and answers the prompt by itself.
        other.submit(f"connect [::1]:{port} secret")
        snap = other.wait_for(lambda s: s.prompt and s.prompt.startswith("::1 (encrypted): ")
                              and s.prompt.endswith(">") and "Password" not in s.prompt,
                              "the server's prompt on the client", timeout=60)
        expect("served" in snap.prompt, f"the prompt is the server's folder: {snap.prompt!r}")
        c.wait_for(lambda s: s.prompt == "Serving ::1 (encrypted)", "the server serving")
        other.submit("dir")
        other.wait_for(lambda s: s.pane_text and "served_marker.txt" in s.pane_text,
                       "the server's listing in the client's pane", timeout=60)
        other.wait_for(lambda s: s.command == "" and s.prompt.endswith(">"),
                       "the client ready for the next line")
        other.submit("disconnect")
        other.wait_for(lambda s: s.prompt and not s.prompt.startswith("::1"),
                       "the client back to local")
        c.wait_for(lambda s: s.prompt and "Serving" not in s.prompt, "the server back to local")

        # Names are looked up while the console goes on; one that cannot
        # exist ends in the platform's "no such host" line and a local console.
        other.enter_line("cls")
        pane_closed(other)
        far = free_port()
        with socket.socket() as server:
            server.bind(("127.0.0.1", far))
            server.listen()
            server.setblocking(False)
            other.submit("connect no-such-host.invalid")
            snap = other.wait_for(lambda s: s.pane_text and "host" in s.pane_text.lower()
                                  and s.prompt and not s.prompt.startswith("Connecting"),
                                  "the unknown host reported", timeout=60)
            print(f"the console says: {snap.pane_text.strip()!r}")

            def accept():
                try:
                    return server.accept()[0]
                except BlockingIOError:
                    return None
            # A server that offers no encryption (an older console) is
            # linked in clear only when LinkClear says so.
            other.enter_line("set LinkClear=1")
            other.submit(f"connect localhost:{far}")
            with wait_until(accept, 60, "the console connecting to localhost") as peer:
                peer.sendall(b"C:\\Far>")
                other.wait_for(lambda s: s.prompt == "localhost: C:\\Far>", "the far prompt")
    finally:
        other.close()
        shutil.rmtree(served, ignore_errors=True)


def listening_addresses(port):
    """The addresses the system's socket table shows listening on port."""
    found = set()
    for table, v6 in (("/proc/net/tcp", False), ("/proc/net/tcp6", True)):
        for line in Path(table).read_text().splitlines()[1:]:
            fields = line.split()
            address, hex_port = fields[1].split(":")
            if int(hex_port, 16) != port or fields[3] != "0A":  # 0A: listening
                continue
            raw = bytes.fromhex(address)
            # The table holds each 32-bit word in the host's order.
            raw = b"".join(raw[i:i + 4][::-1] for i in range(0, len(raw), 4))
            found.add(str(ipaddress.IPv6Address(raw) if v6 else ipaddress.IPv4Address(raw)))
    return found


def test_remote_a_silent_client_is_dropped_unbanned_wrong_passwords_kick_ban_and_refuse(c):
    port = free_port()
    # LoginFailBan keeps its default: the time limit must not ban all the same.
    listening_console(c, port, "secret")
    # A local line that prints while it runs; the client knocks once its
    # output shows (the line is running, not just typed) and is taken once
    # the line has ended.
    c.submit("dos ping -n 5 127.0.0.1")
    c.wait_for(lambda s: "Pinging" in (s.pane_text or ""), "the local output in the pane")
    first = Client(port)
    first.wait_text(b"Password>", timeout=60)
    first.send(b"wrong\r\n")
    first.wait_text(b"Password incorrect\r\n")
    expect_equal(first.take(), b"VTRL-NOISE/1\r\nPassword>Password>Password incorrect\r\n",
                 "all the client got before it logged in (after the offer of encryption)")
    # Silent since: dropped a minute after it came, with the autokick's log
    # line, and nothing held against its address.
    first.wait_closed(timeout=90)
    c.wait_for(lambda s: "Autokicked client 127.0.0.1 for failing to login" in (s.pane_text or ""),
               "the kick in the log")
    ban = c.prefix.joinpath(*BAN_PATH)
    expect(not ban.exists() or b"127.0.0.1" not in ban.read_bytes(),
           f"no line for the client in Ban.txt ({ban.read_bytes() if ban.exists() else None!r})")
    first.close()
    second = Client(port)
    second.wait_text(b"Password>")
    c.wait_for(lambda s: s.prompt == "Serving 127.0.0.1", "the serving prompt")
    second.take()
    second.send(b"secret\r\n")
    second.wait_for(ends_with_prompt, "the served prompt of the next client")
    second.take()
    second.send(b"print 6*7\r\n")
    second.wait_for(lambda d: b"\r\n42\r\n" in d, "the output 42")
    data = second.take()
    # The prompt goes at once; the output, led by the pane's clear request,
    # at the next tick.
    expect(re.fullmatch(rb"[A-Z]:\\[^\r\n]*>\x0c\r\n42\r\n", data),
           f"the prompt, then the output: {data!r}")
    second.close()
    c.wait_for(lambda s: s.prompt and s.prompt.endswith(">") and "Serving" not in s.prompt,
               "the local prompt once the client left")

    # Wrong passwords typed in a row kick the client and ban its address.
    client = Client(port)
    client.wait_text(b"Password>")
    for attempt in (b"Secret", b"secret "):
        client.take()
        client.send(attempt + b"\r\n")
        client.wait_for(lambda d: b"Password>" in d and b"Password incorrect\r\n" in d,
                        "a new prompt and Password incorrect")
    client.take()
    client.send(b"nope\r\n")
    client.wait_closed()
    expect(b"Password incorrect" not in client.take(), "no message before the kick")
    client.close()
    wait_until(lambda: ban.exists() and ban.read_bytes() == b"127.0.0.1\r\n", 30,
               "127.0.0.1 in Ban.txt")
    c.wait_for(lambda s: s.pane_text and "] Autobanned client 127.0.0.1 for failing to login"
               in s.pane_text, "the autoban log line")

    again = Client(port)
    again.wait_closed()
    expect(again.take() == b"", "a banned client gets nothing")
    again.close()
    c.wait_for(lambda s: s.pane_text and "] Banned client 127.0.0.1 tried to connect"
               in s.pane_text, "the refusal log line")
    snap = c.wait_for(lambda s: s.pane_text and re.search(
        r"^\[[^\]]* \d+:\d\d:\d\d[^\]]*\] Banned client", s.pane_text, re.M), "a dated log line")
    expect(snap.prompt.endswith(">"), "the console stays local and listening")


def test_remote_listen_binds_as_told_says_why_it_cannot_outlasts_churn_floods_and_bursts(c):
    port = free_port()
    with socket.socket() as holder:
        holder.bind(("0.0.0.0", port))
        holder.listen()
        listening_console(c, port)
        # The welcome text of a first start may still be in the pane: the
        # line's answer replaces it at the next tick, below an empty line.
        snap = c.wait_for(lambda s: (s.pane_text or "").startswith("\r\n"),
                          "a line about the taken port")
        expect(len(snap.pane_text.strip()) > 0 and "\r\n" not in snap.pane_text.strip(),
               f"one line of the platform's description: {snap.pane_text!r}")
    print(f"the console says: {snap.pane_text.strip()!r}")

    c.enter_line(f"listen {port}")
    c.wait_for(lambda s: (s.pane_text or "").strip().startswith(
        f"Listening on port {port} for this computer only; give a password to accept other "
        "computers\r\nThe link key of this console is SHA256:"), "the listening lines")
    wait_until(lambda: listening_addresses(port) == {"127.0.0.1", "::1"}, 10,
               f"port {port} bound to the loopback addresses only ({listening_addresses(port)})")
    start = time.monotonic()
    for _ in range(200):
        client = Client(port)
        client.wait_for(ends_with_prompt, "the prompt")
        client.close()
    print(f"200 connect/disconnect cycles in {time.monotonic() - start:.1f}s")
    client = Client(port)
    client.wait_for(ends_with_prompt, "the prompt after the cycles")
    client.send(b"set flood=" + b"a" * (8 << 20))
    c.wait_for(lambda s: s.prompt == "Serving 127.0.0.1", "the console answering its probe")
    client.send(b"\r\nprint 2+2\r\n")
    client.wait_text(b"\r\n4\r\n", timeout=60)

    # Lines led by "&" keep the output before them instead of clearing it,
    # so the output pump sends what many lines printed in one block rather
    # than one line's output per tick; the stream keeps its order.
    client.take()
    count = 10000
    start = time.monotonic()
    client.send(b"".join(b'&print "k" & %d\r\n' % i for i in range(count)))
    client.wait_for(lambda d: b"k%d\r\n" % (count - 1) in d[-256:], "the last output",
                    timeout=240)
    seconds = time.monotonic() - start
    data = client.take()
    # An output line follows a line end, or a prompt when its block came
    # right after one.
    numbers = [int(n) for n in re.findall(rb"(?<=[\n>])k(\d+)\r\n", data)]
    expect(numbers == list(range(count)), f"every output once, in order (first wrong at "
           f"{next((i for i, n in enumerate(numbers) if n != i), len(numbers))} of "
           f"{len(numbers)})")
    expect(b"\x0c" not in data, "no clear request between the lines")
    print(f"{count} lines in {seconds:.1f}s: {count / seconds:.0f} lines/s")
    client.close()
    c.wait_for(lambda s: s.prompt and "Serving" not in s.prompt, "the console local again")

    # A password opens the port to every address. This one comes from a
    # batch file in the legacy code page (Windows-1252 in the prefix), as an
    # older version wrote it; a peer speaking that code page logs in with
    # it, and the line it runs and the output it reads are the same bytes.
    other = free_port()
    (c.shortcuts / "wire.dcb").write_bytes(b"listen %d pass\xe9\r\n" % other)
    c.enter_line("wire")
    wait_until(lambda: listening_addresses(other) == {"0.0.0.0", "::"}, 10,
               f"port {other} bound to every address ({listening_addresses(other)})")
    expect(not listening_addresses(port), "the first port is free again")
    client = logged_in(other, b"pass\xe9")
    client.send(b"echo caf\xe9 \x80\r\n")
    client.wait_for(lambda d: b"\r\ncaf\xe9 \x80\r\n" in d, "the line's output in the same bytes")
    # Its not sign marks a variable; three bytes that make a UTF-8
    # character are three of its characters; a character it has no byte
    # for comes as "?".
    client.send(b"echo \xacOS\xac \xe6\x97\xa5\r\n")
    client.wait_for(lambda d: b"\r\nWindows_NT \xe6\x97\xa5\r\n" in d, "the marker expanded")
    client.send(b'print "\xe9" & ChrW(26085)\r\n')
    client.wait_for(lambda d: b"\r\n\xe9?\r\n" in d, "a character with no byte as ?")
    client.close()
