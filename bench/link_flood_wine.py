#!/usr/bin/env python3
"""Times a flood through the link between two real Vantrel.exe consoles
under Wine, encrypted and in clear, side by side: the client runs TYPE on a
file of 10,000 lines at the server, and the time runs from Enter until the
last line shows in the client's pane. In clear, a relay takes the server's
offer of encryption off the wire and the client has LinkClear on, as with an
older server. Also the time from CONNECT to the server's prompt, the
handshake included.

Usage: bench/link_flood_wine.py --build build/windows [--work /tmp/vantrel-flood]
                                [--rounds 3]
Figures only: nothing here passes or fails on a time.
"""

import argparse
import statistics
import sys
import time
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))

import harness  # noqa: E402
from remote_tests import free_port  # noqa: E402
from secure_link_tests import Relay  # noqa: E402

LINES = 10000


def linked(client, relay, encrypted):
    """Connects through the relay; the seconds until the server's prompt."""
    relay.strip_offer = not encrypted
    start = time.monotonic()
    client.submit(f"connect 127.0.0.1:{relay.port}")
    mark = "127.0.0.1 (encrypted): " if encrypted else "127.0.0.1: "
    client.wait_for(lambda s: (s.prompt or "").startswith(mark) and s.prompt.endswith(">"),
                    "the server's prompt", timeout=60)
    return time.monotonic() - start


def flood(client):
    start = time.monotonic()
    client.submit("type C:\\flood.txt")
    client.wait_for(lambda s: (s.pane_text or "").rstrip().endswith(f"k{LINES - 1}"),
                    "the last line in the client's pane", timeout=600)
    return time.monotonic() - start


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, help="the Windows build folder")
    parser.add_argument("--work", default="/tmp/vantrel-flood")
    parser.add_argument("--rounds", type=int, default=3)
    a = parser.parse_args()
    harness.setup(a.work)
    server = harness.Console(a.build, a.work, "flood-server")
    client = harness.Console(a.build, a.work, "flood-client")
    port = free_port()
    relay = None
    try:
        (server.drive_c / "flood.txt").write_bytes(
            b"".join(b"k%d\r\n" % i for i in range(LINES)))
        server.launch("listen", str(port))
        relay = Relay(port)
        client.launch()
        client.enter_line("set LinkClear=1")
        times = {True: [], False: []}
        links = {True: [], False: []}
        for _ in range(a.rounds):
            for encrypted in (False, True):
                links[encrypted].append(linked(client, relay, encrypted))
                times[encrypted].append(flood(client))
                client.wait_for(lambda s: s.command == "", "the client ready")
                client.submit("disconnect")
                client.wait_for(lambda s: not (s.prompt or "").startswith("127.0.0.1"),
                                "the client local", timeout=60)
        for encrypted in (False, True):
            how = "encrypted" if encrypted else "in clear "
            print(f"{how}: {LINES} lines in {statistics.median(times[encrypted]):.2f} s "
                  f"(median of {a.rounds}; best {min(times[encrypted]):.2f} s), connect to "
                  f"prompt {statistics.median(links[encrypted]):.2f} s")
        ratio = statistics.median(times[True]) / statistics.median(times[False])
        print(f"encrypted / clear: {ratio:.2f}")
    finally:
        if relay:
            relay.close()
        client.close()
        server.close()
        harness.cleanup(a.work)


if __name__ == "__main__":
    main()
