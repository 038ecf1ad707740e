"""The version service of the catalogue host.

/update_version      {"product_file": ..., "product_ver": ...}: the newest client
/query_vdb/<md5>     {"new_version": "0"} when <md5> is the current database's
                     digest (any case), else {"new_version": "1"}
/VDB                 the version database: a SQLite file whose table "version"
                     maps feature names to catalogue software and versions

Tests change them through:
/_version/config?product_ver=..&product_file=..   (absent keys: no member)
/_version/rows?row=<softid>|<feature_name>|<version>&row=...  (replaces the rows)
/_version/reset      the sample answers again
"""
import hashlib
import os
import sqlite3
import tempfile
import threading

from response import Response

DEFAULT_PRODUCT = {"product_file": "vantrel_setup_1.0.2.7.exe", "product_ver": "1.0.2.7"}


def sample_rows():
    """(softid, feature_name, version) for every sample catalogue record."""
    try:
        import catalogue_data
        return [(int(s["soft_id"]), s["soft_name"], s["soft_version"])
                for _, s in sorted(catalogue_data.SOFTWARE.items())]
    except Exception:  # the catalogue service is not installed beside us
        return [(1001, "飞鸽聊天", "3.2.1"), (1002, "畅言会议", "5.0.8"),
                (1003, "Foo Bar", "2.0"), (1004, "QQ International", "1.5")]


def build_vdb(rows):
    """The bytes of a SQLite file holding `rows` in table "version"."""
    fd, path = tempfile.mkstemp(suffix=".vdb")
    os.close(fd)
    try:
        db = sqlite3.connect(path)
        db.execute("create table version (id integer primary key, softid text, "
                   "feature_name text, version text, note text)")
        db.executemany("insert into version (softid, feature_name, version, note) values (?,?,?,?)",
                       [(str(s), f, v, "") for s, f, v in rows])
        db.commit()
        db.close()
        with open(path, "rb") as f:
            return f.read()
    finally:
        os.unlink(path)


class VersionService:
    def __init__(self):
        self.lock = threading.Lock()
        self.reset()

    def reset(self):
        with self.lock:
            self.product = dict(DEFAULT_PRODUCT)
            self.set_rows_locked(sample_rows())

    def set_rows_locked(self, rows):
        self.vdb = build_vdb(rows)
        self.md5 = hashlib.md5(self.vdb).hexdigest()


def register(route, state):
    # Each session (the main port and every private one) has its own answers,
    # so tests that run at the same time do not change each other's.
    services = {}
    services_lock = threading.Lock()

    def service_of(handler):
        with services_lock:
            key = id(handler.session)
            if key not in services:
                services[key] = VersionService()
            return services[key]

    @route("/update_version")
    def update_version(handler, path, query, raw):
        service = service_of(handler)
        with service.lock:
            return Response.json(dict(service.product))

    @route("/query_vdb/")
    def query_vdb(handler, path, query, raw):
        digest = path[len("/query_vdb/"):].lower()
        service = service_of(handler)
        with service.lock:
            current = digest == service.md5
        return Response.json({"new_version": "0" if current else "1"})

    @route("/VDB")
    def vdb(handler, path, query, raw):
        if path != "/VDB":
            return None
        service = service_of(handler)
        with service.lock:
            return Response.file(service.vdb)

    @route("/_version/")
    def control(handler, path, query, raw):
        what = path[len("/_version/"):]
        service = service_of(handler)
        with service.lock:
            if what == "config":
                service.product = {k: query[k][0] for k in ("product_file", "product_ver") if k in query}
            elif what == "rows":
                rows = []
                for spec in query.get("row", []):
                    softid, feature, version = (spec.split("|") + ["", "", ""])[:3]
                    rows.append((int(softid or 0), feature, version))
                service.set_rows_locked(rows)
            elif what == "reset":
                service.product = dict(DEFAULT_PRODUCT)
                service.set_rows_locked(sample_rows())
            else:
                return Response.text(404, "unknown version control")
            return Response.json({"ok": True, "md5": service.md5})
