#!/usr/bin/env python3
"""Local stand-ins for the client's remote services, on loopback only.

One HTTP/1.1 server answers every host role (catalogue, login, user service,
report): the client is pointed at it through its VANTREL_*_HOST variables.
Answers always carry Content-Length (several requests share a connection),
files honour "Range: bytes=N-", every request is logged with its Range,
Cookie and User-Agent headers, and tests switch fault modes on through the
/_ctl/ paths.

Routes are registered by the *_routes.py modules in this folder.

Private sessions: GET /_ctl/session opens another listening port that serves
the same routes with a request log and fault table of its own, so tests that
run at the same time cannot see each other's requests or faults. It answers
{"port": N}; /_ctl/close on that port ends the session.
"""
import argparse
import importlib
import json
import os
import socket
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import faults  # noqa: E402
from response import Response  # noqa: E402


def route_modules():
    """Every *_routes.py beside this file registers its paths."""
    return sorted(f[:-3] for f in os.listdir(HERE) if f.endswith("_routes.py"))


class Session:
    """A request log and a fault table: the main port's, or a private one."""

    def __init__(self, log_file=None):
        self.lock = threading.Lock()
        self.log = []
        self.log_file = log_file
        self.faults = faults.FaultTable()

    def record(self, entry):
        with self.lock:
            self.log.append(entry)
            if self.log_file:
                self.log_file.write(json.dumps(entry, ensure_ascii=False) + "\n")
                self.log_file.flush()


class State(Session):
    def __init__(self, data_dir):
        super().__init__()
        self.data_dir = data_dir
        self.routes = []  # (method-less) list of (matcher, handler)
        self.ctx = {}     # shared data of the route modules


STATE = None


def route(prefix):
    """Decorator: a handler for every path starting with `prefix`."""
    def wrap(fn):
        STATE.routes.append((prefix, fn))
        return fn
    return wrap


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    # Headers and body leave in separate writes: without TCP_NODELAY every
    # answer on a kept-alive connection waits for the client's delayed ACK.
    disable_nagle_algorithm = True
    server_version = "KelvoraLocal/1.0"

    def log_message(self, fmt, *args):  # the request log replaces stderr lines
        pass

    @property
    def session(self):
        return getattr(self.server, "session", None) or STATE

    def do_GET(self):
        raw_path = self.path
        parsed = urllib.parse.urlsplit(raw_path)
        entry = {
            "time": time.time(),
            "line": self.requestline,
            "path": parsed.path,
            "raw_query": parsed.query,
            "host": self.headers.get("Host"),
            "range": self.headers.get("Range"),
            "cookie": self.headers.get("Cookie"),
            "user_agent": self.headers.get("User-Agent"),
            "connection_id": id(self.connection),
        }
        if parsed.path.startswith("/_ctl/"):
            return self.control(parsed)
        self.session.record(entry)
        query = urllib.parse.parse_qs(parsed.query, keep_blank_values=True)
        resp = None
        for prefix, fn in STATE.routes:
            if parsed.path.startswith(prefix):
                resp = fn(self, parsed.path, query, parsed.query)
                if resp is not None:
                    break
        if resp is None:
            resp = Response.text(404, "not found")
        fault = self.session.faults.take(parsed.path)
        self.send(resp, fault)

    def control(self, parsed):
        q = urllib.parse.parse_qs(parsed.query, keep_blank_values=True)
        what = parsed.path[len("/_ctl/"):]
        session = self.session
        if what == "log":
            with session.lock:
                body = json.dumps(session.log, ensure_ascii=False)
            return self.send(Response.json_text(body), None)
        if what == "reset":
            with session.lock:
                session.log.clear()
            session.faults.clear()
            return self.send(Response.json_text('{"ok":true}'), None)
        if what == "fault":
            try:
                count = int(q.get("count", ["-1"])[0])
            except ValueError:
                return self.send(Response.text(400, "bad count"), None)
            session.faults.add(q.get("mode", [""])[0], q.get("path", [""])[0], count,
                               q.get("arg", [""])[0])
            return self.send(Response.json_text('{"ok":true}'), None)
        if what == "session":
            port = open_session()
            return self.send(Response.json_text('{"port":%d}' % port), None)
        if what == "close" and getattr(self.server, "session", None) is not None:
            self.send(Response.json_text('{"ok":true}'), None)
            server = self.server
            def finish():
                server.shutdown()
                server.server_close()
            threading.Thread(target=finish, daemon=True).start()
            return None
        return self.send(Response.text(404, "unknown control"), None)

    def send(self, resp, fault):
        body, status, headers = resp.body, resp.status, dict(resp.headers)
        start = 0
        rng = self.headers.get("Range")
        ignore_range = fault is not None and fault.mode == "ignore_range"
        if resp.ranged and rng and not ignore_range and status == 200:
            start = faults.parse_range_start(rng)
            if (start is not None and start >= len(body) and fault is not None
                    and fault.mode == "range416"):
                status, headers, body = faults.unsatisfiable_range(len(body), fault)
                start, fault = 0, None
            elif start is not None and start <= len(body):
                status = 206
                headers["Content-Range"] = "bytes %d-%d/%d" % (start, len(body) - 1, len(body))
            else:
                start = 0
        payload = body[start:] if start else body
        if fault is not None:
            status, headers, payload, how = faults.apply(fault, status, headers, payload)
        else:
            how = None
        try:
            if how == "stall_headers":
                time.sleep(fault.seconds())
                self.close_connection = True
                return
            if how == "delay":
                time.sleep(fault.seconds(1.0))
            if how == "disconnect":
                self.close_connection = True
                self.connection.shutdown(socket.SHUT_RDWR)
                return
            self.send_response(status)
            for k, v in headers.items():
                self.send_header(k, v)
            if how == "length":
                self.send_header("Content-Length", fault.arg)
            elif how == "stall_end":
                self.send_header("Content-Length", str(len(payload) + 1))
            elif how != "no_length":
                self.send_header("Content-Length", str(resp.length_override
                                                       if resp.length_override is not None
                                                       else len(payload)))
            else:
                self.close_connection = True
            self.end_headers()
            faults.write_body(self, payload, fault, how)
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True


def open_session():
    """Serves the routes on a new loopback port with a log and faults of its own."""
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.session = Session()
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


def main():
    global STATE
    ap = argparse.ArgumentParser()
    ap.add_argument("--port", type=int, default=0)
    ap.add_argument("--port-file")
    ap.add_argument("--log-file")
    ap.add_argument("--data-dir", default=os.path.join(HERE, "data"))
    # The fake installer served for every sample title (file_routes.py): the
    # build's own, so it writes the registry view that flavour's client reads.
    ap.add_argument("--fake-installer")
    args = ap.parse_args()
    STATE = State(args.data_dir)
    if args.fake_installer:
        STATE.ctx["fake_installer"] = os.path.abspath(args.fake_installer)
    if args.log_file:
        STATE.log_file = open(args.log_file, "a", encoding="utf-8")
    for name in route_modules():
        mod = importlib.import_module(name)
        mod.register(route, STATE)
    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    port = server.server_address[1]
    if args.port_file:
        tmp = args.port_file + ".tmp"
        with open(tmp, "w") as f:
            f.write(str(port))
        os.replace(tmp, args.port_file)
    print("services: listening on 127.0.0.1:%d" % port, flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
