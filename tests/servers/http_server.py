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
                   goes to port; proxy.log gets one line per request: its
                   request line
    tls/           the test authority (authority.pem, authority.der) and the
                   servers' keys and certificates, made anew by every start
    refused_port   a loopback port on which nothing listens
    requests.log   one line per request: the request path
    ranges.log     one line per request: the path, the Range and the If-Range
                   header ("-" when there is none), separated by tabs
    connections.log    one line per held, slow or endless connection when it
                   ends (the client or the server closed it): the path, a
                   tab and the time in seconds since the epoch (3 decimals)
    pid            the server's process id while it runs

The test authority is trusted nowhere until a test trusts it
(tests/programs/trust_authority.cpp does so in a Wine prefix). The servers
listen on 127.0.0.1; https clients reach them as localhost, the name in
their certificates.

Paths (<path> names a file under root; 404 when there is none; each may
follow /chain/0):
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
    /chunked/<path>        the file chunked (16 KiB chunks), no Content-Length
    /chunked-cut/<path>    the chunks of the first half, then the connection is
                           closed without the last (empty) chunk
    /no-length/<path>      the file without Content-Length nor chunks, then the
                           connection is closed
    /no-length-cut/<path>  the same with only the first half of the file
    /length/<text>/<path>  the file with "Content-Length: <text>" as written
                           (percent-decoded: %2B10 is +10), then closed
    /two-lengths/<path>    the file with two Content-Length headers, the right
                           one and one more, then closed
    /gzip/<path>           the file gzip-compressed (Content-Encoding: gzip)
    /empty/<path>          200 with Content-Length: 0
    /slow-start/<path>     the file after the query's `pause` seconds
                           (default 2)
    /slow/<path>           the file at the query's `rate` bytes a second
                           (default 1024), rate/4 bytes every 0.25 s, then
                           closed; it stops when the client goes away
    /endless/<path>        Content-Length: 10000000000 and the file's bytes
                           over and over (zeros for an empty file) until the
                           client goes away; at the query's `rate` bytes a
                           second, or as fast as the client reads
    /resume/<path>         the file with Accept-Ranges: bytes, a strong ETag
                           and the file's Last-Modified; "Range: bytes=<n>-"
                           gets 206 with the rest of the file when there is
                           no If-Range or it names the ETag or Last-Modified
                           (otherwise 200 with the whole file), and 416 when
                           n is at or past the end. The first `cuts` answers
                           (default 1) break off after at most
                           ceil(length / (cuts + 1)) bytes of body, never all
                           of it; `how` says how: close (default), reset (a
                           TCP reset) or stall (held like the stalls below)
    /resume-weak/<path>    the same with a weak ETag; only an If-Range with
                           the Last-Modified matches
    /changing/<path>       the same, but the first answer has another content
                           of the same length (every byte inverted), ETag "v1"
                           and an earlier Last-Modified; the later ones have
                           the file, ETag "v2"
    /range-wrong-start/<path>  like /resume/, but a 206 starts one byte
                           earlier than asked (and sends that byte)
    /range-wrong-total/<path>  like /resume/, but a 206 names a total length
                           one more than the file's
    /range-ignored/<path>  like /resume/, but a range gets 416
    /resume-no-progress/<path>   like /resume/ with cuts for ever: an answer
                           of the whole file breaks off after half, every
                           206 before its first body byte
    /ignores-if-range/<path>   like /changing/, but a range is answered 206
                           with the rest of the changed file under its new
                           ETag whatever If-Range says (as caches that ignore
                           it do)
    /slow-resume/<path>    like /resume/, but every answer after the first
                           comes after the query's `pause` seconds (default 8)
    /resume-drops/<path>   like /resume/, but the query's `drops` requests
                           (default 2) after the first are closed unanswered
    /proxy.pac             a proxy auto-configuration script that sends every
                           address through proxy_port
    anything else          200 with the file, or as the mode that a file
                           root/<path>.mode names ("slow?rate=20000": the
                           mode's name and its query), so that a client that
                           asks for a fixed address can meet each behaviour

A request may name the whole address ("GET https://host/a/b.exe", as WinHTTP
sends through a proxy's tunnel): it is answered for its path.

The stalls hold the connection open until the client closes it or, at the
latest, for the query's `hold` seconds (default 120), and then close it.
`trickle` pauses for the query's `pause` seconds (default 1). With the query
`once` only the first request of that path stalls; later ones get the file.
The resumable paths count their requests by path without the query, since the
start of the server; a test starts a count of its own with a query `id`
(/resume/a.bin?id=2 counts apart from /resume/a.bin?id=1 and /resume/a.bin).
"""

import email.utils
import gzip
import hashlib
import http.server
import os
import re
import select
import signal
import socket
import shutil
import socketserver
import ssl
import struct
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
    request_counts = {}  # resumable path (and id) -> requests seen
    log_lock = threading.Lock()

    def log_message(self, format, *args):  # noqa: A002 - the base class's name
        pass

    def _log(self, name, line):
        with self.log_lock, open(os.path.join(self.state_dir, name), "a", encoding="utf-8") as log:
            log.write(line + "\n")

    def _record(self):
        self._log("requests.log", self.path)
        fields = (self.path, self.headers.get("Range") or "-", self.headers.get("If-Range") or "-")
        self._log("ranges.log", "\t".join(fields))

    def _connection_ended(self):
        self.close_connection = True
        self._log("connections.log", f"{self.path}\t{time.time():.3f}")

    def _file_for(self, url_path):
        relative = urllib.parse.unquote(url_path.split("?", 1)[0]).lstrip("/")
        root = os.path.realpath(os.path.join(self.state_dir, "root"))
        path = os.path.realpath(os.path.join(root, relative))
        if not path.startswith(root + os.sep) or not os.path.isfile(path):
            return None
        return path

    def _body_of(self, url_path):
        """The content of the file the path names; None, after a 404, when
        there is none."""
        path = self._file_for(url_path)
        if path is None:
            self._send_page(404, "Not Found")
            return None
        with open(path, "rb") as served:
            return served.read()

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
        self._connection_ended()

    def _client_gone(self, timeout):
        """Waits up to timeout seconds; True as soon as the client closes."""
        readable, _, _ = select.select([self.connection], [], [], timeout)
        if not readable:
            return False
        try:
            return not self.connection.recv(4096)
        except ssl.SSLWantReadError:
            return False
        except OSError:
            return True

    def _close(self):
        """Ends the answer here with a clean close of the connection."""
        self.wfile.flush()
        self.connection.shutdown(socket.SHUT_RDWR)
        self.close_connection = True

    def _break_off(self):
        """Breaks the connection off as the query's `how` says: close, reset
        or stall."""
        how = self._query().get("how", ["close"])[0]
        if how == "stall":
            self._hold()
        elif how == "reset":
            self.wfile.flush()
            time.sleep(0.2)  # time for the client to read what came before
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.connection.close()  # an RST once the handler lets go of it
            self.close_connection = True
        else:
            self._close()

    def _stall_this_time(self):
        if "once" not in self._query():
            return True
        key = self.path.split("?", 1)[0]
        with self.stalled_lock:
            if key in self.stalled_once:
                return False
            self.stalled_once.add(key)
            return True

    def _turn(self):
        """How many requests of this path (and query id) came before this."""
        key = self.path.split("?", 1)[0]
        ids = self._query().get("id")
        if ids:
            key += "?id=" + ids[0]
        with self.stalled_lock:
            turn = self.request_counts.get(key, 0)
            self.request_counts[key] = turn + 1
        return turn

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

    # Each mode answers the rest of the path after its name ("/<path>?query");
    # self.mode is its name, "" for a plain file.

    def _serve_file(self, rest):
        # Streamed a megabyte at a time: the first byte leaves at once, not
        # after the whole of a large file was read (the download benchmark's
        # figures include the wait for it).
        path = self._file_for(rest)
        if path is None:
            self._send_page(404, "Not Found")
            return
        with open(path, "rb") as served:
            self._send_head(os.fstat(served.fileno()).st_size)
            shutil.copyfileobj(served, self.wfile, 1024 * 1024)

    def _serve_status(self, rest):
        code, _, tail = rest[1:].partition("/")
        if not code.isdigit():
            self._serve_file("/status" + rest)
        elif self._file_for("/" + tail) is None:
            self._send_page(404, "Not Found")
        else:
            self._send_page(int(code), self.responses.get(int(code), ("Status",))[0])

    def _serve_cut(self, rest):
        body = self._body_of(rest)
        if body is not None:
            self._send_head(len(body))
            self.wfile.write(body[: len(body) // 2])
            self._close()

    def _serve_stall(self, rest):
        if self._file_for(rest) is None:
            self._send_page(404, "Not Found")
            return
        if not self._stall_this_time():
            self._serve_file(rest)
            return
        if self.mode == "stall-head":
            self._hold()
            return
        body = self._body_of(rest)
        self._send_head(len(body))
        if self.mode == "stall-body":
            self.wfile.write(body[: len(body) // 2])
        self._hold()

    def _serve_trickle(self, rest):
        body = self._body_of(rest)
        if body is None:
            return
        self._send_head(len(body))
        pause = self._seconds("pause", 1.0)
        pieces = 8
        for i in range(pieces):
            if i:
                time.sleep(pause)
            self.wfile.write(body[len(body) * i // pieces: len(body) * (i + 1) // pieces])
            self.wfile.flush()

    def _serve_chunked(self, rest):
        body = self._body_of(rest)
        if body is None:
            return
        cut = self.mode == "chunked-cut"
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Transfer-Encoding", "chunked")
        self.end_headers()
        sent = body[: len(body) // 2] if cut else body
        for offset in range(0, len(sent), 16384):
            chunk = sent[offset: offset + 16384]
            self.wfile.write(b"%x\r\n%s\r\n" % (len(chunk), chunk))
        if cut:
            self._close()
        else:
            self.wfile.write(b"0\r\n\r\n")

    def _serve_no_length(self, rest):
        body = self._body_of(rest)
        if body is None:
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body[: len(body) // 2] if self.mode == "no-length-cut" else body)
        self._close()

    def _serve_length(self, rest):
        text, _, tail = rest[1:].partition("/")
        body = self._body_of("/" + tail)
        if body is None:
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        # Latin-1 both ways: the header carries the decoded bytes as they are.
        self.send_header("Content-Length", urllib.parse.unquote(text, encoding="latin-1"))
        self.end_headers()
        self.wfile.write(body)
        self._close()

    def _serve_two_lengths(self, rest):
        body = self._body_of(rest)
        if body is None:
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Content-Length", str(len(body) + 1))
        self.end_headers()
        self.wfile.write(body)
        self._close()

    def _serve_gzip(self, rest):
        body = self._body_of(rest)
        if body is None:
            return
        packed = gzip.compress(body, mtime=0)
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(packed)))
        self.end_headers()
        self.wfile.write(packed)

    def _serve_empty(self, rest):
        if self._body_of(rest) is not None:
            self._send_head(0)

    def _serve_slow_start(self, rest):
        time.sleep(self._seconds("pause", 2.0))
        self._serve_file(rest)

    def _serve_slow(self, rest):
        body = self._body_of(rest)
        if body is None:
            return
        rate = max(self._seconds("rate", 1024.0), 1.0)
        piece = max(int(rate / 4), 1)
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        try:
            for offset in range(0, len(body), piece):
                if offset and self._client_gone(piece / rate):
                    break
                self.wfile.write(body[offset: offset + piece])
        except (ConnectionError, ssl.SSLError):
            pass  # the client went away
        finally:
            self._connection_ended()

    def _serve_endless(self, rest):
        body = self._body_of(rest)
        if body is None:
            return
        rate = self._seconds("rate", 0.0)
        piece = max(int(rate / 4), 1) if rate > 0 else 65536
        pattern = body or bytes(65536)
        # The pattern over and over, long enough for a piece from any offset.
        ring = pattern * (piece // len(pattern) + 1)
        ring += ring[:piece]
        length = 10_000_000_000
        self._send_head(length)
        sent = 0
        try:
            while sent < length:
                if sent and self._client_gone(piece / rate if rate > 0 else 0):
                    break
                at, count = sent % len(pattern), min(piece, length - sent)
                self.wfile.write(ring[at: at + count])
                sent += count
        except (ConnectionError, ssl.SSLError):
            pass  # the client went away
        finally:
            self._connection_ended()

    def _serve_resumable(self, rest):
        """The file with ranges, ETag and Last-Modified; the first answers
        break off, and the mode adds its own fault."""
        path = self._file_for(rest)
        if path is None:
            self._send_page(404, "Not Found")
            return
        with open(path, "rb") as served:
            body = served.read()
        turn = self._turn()
        modified = os.path.getmtime(path)
        etag = '"' + hashlib.sha256(body).hexdigest()[:32] + '"'
        if self.mode == "resume-weak":
            etag = "W/" + etag
        elif self.mode in ("changing", "ignores-if-range"):
            if turn == 0:
                body = body.translate(bytes(range(255, -1, -1)))
                etag, modified = '"v1"', modified - 86400
            else:
                etag = '"v2"'
        last_modified = email.utils.formatdate(modified, usegmt=True)
        if self.mode == "resume-no-progress":
            broken, limit = True, (len(body) + 1) // 2
        else:
            try:
                cuts = max(int(self._query()["cuts"][0]), 0)
            except (KeyError, ValueError):
                cuts = 1
            broken, limit = turn < cuts, max(-(-len(body) // (cuts + 1)), 1)

        if turn > 0 and self.mode == "resume-drops" and turn <= self._seconds("drops", 2):
            self._close()
            return
        if turn > 0 and self.mode == "slow-resume":
            time.sleep(self._seconds("pause", 8))
        start = None
        wanted = re.fullmatch(r"bytes=(\d+)-", (self.headers.get("Range") or "").strip())
        if_range = (self.headers.get("If-Range") or "").strip()
        if wanted and (not if_range or if_range == last_modified or self.mode == "ignores-if-range"
                       or (if_range == etag and not etag.startswith("W/"))):
            start = int(wanted.group(1))
        if start is not None and (start >= len(body) or self.mode == "range-ignored"):
            self.send_response(416)
            self.send_header("Content-Range", f"bytes */{len(body)}")
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if start is None:
            first = 0
            self.send_response(200)
        else:
            first = start - 1 if self.mode == "range-wrong-start" and start > 0 else start
            total = len(body) + 1 if self.mode == "range-wrong-total" else len(body)
            self.send_response(206)
            self.send_header("Content-Range", f"bytes {first}-{len(body) - 1}/{total}")
            if self.mode == "resume-no-progress":
                limit = 0
        part = body[first:]
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(part)))
        self.send_header("Accept-Ranges", "bytes")
        self.send_header("ETag", etag)
        self.send_header("Last-Modified", last_modified)
        self.end_headers()
        if not broken:
            self.wfile.write(part)
            return
        self.wfile.write(part[: min(limit, max(len(part) - 1, 0))])
        self._break_off()

    modes = {
        "cut": _serve_cut,
        "trickle": _serve_trickle,
        "stall-head": _serve_stall,
        "stall-headers": _serve_stall,
        "stall-body": _serve_stall,
        "status": _serve_status,
        "chunked": _serve_chunked,
        "chunked-cut": _serve_chunked,
        "no-length": _serve_no_length,
        "no-length-cut": _serve_no_length,
        "length": _serve_length,
        "two-lengths": _serve_two_lengths,
        "gzip": _serve_gzip,
        "empty": _serve_empty,
        "slow-start": _serve_slow_start,
        "slow": _serve_slow,
        "endless": _serve_endless,
        "resume": _serve_resumable,
        "resume-weak": _serve_resumable,
        "changing": _serve_resumable,
        "range-wrong-start": _serve_resumable,
        "range-wrong-total": _serve_resumable,
        "range-ignored": _serve_resumable,
        "resume-no-progress": _serve_resumable,
        "ignores-if-range": _serve_resumable,
        "slow-resume": _serve_resumable,
        "resume-drops": _serve_resumable,
    }

    def _mode_of_file(self, rest):
        """The mode that root/<path>.mode names for a plain request of <path>
        ("slow?rate=20000"): its name, with its query added to the request's."""
        served = self._file_for(rest)
        try:
            with open(served + ".mode", encoding="utf-8") as mode_file:
                mode, _, query = mode_file.read().strip().partition("?")
        except (OSError, TypeError):
            return ""
        if query:
            self.path += ("&" if "?" in self.path else "?") + query
        return mode if mode in self.modes else ""

    def do_GET(self):  # noqa: N802 - the base class's name
        # A client may name the whole address (WinHTTP does so through a
        # proxy's tunnel): the server answers for its path.
        for scheme in ("http://", "https://"):
            if self.path.startswith(scheme):
                self.path = "/" + self.path[len(scheme):].partition("/")[2]
        self._record()
        if self.path.partition("?")[0] == "/proxy.pac":
            script = ('function FindProxyForURL(url, host) { return "PROXY 127.0.0.1:%d"; }\n'
                      % ProxyHandler.proxy_port).encode()
            self.send_response(200)
            self.send_header("Content-Type", "application/x-ns-proxy-autoconfig")
            self.send_header("Content-Length", str(len(script)))
            self.end_headers()
            self.wfile.write(script)
            return
        if self._answer_redirect():
            return
        rest = self.path
        if rest.startswith("/chain/0/"):
            rest = rest[len("/chain/0"):]
        mode, slash, tail = rest[1:].partition("/")
        self.mode = ""  # one connection may carry several requests
        if slash and mode in self.modes:
            self.mode, rest = mode, "/" + tail
        else:
            self.mode = self._mode_of_file(rest)
        try:
            self.modes.get(self.mode, Handler._serve_file)(self, rest)
        except (ConnectionError, ssl.SSLError):
            self.close_connection = True  # the client went away

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
    proxy_port = 0
    log_path = ""
    log_lock = threading.Lock()

    def handle(self):
        head = b""
        while b"\r\n\r\n" not in head:
            data = self.request.recv(4096)
            if not data or len(head) > 65536:
                return
            head += data
        request_line, _, rest = head.partition(b"\r\n")
        with self.log_lock, open(self.log_path, "a", encoding="utf-8") as log:
            log.write(request_line.decode("latin-1") + "\n")
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
        context.minimum_version = ssl.TLSVersion.TLSv1_2  # as most servers today
        context.load_cert_chain(os.path.join(tls_dir, name + ".pem"), os.path.join(tls_dir, "server.key"))
        port = start_in_background(TlsServer(context))
        write_text(os.path.join(state_dir, "https_port" if name == "localhost" else name + "_port"), str(port))
        if name == "localhost":
            ProxyHandler.https_port = port
    ProxyHandler.http_port = server.server_address[1]
    proxy = socketserver.ThreadingTCPServer(("127.0.0.1", 0), ProxyHandler)
    proxy.daemon_threads = True
    ProxyHandler.log_path = os.path.join(state_dir, "proxy.log")
    ProxyHandler.proxy_port = start_in_background(proxy)
    write_text(os.path.join(state_dir, "proxy_port"), str(ProxyHandler.proxy_port))
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
    for name in ("requests.log", "ranges.log", "connections.log"):
        try:
            os.remove(os.path.join(state_dir, name))
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
