#!/usr/bin/env python3
# A loopback HTTP server for the update tests. Every GET is answered as the files in the control
# folder say ("response": key value lines, "body": the bytes) and recorded in "requests".
# It prints its port on the first line and ends when its standard input closes.
import os
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

control = sys.argv[1]
record_lock = threading.Lock()


def read_response():
    config = {"status": "200", "length": "auto", "mode": "normal", "delay": "0"}
    try:
        with open(os.path.join(control, "response"), encoding="ascii") as f:
            for line in f:
                key, _, value = line.strip().partition(" ")
                if key:
                    config[key] = value
    except FileNotFoundError:
        pass
    try:
        with open(os.path.join(control, "body"), "rb") as f:
            body = f.read()
    except FileNotFoundError:
        body = b""
    return config, body


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def record(self):
        # http.server decodes the request as Latin-1; encoding back gives the bytes that came.
        fields = [self.path, self.headers.get("User-Agent", ""), self.headers.get("Cache-Control", "")]
        with record_lock, open(os.path.join(control, "requests"), "ab") as f:
            f.write("\t".join(fields).encode("latin-1", "replace") + b"\n")

    def do_GET(self):
        self.record()
        config, body = read_response()
        mode = config["mode"]
        delay = float(config["delay"])
        self.close_connection = True
        if mode == "silent":
            # Never answers: waits until the client gives up and closes.
            self.connection.recv(1)
            return
        if mode == "hangup":
            return
        self.send_response(int(config["status"]))
        self.send_header("Connection", "close")
        length = config["length"]
        if length == "auto":
            self.send_header("Content-Length", str(len(body)))
        elif length == "chunked":
            self.send_header("Transfer-Encoding", "chunked")
        elif length != "none":
            self.send_header("Content-Length", length)
        self.end_headers()
        if length == "chunked":
            body = b"%x\r\n%s\r\n0\r\n\r\n" % (len(body), body) if body else b"0\r\n\r\n"
        if mode == "slow":
            for i in range(len(body)):
                self.wfile.write(body[i : i + 1])
                self.wfile.flush()
                time.sleep(delay)
        else:
            self.wfile.write(body)

    def handle(self):
        try:
            super().handle()
        except (BrokenPipeError, ConnectionResetError):
            pass


def main():
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stdin.read()
    os._exit(0)


if __name__ == "__main__":
    main()
