#!/usr/bin/env python3
"""HTTP test server for the transfer, update list and setup tests.

Binds to 127.0.0.1 on a free port, prints "PORT <n>" and serves until it is
told to stop (/_quit), its parent goes away, or its lifetime runs out.

Routes (every response carries Content-Length):
  /file/<name>           a file from --root (404 page when missing)
  /status/<code>         that status with an HTML body
  /redirect/<n>          a chain of n redirects ending in 200 "redirected"
  /empty                 200 with an empty body
  /zero                  a zero byte in the middle of a JSON text
  /bom                   a JSON text behind a UTF-8 byte-order mark
  /bytes/<n>             n bytes of a repeating pattern
  /broken/<n>/<m>        announces n bytes, sends m, then breaks the connection
  /stall/<m>             announces more than it sends: m bytes, then silence
  /headers               the request headers as a JSON object
  /stream/<n>            n bytes sent in 1 MiB chunks from one block in memory
  /via-only/<name>       a file from --root only when the request came through
                         a proxy that adds a Via header, else an HTML error page
  /_requests             JSON list of the requests seen so far
  /_quit                 stops the server
"""
import argparse
import json
import os
import socketserver
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, HTTPServer

REQUESTS = []
LOCK = threading.Lock()


def pattern(n):
    block = bytes(range(32, 127)) * 64
    out = bytearray()
    while len(out) < n:
        out += block
    return bytes(out[:n])


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def send_body(self, code, body, content_type="text/html; charset=utf-8", extra=None):
        self.send_response(code)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        for key, value in (extra or {}).items():
            self.send_header(key, value)
        self.end_headers()
        self.wfile.write(body)
        self.wfile.flush()
        self.close_connection = True

    def error_page(self, code):
        body = ("<!DOCTYPE html><html><head><title>%d</title></head>"
                "<body><h1>Error %d</h1></body></html>" % (code, code)).encode()
        self.send_body(code, body)

    def do_GET(self):
        path = self.path.split("?", 1)[0]
        with LOCK:
            REQUESTS.append({"path": self.path, "time": time.time(),
                             "headers": {k: v for k, v in self.headers.items()}})
        parts = [p for p in path.split("/") if p]
        route = parts[0] if parts else ""
        root = self.server.root

        if route in ("file", "via-only") and len(parts) >= 2:
            if route == "via-only" and "Via" not in self.headers:
                return self.error_page(502)
            name = "/".join(parts[1:])
            full = os.path.realpath(os.path.join(root, name))
            if not full.startswith(os.path.realpath(root) + os.sep) or not os.path.isfile(full):
                return self.error_page(404)
            with open(full, "rb") as f:
                return self.send_body(200, f.read(), "application/octet-stream")
        if route == "status" and len(parts) == 2:
            return self.error_page(int(parts[1]))
        if route == "redirect" and len(parts) == 2:
            n = int(parts[1])
            if n <= 0:
                return self.send_body(200, b"redirected", "text/plain")
            return self.send_body(302, b"", extra={"Location": "/redirect/%d" % (n - 1)})
        if route == "empty":
            return self.send_body(200, b"", "application/json")
        if route == "zero":
            return self.send_body(200, b'{"a":1}\x00{"b":2}', "application/json")
        if route == "bom":
            return self.send_body(200, b'\xef\xbb\xbf{"a":1}', "application/json")
        if route == "bytes" and len(parts) == 2:
            return self.send_body(200, pattern(int(parts[1])), "application/octet-stream")
        if route == "stream" and len(parts) == 2:
            total = int(parts[1])
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", str(total))
            self.send_header("Connection", "close")
            self.end_headers()
            block = self.server.block
            sent = 0
            while sent < total:
                piece = block[:min(len(block), total - sent)]
                self.wfile.write(piece)
                sent += len(piece)
            self.close_connection = True
            return
        if route == "broken" and len(parts) == 3:
            total, sent = int(parts[1]), int(parts[2])
            self.send_response(200)
            self.send_header("Content-Length", str(total))
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(pattern(sent))
            self.wfile.flush()
            self.close_connection = True
            return
        if route == "stall" and len(parts) == 2:
            sent = int(parts[1])
            self.send_response(200)
            self.send_header("Content-Length", str(sent + 1000))
            self.end_headers()
            self.wfile.write(pattern(sent))
            self.wfile.flush()
            time.sleep(self.server.stall_seconds)
            self.close_connection = True
            return
        if route == "headers":
            body = json.dumps({k: v for k, v in self.headers.items()}).encode()
            return self.send_body(200, body, "application/json")
        if route == "_requests":
            with LOCK:
                body = json.dumps(REQUESTS).encode()
            return self.send_body(200, body, "application/json")
        if route == "_quit":
            self.send_body(200, b"bye", "text/plain")
            threading.Thread(target=self.server.shutdown, daemon=True).start()
            return
        return self.error_page(404)


class Server(socketserver.ThreadingMixIn, HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", default=".")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--lifetime", type=float, default=900.0)
    parser.add_argument("--stall-seconds", type=float, default=90.0)
    parser.add_argument("--tls-cert", help="serve HTTPS with this certificate (PEM, key included)")
    args = parser.parse_args()

    server = Server(("127.0.0.1", args.port), Handler)
    if args.tls_cert:
        import ssl
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.tls_cert)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    server.root = args.root
    server.stall_seconds = args.stall_seconds
    server.block = pattern(1 << 20)
    parent = os.getppid()

    def watchdog():
        deadline = time.time() + args.lifetime
        while time.time() < deadline and os.getppid() == parent:
            time.sleep(0.5)
        server.shutdown()

    threading.Thread(target=watchdog, daemon=True).start()
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever(poll_interval=0.2)


if __name__ == "__main__":
    sys.exit(main())
