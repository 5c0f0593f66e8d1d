#!/usr/bin/env python3
"""Local stand-in for the publisher's web hosts (statistics, update, notice, game hall, login).

Serves the site folder over HTTP/1.1 on 127.0.0.1, appends every request to a JSON-lines log
and applies fault behaviours read from a JSON file on every request (status, body, file: an
absolute path whose bytes are served, delay, drop, no_length, cut_after, and stall_after with
stall: seconds to pause mid-body), so that a running test can switch a fault on and off without
restarting the server. In the site's ".txt" files "@HOST@" stands for the host[:port] the
request was sent to, so that a notice can name its picture on whatever port the server runs.
"""

import argparse
import json
import mimetypes
import os
import signal
import socket
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

HOST = "127.0.0.1"
DEFAULT_PORT = 18461
MAX_DELAY = 60.0
INDEX_NAMES = ("index.htm", "index.html")


# The publisher's hosts run their ".php" pages; here they are static pages like the others.
EXTRA_TYPES = {".php": "text/html"}


def content_type_of(path):
    """The Content-Type of a served file, by its extension."""
    extra = EXTRA_TYPES.get(os.path.splitext(path)[1].lower())
    return extra or mimetypes.guess_type(path)[0] or "application/octet-stream"


def clamp_delay(value):
    """Seconds to wait, bounded so that a mistyped fault cannot hang a test run."""
    if isinstance(value, bool) or not isinstance(value, (int, float)):
        return 0.0
    if value != value:  # NaN
        return 0.0
    return max(0.0, min(float(value), MAX_DELAY))


def find_fault(faults, path):
    """The behaviour for a request path: an exact key wins, then the longest "prefix*" key."""
    if not isinstance(faults, dict):
        return None
    exact = faults.get(path)
    if isinstance(exact, dict):
        return exact
    best = None
    best_len = -1
    for key, behaviour in faults.items():
        if not key.endswith("*") or not isinstance(behaviour, dict):
            continue
        prefix = key[:-1]
        if path.startswith(prefix) and len(prefix) > best_len:
            best, best_len = behaviour, len(prefix)
    return best


def read_served_file(path):
    """The bytes of the file a "file" fault names, or None: only absolute paths of regular
    files count, so that a relative name can never reach into the server's own folder."""
    if not isinstance(path, str) or not os.path.isabs(path):
        return None
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return None


class FaultFile:
    """Re-reads the fault file on every lookup.

    A test may rewrite the file while a request is being served; a half-written file would
    parse as garbage, so the last good contents stay in force until the file parses again.
    A missing file means no faults.
    """

    def __init__(self, path):
        self.path = path
        self.lock = threading.Lock()
        self.last_good = {}

    def current(self):
        if not self.path:
            return {}
        try:
            with open(self.path, "rb") as f:
                data = json.loads(f.read().decode("utf-8"))
        except FileNotFoundError:
            with self.lock:
                self.last_good = {}
            return {}
        except (OSError, ValueError) as e:
            sys.stderr.write("publisher: fault file %s unreadable (%s); keeping previous faults\n" % (self.path, e))
            with self.lock:
                return self.last_good
        if not isinstance(data, dict):
            sys.stderr.write("publisher: fault file %s is not a JSON object; ignored\n" % self.path)
            data = {}
        with self.lock:
            self.last_good = data
        return data


class RequestLog:
    def __init__(self, path):
        self.path = path
        self.lock = threading.Lock()

    def append(self, entry):
        if not self.path:
            return
        line = json.dumps(entry, ensure_ascii=False) + "\n"
        # Opened per request so that a test may truncate or remove the log between steps.
        with self.lock:
            with open(self.path, "a", encoding="utf-8") as f:
                f.write(line)
                f.flush()


class PublisherServer(ThreadingHTTPServer):
    daemon_threads = True  # a delayed answer must not hold up shutdown

    def __init__(self, port, root, log_path, faults_path):
        self.root = os.path.realpath(root)
        self.request_log = RequestLog(log_path)
        self.faults = FaultFile(faults_path)
        super().__init__((HOST, port), PublisherHandler)


