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

Paths (<path> names a file under root; 404 when there is none):
    /cut/<path>            200 with the full Content-Length of root/<path>,
                           then only the first half of the body, and the
                           connection is closed
    /stall-head/<path>     reads the request and answers nothing
    /stall-headers/<path>  200 with the full Content-Length, then nothing
    /stall-body/<path>     200 with the full Content-Length and the first half
                           of the body, then nothing
    /trickle/<path>        the whole file in eight pieces, a pause between two
    /status/<code>/<path>  that status code with a small HTML page
    anything else          200 with the file

The stalls hold the connection open until the client closes it or, at the
latest, for the query's `hold` seconds (default 120), and then close it.
`trickle` pauses for the query's `pause` seconds (default 1). With the query
`once` only the first request of that path stalls; later ones get the file.
"""

import http.server
import os
import select
import signal
import socket
import subprocess
import sys
import threading
import time
import urllib.parse


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    state_dir = "."
    stalled_once = set()
    stalled_lock = threading.Lock()

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

    def _query(self):
        query = self.path.split("?", 1)[1] if "?" in self.path else ""
        return urllib.parse.parse_qs(query, keep_blank_values=True)

    def _seconds(self, name, default):
        try:
            return float(self._query()[name][0])
        except (KeyError, ValueError):
            return default

    def _hold(self):
        """Keeps the connection open, sending nothing, until the client closes
        it or the hold time has passed; then closes it."""
        self.wfile.flush()
        deadline = time.monotonic() + self._seconds("hold", 120.0)
        while (left := deadline - time.monotonic()) > 0:
            readable, _, _ = select.select([self.connection], [], [], min(left, 1.0))
            try:
                if readable and not self.connection.recv(4096):
                    break  # the client closed the connection
            except OSError:
                break
        self.close_connection = True

    def _stall_this_time(self):
        if "once" not in self._query():
            return True
        key = self.path.split("?", 1)[0]
        with self.stalled_lock:
            if key in self.stalled_once:
                return False
            self.stalled_once.add(key)
            return True

    def _send_page(self, code, text):
        body = f"<html><body><h1>{code} {text}</h1></body></html>".encode()
        self.send_response(code)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):  # noqa: N802 - the base class's name
        self._record()
        mode, rest = "", self.path
        for prefix in ("/cut/", "/trickle/", "/stall-head/", "/stall-headers/", "/stall-body/"):
            if rest.startswith(prefix):
                mode, rest = prefix.strip("/"), rest[len(prefix) - 1:]
                break
        status = None
        if not mode and rest.startswith("/status/"):
            code, _, tail = rest[len("/status/"):].partition("/")
            if code.isdigit():
                status, rest = int(code), "/" + tail
        path = self._file_for(rest)
        if path is None:
            self._send_page(404, "Not Found")
            return
        if status is not None:
            self._send_page(status, self.responses.get(status, ("Status",))[0])
            return
        if mode.startswith("stall") and not self._stall_this_time():
            mode = ""
        if mode == "stall-head":
            self._hold()
            return
        with open(path, "rb") as served:
            body = served.read()
        self._send_head(len(body))
        if mode == "stall-headers":
            self._hold()
            return
        if mode == "stall-body":
            self.wfile.write(body[: len(body) // 2])
            self._hold()
            return
        if mode == "cut":
            self.wfile.write(body[: len(body) // 2])
            self.wfile.flush()
            self.connection.shutdown(socket.SHUT_RDWR)
            self.close_connection = True
            return
        if mode == "trickle":
            pause = self._seconds("pause", 1.0)
            pieces = 8
            for i in range(pieces):
                if i:
                    time.sleep(pause)
                self.wfile.write(body[len(body) * i // pieces: len(body) * (i + 1) // pieces])
                self.wfile.flush()
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
