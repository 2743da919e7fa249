#!/usr/bin/python3
"""Serves the example garden-club site, its partner site and the modern site on 127.0.0.1.

Three servers run in one process, each on its own port (a free one unless given),
so that the club's pages can link to another server. In HTML pages and style sheets
the placeholders @SITE_PORT@ and @PARTNER_PORT@ become the real ports, and
@MONTH@ becomes the month that the query ?month=N asks for (the events calendar).
The contact form's POST is answered with a thank-you page.

The modern site (a static site generator's theme) is served as today's servers
serve such sites: its text files gzip-compressed for clients that accept it, with
an ETag and Last-Modified, and 304 Not Modified for a request that names them.

When the servers listen, the line "SITE_PORT PARTNER_PORT MODERN_PORT" is written to
the --ports-file (whole, by a rename) and a line telling the addresses to standard
output. The servers stop on SIGTERM or SIGINT (unless SIGINT was ignored when they
started), and by themselves when the process that started them ends, so that a
killed demo or test leaves nothing behind.
"""

import argparse
import email.utils
import gzip
import hashlib
import html
import http.server
import os
import signal
import sys
import threading
import time
import urllib.parse

MONTHS = ["January", "February", "March", "April", "May", "June", "July", "August",
          "September", "October", "November", "December"]
TEXT_TYPES = {".html": "text/html", ".htm": "text/html", ".css": "text/css"}
MODERN_TYPES = dict(TEXT_TYPES, **{".mjs": "text/javascript", ".js": "text/javascript",
                                   ".svg": "image/svg+xml", ".json": "application/json",
                                   ".webmanifest": "application/manifest+json"})
MAX_FORM_BYTES = 65536


def month_name(query):
    values = urllib.parse.parse_qs(query).get("month", [])
    if values and values[0].isdigit() and 1 <= int(values[0]) <= 12:
        return MONTHS[int(values[0]) - 1]
    return "the whole year"


def make_handler(root, ports, log, delay=0.0, modern=False):
    text_types = MODERN_TYPES if modern else TEXT_TYPES

    class Handler(http.server.SimpleHTTPRequestHandler):
        def __init__(self, *args, **kwargs):
            super().__init__(*args, directory=root, **kwargs)

        def log_message(self, fmt, *args):
            if log:
                super().log_message(fmt, *args)

        def do_GET(self):
            self.answer(send_body=True)

        def do_HEAD(self):
            self.answer(send_body=False)

        def answer(self, send_body):
            # A slowed site keeps a copy under way long enough to watch it.
            time.sleep(delay)
            path = self.translate_path(self.path)
            if os.path.isdir(path) and self.path.split("?", 1)[0].endswith("/"):
                path = os.path.join(path, "index.html")
            kind = text_types.get(os.path.splitext(path)[1].lower())
            if kind is None or not os.path.isfile(path):
                # Images, folders without their final "/" and missing files.
                return super().do_GET() if send_body else super().do_HEAD()
            with open(path, encoding="utf-8") as f:
                text = f.read()
            query = urllib.parse.urlsplit(self.path).query
            text = (text.replace("@SITE_PORT@", str(ports["site"]))
                    .replace("@PARTNER_PORT@", str(ports["partner"]))
                    .replace("@MONTH@", month_name(query)))
            self.send_text(kind, text, os.path.getmtime(path), send_body)

        def do_POST(self):
            if (urllib.parse.urlsplit(self.path).path != "/contact.html"
                    or not os.path.isfile(self.translate_path(self.path))):
                self.send_error(405, "Only the contact form takes a POST")
                return
            length = int(self.headers.get("Content-Length") or 0)
            if length < 0 or length > MAX_FORM_BYTES:
                self.send_error(413, "Form too large")
                return
            fields = urllib.parse.parse_qs(self.rfile.read(length).decode("utf-8", "replace"))
            name = fields.get("name", [""])[0].strip() or "friend"
            text = ("<html><head><title>Thank you</title></head><body>\n"
                    f"<h1>Thank you, {html.escape(name)}</h1>\n"
                    "<p>We will answer soon. <a href=\"index.html\">Back home</a></p>\n"
                    "</body></html>\n")
            self.send_text("text/html", text, None, True)

        def send_text(self, kind, text, modified, send_body):
            body = text.encode("utf-8")
            if modern:
                etag = '"' + hashlib.sha1(body).hexdigest()[:16] + '"'
                if self.headers.get("If-None-Match") == etag:
                    self.send_response(304)
                    self.send_header("ETag", etag)
                    self.end_headers()
                    return
            self.send_response(200)
            self.send_header("Content-Type", kind + "; charset=utf-8")
            if modern:
                self.send_header("ETag", etag)
                self.send_header("Vary", "Accept-Encoding")
                if "gzip" in self.headers.get("Accept-Encoding", ""):
                    body = gzip.compress(body, mtime=0)
                    self.send_header("Content-Encoding", "gzip")
            self.send_header("Content-Length", str(len(body)))
            if modified is not None:
                self.send_header("Last-Modified", email.utils.formatdate(modified, usegmt=True))
            self.end_headers()
            if send_body:
                self.wfile.write(body)

    return Handler


def write_ports(path, site, partner, modern):
    scratch = path + ".part"
    with open(scratch, "w", encoding="ascii") as f:
        f.write(f"{site} {partner} {modern}\n")
    os.replace(scratch, path)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n", 1)[0])
    parser.add_argument("site", nargs="?", default=os.path.join(here, "site"))
    parser.add_argument("partner", nargs="?", default=os.path.join(here, "partner"))
    parser.add_argument("modern", nargs="?", default=os.path.join(here, "modern"))
    parser.add_argument("--site-port", type=int, default=0)
    parser.add_argument("--partner-port", type=int, default=0)
    parser.add_argument("--modern-port", type=int, default=0)
    parser.add_argument("--ports-file", help="where to write 'SITE_PORT PARTNER_PORT'")
    parser.add_argument("--log", action="store_true", help="print each request")
    parser.add_argument("--delay", type=float, default=0.0,
                        help="seconds to wait before each answer")
    args = parser.parse_args()

    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    # A script that starts the servers in the background has them ignore SIGINT, so
    # that Ctrl+C meant for the copying program does not take the site away from it.
    if signal.getsignal(signal.SIGINT) is not signal.SIG_IGN:
        signal.signal(signal.SIGINT, lambda *_: stop.set())

    ports = {}
    servers = []
    for name, root, port in (("site", args.site, args.site_port),
                             ("partner", args.partner, args.partner_port),
                             ("modern", args.modern, args.modern_port)):
        server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", port),
            make_handler(os.path.abspath(root), ports, args.log, args.delay,
                         modern=name == "modern"))
        server.daemon_threads = True
        ports[name] = server.server_address[1]
        servers.append(server)
    for server in servers:
        threading.Thread(target=server.serve_forever, daemon=True).start()

    if args.ports_file:
        write_ports(args.ports_file, ports["site"], ports["partner"], ports["modern"])
    print(f"site http://127.0.0.1:{ports['site']}/ "
          f"partner http://127.0.0.1:{ports['partner']}/ "
          f"modern http://127.0.0.1:{ports['modern']}/", flush=True)

    parent = os.getppid()
    while not stop.wait(0.5):
        if os.getppid() != parent:
            break
    for server in servers:
        server.shutdown()
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
