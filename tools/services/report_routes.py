"""Report service: install, uninstall, start and per-software reports.

The client ignores the answer's content; the request log is what tests read.
"""
from response import Response


def register(route, state):
    @route("/VanTrelService.aspx")
    def report(handler, path, query, raw):
        return Response.json({"error": "noerror"})
