"""Software files: /file/<id> redirects to /files/<id>.bin, which honours Range.

/echo/<anything> answers, as JSON, the path and query exactly as they arrived
(no decoding), so tests can check what the client put on the wire.

File contents are generated deterministically from the id (size from
/_files/ registrations, or 256 KiB by default), so tests can compare bytes.
/_files/<stem>?size=N&release=R replaces a file by a new release: other
bytes, and any size, so a file can grow or shrink under the same address.
/_files/<stem>?path=<file>[&append=<text>] serves <stem>.bin, on this
session only, as the bytes of a local file followed by the text (UTF-8):
a test serves a real program, with options appended to its copy.
"""
import hashlib

from response import Response

DEFAULT_SIZE = 256 * 1024
_cache = {}


def file_bytes(soft_id, size, release=0):
    key = (soft_id, size, release)
    data = _cache.get(key)
    if data is None:
        name = str(soft_id) if not release else "%s#release%d" % (soft_id, release)
        seed = hashlib.sha256(name.encode()).digest()
        block = hashlib.sha256(seed).digest() * 2048  # 64 KiB pattern
        reps = size // len(block) + 1
        # Make every 64 KiB block differ so an offset mistake shows.
        data = b"".join(bytes([i & 0xFF]) + block[1:] for i in range(reps))[:size]
        if len(_cache) > 16:
            _cache.clear()
        _cache[key] = data
    return data


def _named_files(handler):
    """The files a session serves from local files: stem -> bytes."""
    session = handler.session
    files = getattr(session, "named_files", None)
    if files is None:
        files = session.named_files = {}
    return files


def register(route, state):
    sizes = state.ctx.setdefault("file_sizes", {})

    @route("/file/")
    def file_location(handler, path, query, raw):
        soft_id = path[len("/file/"):]
        if query.get("relative", [""])[0] == "1":  # a Location given as a path
            return Response.redirect("/files/%s.bin" % soft_id)
        host = handler.headers.get("Host", "127.0.0.1")
        return Response.redirect("http://%s/files/%s.bin" % (host, soft_id))

    @route("/files/")
    def file_body(handler, path, query, raw):
        name = path[len("/files/"):]
        if not name.endswith(".bin"):
            return Response.text(404, "no such file")
        stem = name[:-4]
        named = _named_files(handler).get(stem)
        if named is not None:
            return Response.file(named)
        size, release = sizes.get(stem, (None, 0))
        if size is None:
            try:
                size = int(query.get("size", [DEFAULT_SIZE])[0])
            except ValueError:
                size = DEFAULT_SIZE
        return Response.file(file_bytes(stem, size, release))

    @route("/echo/")
    def echo(handler, path, query, raw):
        target = handler.path
        cut = target.find("?")
        return Response.json({"path": target if cut < 0 else target[:cut],
                              "query": "" if cut < 0 else target[cut + 1:]})

    @route("/_files/")
    def set_size(handler, path, query, raw):
        stem = path[len("/_files/"):]
        if "path" in query:
            # /_files/<stem>?path=<file>[&append=<text>]: that file's bytes
            try:
                with open(query["path"][0], "rb") as f:
                    data = f.read()
            except OSError as e:
                return Response.json({"ok": False, "error": str(e)})
            _named_files(handler)[stem] = data + query.get("append", [""])[0].encode("utf-8")
            return Response.json({"ok": True, "size": len(_named_files(handler)[stem])})
        # /_files/<stem>?size=N[&release=R]: the file served as <stem>.bin
        sizes[stem] = (int(query.get("size", ["0"])[0]), int(query.get("release", ["0"])[0]))
        return Response.json({"ok": True})
