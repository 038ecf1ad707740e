"""Catalogue service: categories, ranking pages, software records, search
and icons, answered from the sample catalogue in catalogue_data.py.

/class                       every category (a JSON array)
/rank/<class>_<page>_<n>     one ranking page (pages start at 1)
/soft/<id>                   one software record; an unknown id gets an
                             empty answer (Content-Length 0); its soft_size
                             is the length of the file the session serves
                             for it (file_routes.py)
/search/<percent-encoded>    ids whose name or description holds the UTF-8
                             keyword
/icon/<id>, /class_icon/<id> small PNG icons

The fault modes of faults.py (bad_json, wrong_json, status500, ...) apply to
every one of these paths.
"""
import json
import urllib.parse

import catalogue_data as data
import file_routes
import images
from response import Response


def _png(seed, size=32):
    """A plain square PNG whose colour follows the seed."""
    r, g, b = (seed * 97) % 256, (seed * 57 + 80) % 256, (seed * 31 + 160) % 256
    return images.solid_png(size, size, (r, g, b, 255))


def _int(text):
    try:
        return int(text)
    except ValueError:
        return None


def _png_response(png):
    resp = Response.file(png)
    resp.headers["Content-Type"] = "image/png"
    return resp


def register(route, state):
    @route("/class")
    def classes(handler, path, query, raw):
        if path != "/class":
            return None
        return Response.json(data.class_list())

    @route("/rank/")
    def rank(handler, path, query, raw):
        parts = path[len("/rank/"):].split("_")
        nums = [_int(p) for p in parts]
        if len(nums) != 3 or None in nums:
            return Response.text(404, "bad ranking path")
        return Response.json(data.rank_page(*nums))

    @route("/soft/")
    def soft(handler, path, query, raw):
        soft_id = _int(path[len("/soft/"):])
        if soft_id not in data.SOFTWARE:
            return Response.json_text("")
        return Response.json(data.soft_record(soft_id, file_routes.served_length(handler, state, soft_id)))

    @route("/search/")
    def search(handler, path, query, raw):
        # The raw path keeps the client's encoding; decode it as UTF-8 bytes.
        encoded = handler.path.split("?", 1)[0][len("/search/"):]
        keyword = urllib.parse.unquote_to_bytes(encoded).decode("utf-8", "replace")
        return Response.json(data.search(keyword))

    @route("/icon/")
    def icon(handler, path, query, raw):
        soft_id = _int(path[len("/icon/"):])
        if soft_id is None or soft_id not in data.SOFTWARE:
            return Response.text(404, "no such icon")
        return _png_response(_png(soft_id))

    @route("/class_icon/")
    def class_icon(handler, path, query, raw):
        class_id = _int(path[len("/class_icon/"):])
        known = {c for c, _, _ in data.TOP_CLASSES} | {c for c, _, _, _ in data.SUB_CLASSES}
        if class_id not in known:
            return Response.text(404, "no such icon")
        return _png_response(_png(class_id, 24))


if __name__ == "__main__":
    print(json.dumps(data.class_list(), ensure_ascii=False)[:200])
