#!/usr/bin/env python3
"""A local HTTP server for the tests, printing its port, then the path of each GET, on stdout.

Modes: "serve" answers every GET with the bytes --body holds at the time (and --status);
"silent" accepts connections and never answers; "endless" answers every GET with a body that
never ends. Runs until its standard input closes.
"""
import argparse
import http.server
import os
import socketserver
import sys
import threading


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mode", choices=["serve", "silent", "endless"], default="serve")
    parser.add_argument("--body", help="file whose bytes are the response body")
    parser.add_argument("--status", type=int, default=200)
    args = parser.parse_args()

    class Answer(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            print("GET " + self.path, flush=True)
            body = b""
            if args.body:  # read afresh, so a test can change the page between requests
                with open(args.body, "rb") as f:
                    body = f.read()
            self.send_response(args.status)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *unused):
            pass

    class Endless(Answer):
        def do_GET(self):
            print("GET " + self.path, flush=True)
            self.send_response(200)
            self.send_header("Content-Type", "text/html")
            self.end_headers()
            chunk = b"<p>forecast</p>" * 4096
            try:
                while True:
                    self.wfile.write(chunk)
            except OSError:  # the client gave up
                pass

    class Silent(socketserver.BaseRequestHandler):
        def handle(self):
            while self.request.recv(4096):
                pass

    handler = {"serve": Answer, "silent": Silent, "endless": Endless}[args.mode]
    socketserver.ThreadingTCPServer.allow_reuse_address = True
    server = socketserver.ThreadingTCPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True

    def watch_stdin():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
