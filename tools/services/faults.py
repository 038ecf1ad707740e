"""Fault modes that tests switch on through /_ctl/fault.

mode            what the next matching answers do
stall_headers   wait (arg seconds, default 30) before sending anything, then close
delay           wait (arg seconds, default 1) before answering, then answer as usual
stall_body      send headers and half the body, wait (arg seconds), then close
short_body      announce the full length, send half the body, close
no_length       send no Content-Length (body, then close)
disconnect      close the connection without answering
status404/500   answer with that status and a small HTML page
ignore_range    answer 200 with the whole file, whatever Range asked
throttle        send the body at arg bytes per second (default 64 KiB/s)
bad_json        replace the body by text that is not JSON
wrong_json      replace the body by JSON of the wrong shape (arg: the JSON)
cut_at          send arg bytes of the body, then close (announcing the full length)
length          announce arg as the Content-Length, send the body, then close
stall_end       announce one byte more than the body, send the body, wait (arg
                seconds), then close: the last byte has arrived but the end
                of the answer has not
huge_image      replace the body by a real PNG picture of arg pixels ("WxH",
                default 4096x4096): small on the wire, slow to decode
range416        a file asked for from its end or beyond ("Range: bytes=N-" with
                N at least its length) answers 416 with "Content-Range:
                bytes */<length>", as web servers do; arg, when given, is sent
                as the Content-Range instead ("none": no Content-Range)

Stall modes take their wait in seconds from arg (fractions allowed), so tests
can keep them short.

`path` limits a fault to paths starting with it; `count` to that many answers
(-1: until reset).
"""
import threading
import time

import images


class Fault:
    def __init__(self, mode, path, count, arg):
        self.mode, self.path, self.count, self.arg = mode, path, count, arg

    def seconds(self, default=30.0):
        try:
            return float(self.arg)
        except ValueError:
            return default


class FaultTable:
    def __init__(self):
        self.lock = threading.Lock()
        self.items = []

    def add(self, mode, path, count, arg):
        with self.lock:
            self.items.append(Fault(mode, path, count, arg))

    def clear(self):
        with self.lock:
            self.items.clear()

    def take(self, path):
        with self.lock:
            for f in self.items:
                if path.startswith(f.path) and f.count != 0:
                    if f.count > 0:
                        f.count -= 1
                    return f
        return None


def parse_range_start(header):
    h = header.strip()
    if not h.startswith("bytes=") or not h.endswith("-"):
        return None
    try:
        n = int(h[len("bytes="):-1])
    except ValueError:
        return None
    return n if n >= 0 else None


def unsatisfiable_range(length, fault):
    """The 416 answer of the range416 mode for a file of `length` bytes."""
    headers = {"Content-Type": "text/html"}
    if not fault.arg:
        headers["Content-Range"] = "bytes */%d" % length
    elif fault.arg != "none":
        headers["Content-Range"] = fault.arg
    return 416, headers, b"<html>416 Requested Range Not Satisfiable</html>"


def apply(fault, status, headers, payload):
    m = fault.mode
    if m in ("status404", "status500"):
        code = 404 if m == "status404" else 500
        return code, {"Content-Type": "text/html"}, b"<html>error %d</html>" % code, None
    if m == "huge_image":
        try:
            width, height = (int(v) for v in (fault.arg or "4096x4096").split("x"))
        except ValueError:
            width, height = 4096, 4096
        return status, {"Content-Type": "image/png"}, images.solid_png(width, height, (40, 90, 200, 255)), None
    if m == "bad_json":
        return status, headers, b"<html>this is not json", None
    if m == "wrong_json":
        return status, headers, (fault.arg or "[1,2,3]").encode("utf-8"), None
    if m in ("stall_headers", "delay", "disconnect", "no_length", "stall_body", "short_body",
             "throttle", "cut_at", "length", "stall_end"):
        return status, headers, payload, m
    return status, headers, payload, None


def write_body(handler, payload, fault, how):
    w = handler.wfile
    if how in ("stall_body", "short_body"):
        w.write(payload[: len(payload) // 2])
        w.flush()
        if how == "stall_body":
            time.sleep(fault.seconds())
        handler.close_connection = True
        return
    if how == "cut_at":
        w.write(payload[: int(fault.arg or 0)])
        w.flush()
        handler.close_connection = True
        return
    if how in ("length", "stall_end"):
        w.write(payload)
        w.flush()
        if how == "stall_end":
            time.sleep(fault.seconds())
        handler.close_connection = True
        return
    if how == "throttle":
        rate = int(fault.arg or 65536)
        step = max(1024, rate // 20)
        for i in range(0, len(payload), step):
            w.write(payload[i:i + step])
            w.flush()
            time.sleep(step / rate)
        return
    w.write(payload)
