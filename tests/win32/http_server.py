#!/usr/bin/env python3
"""A small HTTP and HTTPS server on loopback for the download tests.

    http_server.py start STATE_DIR   start in the background, return when it listens
    http_server.py stop STATE_DIR    stop the server started with STATE_DIR
    http_server.py serve STATE_DIR   run in the foreground

STATE_DIR holds:
    root/          the files served: GET /a/b.exe answers root/a/b.exe
    port           the port it listens on with plain HTTP (127.0.0.1)
    https_port     the same over TLS, with a certificate for localhost (and
                   download.vandrel-midi.example) from the test authority
    self_signed_port   the same with a self-signed certificate for localhost
    other_host_port    the same with a certificate of the test authority for
                   another host (other.example)
    proxy_port     a proxy to this server, whatever host a request names:
                   a CONNECT is tunnelled to https_port, any other request
                   goes to port
    tls/           the test authority (authority.pem, authority.der) and the
                   servers' keys and certificates, made anew by every start
    refused_port   a loopback port on which nothing listens
    requests.log   one line per request: the request path
    pid            the server's process id while it runs

The test authority is trusted nowhere until a test trusts it
(tests/programs/trust_authority.cpp does so in a Wine prefix). The servers
listen on 127.0.0.1; https clients reach them as localhost, the name in
their certificates.

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
    /loop/<anything>       a redirect (302) to the same path, for ever; each
                           answer after the query's `pause` seconds (default 0)
    /chain/<n>/<path>      a redirect to /chain/<n-1>/<path> while n > 0 (by
                           turns 301, 302, 303, 307, 308), at 0 the file
    /redirect/<anything>?to=<address>   a redirect (302) to that address,
                           absolute or relative
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
import socketserver
import ssl
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

    def _redirect(self, code, location):
        self.send_response(code)
        self.send_header("Location", location)
        self.send_header("Content-Length", "0")
        self.end_headers()

    def _answer_redirect(self):
        """Answers the redirect modes; False for any other path."""
        if self.path.startswith("/loop/"):
            time.sleep(self._seconds("pause", 0.0))
            self._redirect(302, self.path)
        elif self.path.startswith("/redirect/"):
            targets = self._query().get("to")
            if not targets:
                self._send_page(400, "Bad Request")
            else:
                self._redirect(302, targets[0])
        elif self.path.startswith("/chain/"):
            count, _, rest = self.path[len("/chain/"):].partition("/")
            if not count.isdigit():
                self._send_page(400, "Bad Request")
            elif int(count) > 0:
                self._redirect((301, 302, 303, 307, 308)[int(count) % 5], f"/chain/{int(count) - 1}/{rest}")
            else:
                return False
        else:
            return False
        return True

    def do_GET(self):  # noqa: N802 - the base class's name
        self._record()
        if self._answer_redirect():
            return
        mode, rest = "", self.path
        if rest.startswith("/chain/0/"):
            rest = rest[len("/chain/0"):]
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


class TlsServer(http.server.ThreadingHTTPServer):
    """The same server over TLS; each handshake runs in its connection's own
    thread, so that a client that refuses the certificate holds up nobody."""

    daemon_threads = True

    def __init__(self, context):
        super().__init__(("127.0.0.1", 0), Handler)
        self.context = context

    def finish_request(self, request, client_address):
        try:
            connection = self.context.wrap_socket(request, server_side=True)
        except OSError:
            return  # the client refused the certificate, or went away
        with connection:
            super().finish_request(connection, client_address)


class ProxyHandler(socketserver.BaseRequestHandler):
    """A proxy that sends everything to this test server, whatever host and
    port a request names: a CONNECT becomes a tunnel to the https server, any
    other request (with an absolute address) goes to the plain one."""

    https_port = 0
    http_port = 0

    def handle(self):
        head = b""
        while b"\r\n\r\n" not in head:
            data = self.request.recv(4096)
            if not data or len(head) > 65536:
                return
            head += data
        request_line, _, rest = head.partition(b"\r\n")
        method, _, target = request_line.partition(b" ")
        if method == b"CONNECT":
            port, first = self.https_port, b""
        else:
            # "GET http://host:port/path HTTP/1.1" asks the server for "/path".
            address, _, version = target.partition(b" ")
            path = b"/" + address.split(b"://", 1)[-1].partition(b"/")[2]
            port, first = self.http_port, method + b" " + path + b" " + version + b"\r\n" + rest
        with socket.create_connection(("127.0.0.1", port)) as upstream:
            if first:
                upstream.sendall(first)
            else:
                self.request.sendall(b"HTTP/1.1 200 Connection established\r\n\r\n")
            while True:
                readable, _, _ = select.select([self.request, upstream], [], [])
                for end in readable:
                    data = end.recv(65536)
                    if not data:
                        return
                    (upstream if end is self.request else self.request).sendall(data)


def openssl(*arguments):
    result = subprocess.run(["openssl", *arguments], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=False)
    if result.returncode != 0:
        raise RuntimeError(f"openssl {arguments[0]} failed: {result.stderr.decode(errors='replace')}")


def make_certificates(tls_dir):
    """The test authority of this run, one server key and its certificates:
    from the authority for localhost (and the built-in download host) and for
    another host, and a self-signed one for localhost."""
    os.makedirs(tls_dir, exist_ok=True)

    def path(name):
        return os.path.join(tls_dir, name)

    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", path("authority.key"),
            "-out", path("authority.pem"), "-days", "2", "-subj", "/CN=Vandrel test authority",
            "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    openssl("x509", "-in", path("authority.pem"), "-outform", "der", "-out", path("authority.der"))
    openssl("genpkey", "-algorithm", "RSA", "-pkeyopt", "rsa_keygen_bits:2048", "-out", path("server.key"))
    certificates = (("localhost", "localhost", "DNS:localhost,DNS:download.vandrel-midi.example"),
                    ("other_host", "other.example", "DNS:other.example"))
    for serial, (name, host, alt_names) in enumerate(certificates, start=1):
        write_text(path(name + ".ext"), f"subjectAltName={alt_names}\nbasicConstraints=CA:FALSE\n"
                                        "extendedKeyUsage=serverAuth\n")
        openssl("req", "-new", "-key", path("server.key"), "-subj", f"/CN={host}", "-out", path(name + ".csr"))
        openssl("x509", "-req", "-in", path(name + ".csr"), "-CA", path("authority.pem"),
                "-CAkey", path("authority.key"), "-set_serial", str(serial), "-days", "2",
                "-extfile", path(name + ".ext"), "-out", path(name + ".pem"))
    openssl("req", "-x509", "-key", path("server.key"), "-subj", "/CN=localhost", "-days", "2",
            "-addext", "subjectAltName=DNS:localhost", "-out", path("self_signed.pem"))


def start_in_background(server):
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


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
    tls_dir = os.path.join(state_dir, "tls")
    for name in ("localhost", "self_signed", "other_host"):
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(os.path.join(tls_dir, name + ".pem"), os.path.join(tls_dir, "server.key"))
        port = start_in_background(TlsServer(context))
        write_text(os.path.join(state_dir, "https_port" if name == "localhost" else name + "_port"), str(port))
        if name == "localhost":
            ProxyHandler.https_port = port
    ProxyHandler.http_port = server.server_address[1]
    proxy = socketserver.ThreadingTCPServer(("127.0.0.1", 0), ProxyHandler)
    proxy.daemon_threads = True
    write_text(os.path.join(state_dir, "proxy_port"), str(start_in_background(proxy)))
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
    make_certificates(os.path.join(state_dir, "tls"))
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
