#!/usr/bin/env python3
"""A small HTTP server on loopback for the download tests.

    http_server.py start STATE_DIR   start in the background, return when it listens
    http_server.py stop STATE_DIR    stop the server started with STATE_DIR
    http_server.py serve STATE_DIR   run in the foreground

STATE_DIR holds:
    root/          the files served: GET /a/b.exe answers root/a/b.exe
    port           the port it listens on (127.0.0.1)
    refused_port   a loopback port on which nothing listens
    requests.log   one line per request: the request path
    pid            the server's process id while it runs

Paths:
    /cut/<path>    200 with the full Content-Length of root/<path>, then only
                   the first half of the body, and the connection is closed
    anything else  200 with the file, or 404 when root has no such file
"""

import http.server
import os
import signal
import socket
import subprocess
import sys
import time
import urllib.parse


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    state_dir = "."

    def log_message(self, format, *args):  # noqa: A002 - the base class's name
        pass

    def _record(self):
        with open(os.path.join(self.state_dir, "requests.log"), "a", encoding="utf-8") as log:
            log.write(self.path + "\n")

    def _file_for(self, url_path):
        relative = urllib.parse.unquote(url_path.split("?", 1)[0]).lstrip("/")
        root = os.path.realpath(os.path.join(self.state_dir, "root"))
        path = os.path.realpath(os.path.join(root, relative))
        if not path.startswith(root + os.sep) or not os.path.isfile(path):
            return None
        return path

    def _send_head(self, length):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(length))
        self.end_headers()

    def do_GET(self):  # noqa: N802 - the base class's name
        self._record()
        cut = self.path.startswith("/cut/")
        path = self._file_for(self.path[len("/cut"):] if cut else self.path)
        if path is None:
            body = b"<html><body><h1>404 Not Found</h1></body></html>"
            self.send_response(404)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        with open(path, "rb") as served:
            body = served.read()
        self._send_head(len(body))
        if cut:
            self.wfile.write(body[: len(body) // 2])
            self.wfile.flush()
            self.connection.shutdown(socket.SHUT_RDWR)
            self.close_connection = True
            return
        self.wfile.write(body)


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def write_text(path, text):
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)


def serve(state_dir):
    Handler.state_dir = state_dir
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    write_text(os.path.join(state_dir, "refused_port"), str(free_port()))
    write_text(os.path.join(state_dir, "pid"), str(os.getpid()))
    # The port file last: its presence says the server is ready.
    write_text(os.path.join(state_dir, "port.tmp"), str(server.server_address[1]))
    os.replace(os.path.join(state_dir, "port.tmp"), os.path.join(state_dir, "port"))
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    try:
        server.serve_forever()
    finally:
        server.server_close()


def running_pid(state_dir):
    try:
        with open(os.path.join(state_dir, "pid"), encoding="utf-8") as pid_file:
            pid = int(pid_file.read().strip())
        with open(f"/proc/{pid}/cmdline", "rb") as cmdline:
            if b"http_server.py" not in cmdline.read():
                return None
        return pid
    except (OSError, ValueError):
        return None


def stop(state_dir):
    pid = running_pid(state_dir)
    if pid is not None:
        os.kill(pid, signal.SIGTERM)
        for _ in range(100):
            if running_pid(state_dir) is None:
                break
            time.sleep(0.05)
    for name in ("pid", "port"):
        try:
            os.remove(os.path.join(state_dir, name))
        except FileNotFoundError:
            pass


def start(state_dir):
    stop(state_dir)  # a server left behind by an interrupted run
    os.makedirs(os.path.join(state_dir, "root"), exist_ok=True)
    try:
        os.remove(os.path.join(state_dir, "requests.log"))
    except FileNotFoundError:
        pass
    with open(os.devnull, "rb") as null_in, open(os.path.join(state_dir, "server.log"), "ab") as log:
        # Detached, and without the caller's pipes, so that the caller can end.
        subprocess.Popen([sys.executable, os.path.abspath(__file__), "serve", state_dir], stdin=null_in,
                         stdout=log, stderr=log, start_new_session=True)
    port_file = os.path.join(state_dir, "port")
    for _ in range(200):
        if os.path.exists(port_file):
            with open(port_file, encoding="utf-8") as port:
                print(f"serving {state_dir}/root on http://127.0.0.1:{port.read()}/")
            return 0
        time.sleep(0.05)
    print("the server did not start; see server.log", file=sys.stderr)
    return 1


def main(argv):
    if len(argv) != 3 or argv[1] not in ("start", "stop", "serve"):
        print(__doc__, file=sys.stderr)
        return 2
    state_dir = os.path.abspath(argv[2])
    os.makedirs(state_dir, exist_ok=True)
    if argv[1] == "serve":
        serve(state_dir)
        return 0
    if argv[1] == "stop":
        stop(state_dir)
        return 0
    return start(state_dir)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
