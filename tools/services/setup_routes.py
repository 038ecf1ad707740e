"""Setup files for the client's self-update, served from files on disk.

/_setup/serve?name=<file name>&path=<file on disk>
                 serves the file's bytes at /setup/<file name>; the file is
                 read at each request, so a test may change it meanwhile
/setup/<name>    the registered file (Range honoured; the fault modes of
                 faults.py apply to it like to any other path)

Registrations belong to the session that made them (the main port or a
private one), so tests that run at the same time do not see each other's.
"""
import os
import threading

from response import Response


def register(route, state):
    files = {}  # (session id, name) -> path on disk
    lock = threading.Lock()

    @route("/_setup/serve")
    def serve(handler, path, query, raw):
        name = query.get("name", [""])[0]
        disk = query.get("path", [""])[0]
        if not name or "/" in name or not os.path.isfile(disk):
            return Response.text(400, "name and an existing path are needed")
        with lock:
            files[(id(handler.session), name)] = disk
        return Response.json({"ok": True, "path": "/setup/" + name})

    @route("/setup/")
    def setup_file(handler, path, query, raw):
        name = path[len("/setup/"):]
        with lock:
            disk = files.get((id(handler.session), name))
        if disk is None:
            return Response.text(404, "no such setup file")
        try:
            with open(disk, "rb") as f:
                return Response.file(f.read())
        except OSError:
            return Response.text(404, "the setup file cannot be read")
