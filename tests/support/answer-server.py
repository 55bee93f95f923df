#!/usr/bin/env python3
"""A web server for the fetch tests: serves the answers a folder describes.

FOLDER/routes.json maps a path (without query) to what the server answers:
  "file": a file of FOLDER sent as the body   "type": its Content-Type
  "status": the status (200)                  "headers": more headers
  "encoding": "gzip" or "deflate" (the body compressed, Content-Encoding set,
              when the request's Accept-Encoding names it)
  "length": false to send no Content-Length (the body ends with the connection)
  "redirect": a Location answered with 302
  "pages": {"param": "pageNo", "files": [...], "after": file} the file of the
           page the query names, "after" past the last one
  "echo": true to answer with the request line and headers as text
  "endless": true for a body that never ends
  "trickle": true for a body of one byte every half second
A request for a whole address (through a proxy) is looked up by its path.

With --tls the server makes an authority and a certificate for 127.0.0.1
signed by it (FOLDER/ca.pem, openssl's command) and speaks HTTPS.

Only the standard library and openssl; listens on 127.0.0.1. The first
line on standard output is the base address, e.g. http://127.0.0.1:8617

Usage: answer-server.py FOLDER --port PORT [--tls]
"""

import argparse
import gzip
import http.server
import json
import pathlib
import ssl
import subprocess
import sys
import time
import urllib.parse
import zlib


def make_certificates(folder):
    def openssl(*words):
        subprocess.run(["openssl", *words], check=True, cwd=folder,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # RSA, not ECDSA: Wine's check of an ECDSA certificate's signature fails
    # now and then (2 servers in 150, none with RSA), which made the Windows
    # tests flaky.
    key = ["-newkey", "rsa:2048", "-nodes"]
    openssl("req", "-x509", *key, "-keyout", "ca.key", "-out", "ca.pem", "-days", "2",
            "-subj", "/CN=Tovarin Test CA",
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    openssl("req", *key, "-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=127.0.0.1")
    (folder / "server.ext").write_text(
        "subjectAltName=IP:127.0.0.1,DNS:localhost\n"
        "basicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n")
    openssl("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
            "-set_serial", "2", "-days", "2", "-extfile", "server.ext", "-out", "server.pem")


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    folder = None
    routes = {}

    def log_message(self, *args):
        pass

    def do_GET(self):
        target = urllib.parse.urlsplit(self.path)
        route = self.routes.get(target.path)
        if route is None:
            return self.answer(404, b"not found", {"Content-Type": "text/plain"})
        query = urllib.parse.parse_qs(target.query)
        headers = {"Content-Type": route.get("type", "text/plain")}
        headers.update(route.get("headers", {}))
        if "redirect" in route:
            headers["Location"] = route["redirect"]
            return self.answer(302, b"", headers)
        if route.get("endless") or route.get("trickle"):
            return self.stream(route, headers)
        if route.get("echo"):
            lines = [self.requestline] + ["%s: %s" % item for item in self.headers.items()]
            body = "".join(line + "\r\n" for line in lines).encode("utf-8")
        else:
            name = route.get("file")
            if "pages" in route:
                pages = route["pages"]
                number = int(query.get(pages["param"], ["1"])[0])
                files = pages["files"]
                name = files[number - 1] if 1 <= number <= len(files) else pages["after"]
            body = (self.folder / name).read_bytes()
        encoding = route.get("encoding")
        if encoding and encoding in self.headers.get("Accept-Encoding", ""):
            body = gzip.compress(body) if encoding == "gzip" else zlib.compress(body)
            headers["Content-Encoding"] = encoding
        self.answer(route.get("status", 200), body, headers, route.get("length", True))

    def answer(self, status, body, headers, length=True):
        self.send_response(status)
        for name, value in headers.items():
            self.send_header(name, value)
        if length:
            self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)
        self.close_connection = True

    def stream(self, route, headers):
        self.send_response(200)
        for name, value in headers.items():
            self.send_header(name, value)
        self.send_header("Connection", "close")
        self.end_headers()
        self.close_connection = True
        chunk = b"2026001 3 5 8 1 2 9 0\r\n" * 4096
        try:
            while True:
                if route.get("trickle"):
                    self.wfile.write(b"1")
                    self.wfile.flush()
                    time.sleep(0.5)
                else:
                    self.wfile.write(chunk)
        except OSError:
            pass


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a client that refuses the certificate or hangs up is expected


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--tls", action="store_true")
    args = parser.parse_args()
    folder = pathlib.Path(args.folder)
    Handler.folder = folder
    Handler.routes = json.loads((folder / "routes.json").read_text(encoding="utf-8"))
    server = Server(("127.0.0.1", args.port), Handler)
    scheme = "http"
    if args.tls:
        make_certificates(folder)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(folder / "server.pem", folder / "server.key")
        server.socket = context.wrap_socket(server.socket, server_side=True,
                                            do_handshake_on_connect=False)
        scheme = "https"
    print("%s://127.0.0.1:%d" % (scheme, server.server_address[1]), flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
