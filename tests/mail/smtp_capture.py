"""A real SMTP server for the mail tests: aiosmtpd on HOST port 25.

Each accepted message is kept as N.eml and, parsed back with Python's
standard mail parser, as N.json in DIR. Every command the handler sees is
logged to DIR/events.log as "<monotonic seconds> <COMMAND> <argument>".
Recipients named with --reject are refused with 550. Prints "ready" once it
listens and stops when its standard input closes.
"""
import argparse
import base64
import email
import json
import os
import sys
import time
from email import policy

from aiosmtpd.controller import Controller


class CaptureHandler:
    def __init__(self, directory, reject):
        self.directory = directory
        self.reject = set(reject)
        self.count = 0

    def log(self, *words):
        with open(os.path.join(self.directory, "events.log"), "a", encoding="utf-8") as f:
            f.write("%.6f %s\n" % (time.monotonic(), " ".join(words)))

    async def handle_HELO(self, server, session, envelope, hostname):
        self.log("HELO", hostname)
        session.host_name = hostname
        return "250 %s" % server.hostname

    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        self.log("MAIL", address)
        envelope.mail_from = address
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        self.log("RCPT", address)
        if address in self.reject:
            return "550 5.1.1 Recipient rejected"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.log("DATA")
        self.count += 1
        name = os.path.join(self.directory, str(self.count))
        with open(name + ".eml", "wb") as f:
            f.write(envelope.original_content)
        with open(name + ".json.tmp", "w", encoding="utf-8") as f:
            json.dump(describe(envelope), f, ensure_ascii=False)
        os.rename(name + ".json.tmp", name + ".json")
        return "250 Message accepted"

    async def handle_QUIT(self, server, session, envelope):
        self.log("QUIT")
        return "221 Bye"


def describe(envelope):
    raw = envelope.original_content
    message = email.message_from_bytes(raw, policy=policy.default)
    plain = email.message_from_bytes(raw, policy=policy.compat32)
    result = {
        "mail_from": envelope.mail_from,
        "rcpt_tos": list(envelope.rcpt_tos),
        "raw_headers": [[k, v] for k, v in plain.items()],
        "subject": str(message.get("Subject", "")),
        "from": str(message.get("From", "")),
        "to": str(message.get("To", "")),
        "content_type": message.get_content_type(),
        "defects": [type(d).__name__ for d in message.defects],
        "parts": [],
    }
    for part in message.walk():
        if part.is_multipart():
            continue
        entry = {
            "content_type": part.get_content_type(),
            "charset": part.get_content_charset() or "",
            "filename": part.get_filename() or "",
            "data_b64": base64.b64encode(part.get_payload(decode=True) or b"").decode("ascii"),
        }
        if part.get_content_maintype() == "text" and not entry["filename"]:
            entry["text"] = part.get_content()
        result["parts"].append(entry)
    return result


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True)
    parser.add_argument("--port", type=int, default=25)
    parser.add_argument("--dir", required=True)
    parser.add_argument("--reject", action="append", default=[])
    args = parser.parse_args()
    controller = Controller(CaptureHandler(args.dir, args.reject), hostname=args.host, port=args.port,
                            server_hostname="capture.test")
    controller.start()
    print("ready", flush=True)
    try:
        sys.stdin.read()
    finally:
        controller.stop()


if __name__ == "__main__":
    main()
