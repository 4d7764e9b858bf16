"""End-to-end tests of the encrypted link between two real consoles, with
a relay in the middle that records the wire and can stand for an attacker:
it strips the offer, or hands the client to a console with another key."""

import select
import socket
import threading

from harness import Console, expect
from link_guard_tests import transcript
from remote_tests import free_port

OFFER = b"VTRL-NOISE/1\r\n"


class Relay:
    """A TCP relay on 127.0.0.1 to a console's port, one link at a time,
    keeping every byte of both directions. strip_offer drops the server's
    offer line on its way to the client."""

    def __init__(self, target):
        self.target = target
        self.strip_offer = False
        self.wire = b""
        self.listener = socket.socket()
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen()
        self.port = self.listener.getsockname()[1]
        self.stopping = False
        self.thread = threading.Thread(target=self.serve, daemon=True)
        self.thread.start()

    def serve(self):
        while not self.stopping:
            if not select.select([self.listener], [], [], 0.2)[0]:
                continue
            client, _ = self.listener.accept()
            with client, socket.create_connection(("127.0.0.1", self.target)) as server:
                first = True
                while not self.stopping:
                    ready = select.select([client, server], [], [], 0.2)[0]
                    if client in ready:
                        data = client.recv(65536)
                        if not data:
                            break
                        self.wire += data
                        server.sendall(data)
                    if server in ready:
                        data = server.recv(65536)
                        if not data:
                            break
                        self.wire += data
                        if first and self.strip_offer and data.startswith(OFFER):
                            data = data[len(OFFER):]
                        first = False
                        if data:
                            client.sendall(data)

    def close(self):
        self.stopping = True
        self.thread.join(timeout=10)
        self.listener.close()


def pane_says(console, text, what):
    """Waits for the pane to hold text, the pane's own wrapping of long
    lines aside."""
    return console.wait_for(lambda s: text in (s.pane_text or "").replace("\r\n", ""), what,
                            timeout=60)


def test_secure_link_hides_everything_pins_the_key_refuses_a_stripped_offer_and_takes_listed_keys(c):
    port, other_port = free_port(), free_port()
    c.launch("listen", str(port), "hunter2x")
    client = Console(c.build, c.prefix.parent.parent, c.name + "-client")
    impostor = Console(c.build, c.prefix.parent.parent, c.name + "-impostor")
    relay = Relay(port)
    try:
        # Only the client's bar is typed into: it starts last and lies on top.
        impostor.launch("listen", str(other_port), "hunter2x")
        client.launch()
        # Linked through the relay: the first link says so and shows the key,
        # the prompt says the link is encrypted, and the wire holds neither
        # the password nor the line nor its answer.
        client.submit(f"connect 127.0.0.1:{relay.port} hunter2x")
        pane_says(client, "First link to 127.0.0.1:", "the first link's key reported")
        client.wait_for(lambda s: (s.prompt or "").startswith("127.0.0.1 (encrypted): ")
                        and s.prompt.endswith(">") and "Password" not in s.prompt,
                        "the server's encrypted prompt on the client", timeout=60)
        c.wait_for(lambda s: s.prompt == "Serving 127.0.0.1 (encrypted)", "the server serving")
        client.submit("print 6*7")
        pane_says(client, "42", "the answer in the client's pane")
        expect(OFFER in relay.wire, "the offer on the wire")
        for secret in (b"hunter2x", b"print 6*7", b"\r\n42\r\n"):
            expect(secret not in relay.wire, f"{secret!r} not on the wire")
        client.wait_for(lambda s: s.command == "", "the client ready")
        client.submit("disconnect")
        client.wait_for(lambda s: not (s.prompt or "").startswith("127.0.0.1"), "the client local")

        # A relay that strips the offer gets no password.
        relay.wire = b""
        relay.strip_offer = True
        client.enter_line("cls")
        client.submit(f"connect 127.0.0.1:{relay.port} hunter2x")
        pane_says(client, "offered no encryption", "the missing offer reported")
        expect(b"hunter2x" not in relay.wire, "no password to the relay that stripped the offer")
        relay.strip_offer = False

        # The relay hands the client to another console, with another key:
        # refused before the password, with both fingerprints.
        relay.target = other_port
        client.enter_line("cls")
        client.submit(f"connect 127.0.0.1:{relay.port} hunter2x")
        snap = pane_says(client, "has changed", "the changed key reported")
        said = snap.pane_text.replace("\r\n", "")  # the pane wraps long lines
        expect(f"LINKKEY FORGET 127.0.0.1:{relay.port}" in said and said.count("SHA256:") == 2,
               f"both fingerprints and how to forget the old key: {said!r}")
        impostor.wait_for(lambda s: "Serving" not in (s.prompt or ""), "the impostor never serving")
        expect("Serving" not in (impostor.snapshot().prompt or ""), "the impostor not serving")

        # A client key listed in the server's LinkKeys.txt logs in without
        # the password.
        client.enter_line("cls")
        client.enter_line("linkkey")
        text = pane_says(client, "LinkKeys.txt: ", "the client's key").pane_text
        key = text.split("LinkKeys.txt: ")[1].split()[0]
        profiles = list((c.drive_c / "users").glob("*/AppData/Roaming/Orvane/Vantrel"))
        expect(profiles, "the server's profile folder")
        (profiles[0] / "LinkKeys.txt").write_bytes(key.encode() + b" the client\r\n")
        client.submit(f"connect 127.0.0.1:{port}")
        client.wait_for(lambda s: (s.prompt or "").startswith("127.0.0.1 (encrypted): ")
                        and s.prompt.endswith(">") and "Password" not in s.prompt,
                        "the listed key logged in without a password", timeout=60)
        pane_says(c, "logged in by its key SHA256:", "the server's log of the key login")

        # Both transcripts keep every link, the keys by their fingerprints,
        # and no password.
        served, made = transcript(c), transcript(client)
        for text in ("knock from 127.0.0.1 port ", "encrypted, the client's key is SHA256:",
                     "logged in by password (encrypted)", "runs: print 6*7",
                     "logged in by its key", "end: the client left"):
            expect(text in served, f"{text!r} in the server's transcript: {served[-1500:]!r}")
        for text in (f"connect to 127.0.0.1:{relay.port}", "encrypted, the server's key is SHA256:",
                     "sent the password CONNECT was given", "sent: print 6*7",
                     "end: the server's key has changed"):
            expect(text in made, f"{text!r} in the client's transcript: {made[-1500:]!r}")
        expect("hunter2x" not in served + made, "no password in either transcript")
    finally:
        relay.close()
        impostor.close()
        client.close()
