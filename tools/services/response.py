"""A service answer: status, headers and body bytes."""
import json


class Response:
    def __init__(self, status=200, body=b"", headers=None, ranged=False):
        self.status = status
        self.body = body
        self.headers = headers or {}
        self.ranged = ranged             # honours "Range: bytes=N-"
        self.length_override = None      # a lying Content-Length, for tests

    @staticmethod
    def json(obj, status=200):
        return Response.json_text(json.dumps(obj, ensure_ascii=False), status)

    @staticmethod
    def json_text(text, status=200):
        return Response(status, text.encode("utf-8"),
                        {"Content-Type": "application/json; charset=utf-8"})

    @staticmethod
    def text(status, text):
        return Response(status, text.encode("utf-8"), {"Content-Type": "text/plain"})

    @staticmethod
    def file(data):
        return Response(200, data, {"Content-Type": "application/octet-stream"}, ranged=True)

    @staticmethod
    def redirect(location):
        return Response(302, b"", {"Location": location})