class PublisherHandler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "TolvVorelPublisher/1"

    def do_GET(self):
        self.answer(send_body=True)

    def do_HEAD(self):
        self.answer(send_body=False)

    def log_message(self, format, *args):
        pass  # the JSON request log is the record; stderr stays free for real problems

    def answer(self, send_body):
        started = time.time()
        split = urllib.parse.urlsplit(self.path)
        path, query = split.path, split.query
        fault = find_fault(self.server.faults.current(), path) or {}
        delay = clamp_delay(fault.get("delay", 0))
        if delay:
            time.sleep(delay)
        if fault.get("drop"):
            self.log_request_entry(started, path, query, None)
            self.drop_connection()
            return
        status, body, content_type = self.resolve(path, fault)
        # Logged before answering: a test that has its answer finds the entry already there.
        self.log_request_entry(started, path, query, status)
        try:
            self.send_answer(status, body, content_type, fault, send_body)
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True

    def log_request_entry(self, started, path, query, status):
        self.server.request_log.append(
            {
                "time": started,
                "method": self.command,
                "path": path,
                "query": query,
                "headers": dict(self.headers.items()),
                "status": status,  # null when the connection was dropped unanswered
            }
        )

    def resolve(self, path, fault):
        """Status, body bytes and content type of the answer before any transport fault."""
        file_path = self.local_file(path)
        if file_path is not None:
            with open(file_path, "rb") as f:
                body = f.read()
            status = 200
            content_type = content_type_of(file_path)
            if file_path.endswith(".txt"):
                body = body.replace(b"@HOST@", self.request_host())
        else:
            status, body, content_type = 404, None, "text/html"
        if "file" in fault:
            # A file of the test's own (a built executable, a large download) stands in for
            # the site's; one that cannot be read is missing.
            status, body, content_type = 404, None, "text/html"
            served = read_served_file(fault["file"])
            if served is not None:
                status, body, content_type = 200, served, "application/octet-stream"
        forced = fault.get("status")
        if isinstance(forced, bool) or not isinstance(forced, int) or not 100 <= forced <= 999:
            forced = None
        if forced is not None and forced != status:
            status, body = forced, None
        if "body" in fault:
            # A body alone stands in for a file, existing or not.
            if forced is None:
                status = 200
            body = str(fault["body"]).encode("utf-8")
            content_type = "text/plain; charset=utf-8"
        if body is None:
            reason = self.responses.get(status, ("",))[0]
            body = ("<html><body><h1>%d %s</h1></body></html>\n" % (status, reason)).encode("ascii")
            content_type = "text/html"
        return status, body, content_type

    def request_host(self):
        """The Host header as bytes, or this server's own address when the request had none."""
        host = self.headers.get("Host") or "%s:%d" % (HOST, self.server.server_address[1])
        return host.encode("ascii", "replace")

    def local_file(self, path):
        """The file under the site root that a URL path names, or None (never outside the root)."""
        relative = urllib.parse.unquote(path).lstrip("/")
        candidate = os.path.realpath(os.path.join(self.server.root, relative))
        root = self.server.root
        if candidate != root and not candidate.startswith(root + os.sep):
            return None
        if os.path.isdir(candidate):
            for name in INDEX_NAMES:
                index = os.path.join(candidate, name)
                if os.path.isfile(index):
                    return index
            return None
        return candidate if os.path.isfile(candidate) else None

    def send_answer(self, status, body, content_type, fault, send_body):
        no_length = bool(fault.get("no_length"))
        cut_after = fault.get("cut_after")
        if isinstance(cut_after, bool) or not isinstance(cut_after, int) or cut_after < 0:
            cut_after = None

        self.send_response(status)
        self.send_header("Content-Type", content_type)
        if no_length:
            # Without a length the only end of the body is the end of the connection.
            self.send_header("Connection", "close")
            self.close_connection = True
        else:
            self.send_header("Content-Length", str(len(body)))
        # The browser control must see the current pages, not its cache, on every test run.
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        if not send_body:
            return
        if cut_after is not None and cut_after < len(body):
            self.wfile.write(body[:cut_after])
            self.wfile.flush()
            self.close_connection = True
            self.shut_socket()
            return
        stall_after = fault.get("stall_after")
        if isinstance(stall_after, bool) or not isinstance(stall_after, int) or stall_after < 0:
            stall_after = None
        if stall_after is not None and stall_after < len(body):
            # A transfer that stops mid-body and goes on later: what a cancel has to end.
            self.wfile.write(body[:stall_after])
            self.wfile.flush()
            time.sleep(clamp_delay(fault.get("stall", 0)))
            body = body[stall_after:]
        self.wfile.write(body)
        self.wfile.flush()

    def drop_connection(self):
        self.close_connection = True
        self.shut_socket()

    def shut_socket(self):
        # shutdown() sends the FIN at once, even if another reference keeps the socket open.
        try:
            self.connection.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass


def write_pidfile(path):
    tmp = path + ".tmp"
    with open(tmp, "w") as f:
        f.write("%d\n" % os.getpid())
    os.replace(tmp, path)  # readers never see a half-written pid


def parse_args(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    p = argparse.ArgumentParser(description="Local publisher server (binds %s only)." % HOST)
    p.add_argument("--port", type=int, default=DEFAULT_PORT, help="TCP port; 0 picks a free one")
    p.add_argument("--root", default=os.path.join(here, "site"), help="folder served as the site")
    p.add_argument("--log", help="request log, one JSON object per line (appended)")
    p.add_argument("--faults", help="JSON fault file, read again on every request")
    p.add_argument("--pidfile", help="written once the port is bound, removed at exit")
    return p.parse_args(argv)


def main(argv=None):
    args = parse_args(argv)
    if not os.path.isdir(args.root):
        sys.stderr.write("publisher: site folder %s does not exist\n" % args.root)
        return 2
    try:
        server = PublisherServer(args.port, args.root, args.log, args.faults)
    except OSError as e:
        sys.stderr.write("publisher: cannot listen on %s:%d: %s\n" % (HOST, args.port, e))
        return 1

    def on_term(signum, frame):
        raise KeyboardInterrupt

    signal.signal(signal.SIGTERM, on_term)
    if args.pidfile:
        write_pidfile(args.pidfile)
    port = server.server_address[1]
    # Callers that asked for port 0 learn the real one from this line.
    sys.stdout.write("publisher: serving %s on http://%s:%d/\n" % (server.root, HOST, port))
    sys.stdout.flush()
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
        if args.pidfile:
            try:
                os.remove(args.pidfile)
            except OSError:
                pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
