"""Report service: install, uninstall, start and per-software reports, and the
software scores that the same host serves.

The client ignores the content of report answers; the request log is what
tests read. Scores: mod=score&soft_id=N&score=S records a rating;
mod=getscorenum&soft_id=N answers {"error","nums","score"} with the number of
ratings and their rounded mean as strings.
"""
import threading

from response import Response


def register(route, state):
    lock = threading.Lock()
    ratings = state.ctx.setdefault("score_ratings", {})

    @route("/VanTrelService.aspx")
    def report(handler, path, query, raw):
        return Response.json({"error": "noerror"})

    @route("/UserService.aspx")
    def score(handler, path, query, raw):
        mod = query.get("mod", [""])[0]
        soft_id = query.get("soft_id", [""])[0]
        if mod == "score":
            try:
                value = int(query.get("score", [""])[0])
            except ValueError:
                return Response.json({"error": "bad score"})
            with lock:
                ratings.setdefault(soft_id, []).append(value)
            return Response.json({"error": "noerror"})
        if mod == "getscorenum":
            with lock:
                values = list(ratings.get(soft_id, []))
            mean = (sum(values) + len(values) // 2) // len(values) if values else 0
            return Response.json({"error": "noerror", "nums": str(len(values)),
                                  "score": str(mean)})
        return Response.json({"error": "unknown mod"})
