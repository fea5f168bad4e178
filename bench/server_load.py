#!/usr/bin/env python3
"""Uploads to a fresh quillet-server as the program sends them, from many clients at once.

bench/server_load.py BUILD_DIR [CLIENTS [EACH]]

Starts BUILD_DIR/quillet/quillet-server on a free loopback port with a temporary state folder
and one account (a real Argon2id hash), sends CLIENTS x EACH uploads of a small JPEG (one new
connection each, CLIENTS at a time), waits until every mail is in the Maildir, and prints the
uploads per second, the slowest answer and the time until the last mail was delivered.
"""
import http.client
import os
import subprocess
import sys
import tempfile
import threading
import time

D = b"1415926535897932384626433832795028841"
T = b"0123456789012345678901234567890123456789012"
PICTURE = b"\xff\xd8\xff\xe0" + bytes(range(256)) * 40 + b"\xff\xd9"  # about 10 KB, a canvas's size


def body(n):
    lines = [D, b"Velquaris2.00", b"", D, b"me@example.jp", b"pw-Zq81x", b"album1", D,
             b"OFF()", b"a@phone.test", b"upload %d" % n, b"message", D]
    return b"\n".join(lines) + b"\n" + PICTURE + T + D


def main():
    build = sys.argv[1]
    clients = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    each = int(sys.argv[3]) if len(sys.argv) > 3 else 10
    server = os.path.join(build, "quillet", "quillet-server")
    with tempfile.TemporaryDirectory() as state:
        subprocess.run([server, "account", "add", "album1", "me@example.jp", "--dir", state],
                       input=b"pw-Zq81x\n", check=True)
        proc = subprocess.Popen([server, "--dir", state, "--listen", "127.0.0.1:0"],
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        port = int(proc.stdout.readline().split()[-1])
        answers, slowest, lock = {}, [0.0], threading.Lock()

        def client(c):
            for n in range(each):
                t0 = time.monotonic()
                conn = http.client.HTTPConnection("127.0.0.1", port, timeout=120)
                conn.request("POST", "/cgi-bin/saveimg.cgi", body(c * each + n))
                answer = conn.getresponse().read()
                conn.close()
                with lock:
                    answers[answer] = answers.get(answer, 0) + 1
                    slowest[0] = max(slowest[0], time.monotonic() - t0)

        start = time.monotonic()
        threads = [threading.Thread(target=client, args=(c,)) for c in range(clients)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        took = time.monotonic() - start
        new = os.path.join(state, "Maildir", "new")
        while len(os.listdir(new) if os.path.isdir(new) else []) < clients * each:
            time.sleep(0.05)
        mailed = time.monotonic() - start
        proc.terminate()
        proc.wait()
    total = clients * each
    print("answers: %s" % {k.decode(): v for k, v in answers.items()})
    print("%d uploads from %d clients in %.2f s: %.1f per second; slowest answer %.0f ms; "
          "all mailed (Maildir) after %.2f s" % (total, clients, took, total / took,
                                                 slowest[0] * 1000, mailed))


main()
