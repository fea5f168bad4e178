#!/usr/bin/python3
"""An SMTP peer on 127.0.0.1 for the server's mail tests, run until SIGTERM.

smtp_peer.py --port-file F --out DIR [--refuse N] [--auth USER:PASS]

Writes the port it listens on to F (whole, by a rename) once it listens. Every accepted message
goes into DIR as <n>.eml (the bytes as received, dot-stuffing undone), <n>.json (the envelope and
what Python's own mail parser reads from the message) and <n>.jpg (the picture part's bytes).
--refuse N answers the first N messages with a temporary failure, each one a line of
DIR/refused.log. --auth makes the peer require those credentials (over the plain connection).
"""

import argparse
import asyncio
import email
import email.policy
import json
import logging
import os
import signal
import warnings

from aiosmtpd.smtp import SMTP, AuthResult

REFUSAL = "451 4.3.0 try again later"


def header_text(msg, name):
    """A header's decoded value, None when the message has none."""
    value = msg[name]
    return None if value is None else str(value)


class Recorder:
    def __init__(self, out, refuse):
        self.out = out
        self.refuse = refuse
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        if self.refuse > 0:
            self.refuse -= 1
            with open(os.path.join(self.out, "refused.log"), "a") as f:
                f.write("%s -> %s: %s\n" % (envelope.mail_from, ",".join(envelope.rcpt_tos),
                                            REFUSAL))
            return REFUSAL
        self.count += 1
        base = os.path.join(self.out, str(self.count))
        raw = envelope.original_content
        msg = email.message_from_bytes(raw, policy=email.policy.default)
        record = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "auth_login": session.auth_data.login.decode() if session.authenticated else "",
            "subject": header_text(msg, "Subject"),
            "message_id": header_text(msg, "Message-ID"),
            "reply_to": header_text(msg, "Reply-To"),
            "to": header_text(msg, "To"),
            "text": None,
            "defects": [repr(d) for part in msg.walk() for d in part.defects],
        }
        picture = None
        for part in msg.walk():
            if part.get_content_type() == "text/plain" and record["text"] is None:
                record["text"] = part.get_content()
            elif part.get_content_type() == "image/jpeg" and picture is None:
                picture = part.get_content()
        # The .json goes last, so a reader that sees it finds the other files complete.
        with open(base + ".eml", "wb") as f:
            f.write(raw)
        if picture is not None:
            with open(base + ".jpg", "wb") as f:
                f.write(picture)
        with open(base + ".json.tmp", "w", encoding="utf-8") as f:
            json.dump(record, f, ensure_ascii=False)
        os.rename(base + ".json.tmp", base + ".json")
        return "250 OK"


def make_authenticator(user, password):
    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = (auth_data.login.decode(), auth_data.password.decode()) == (user, password)
        # Not "handled": the peer answers a refusal itself (535).
        return AuthResult(success=ok, handled=False, auth_data=auth_data)
    return authenticate


async def serve(args):
    loop = asyncio.get_running_loop()
    handler = Recorder(args.out, args.refuse)
    options = {}
    if args.auth:
        user, _, password = args.auth.partition(":")
        options = dict(auth_required=True, auth_require_tls=False,
                       authenticator=make_authenticator(user, password))
    server = await loop.create_server(lambda: SMTP(handler, loop=loop, **options),
                                      "127.0.0.1", 0)
    port = server.sockets[0].getsockname()[1]
    with open(args.port_file + ".tmp", "w") as f:
        f.write("%d\n" % port)
    os.rename(args.port_file + ".tmp", args.port_file)
    stop = asyncio.Event()
    loop.add_signal_handler(signal.SIGTERM, stop.set)
    await stop.wait()
    server.close()


def main():
    # aiosmtpd warns of AUTH without TLS, which the tests mean, and of its own deprecated fields.
    warnings.simplefilter("ignore")
    logging.getLogger("mail.log").setLevel(logging.ERROR)
    p = argparse.ArgumentParser()
    p.add_argument("--port-file", required=True)
    p.add_argument("--out", required=True)
    p.add_argument("--refuse", type=int, default=0)
    p.add_argument("--auth", default="")
    asyncio.run(serve(p.parse_args()))


if __name__ == "__main__":
    main()
