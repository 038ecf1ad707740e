"""Splits the page bench's rounds by stage. Reads, per round, the bench's
output and the service's request log (JSON) of that round, and prints the
median of each stage in milliseconds from the click: when each request
(first and last of its kind) reached the service, and when the page showed
its loading text, sub-categories, rows and icons.
    stages.py <round dir>...   each dir holds out.txt and log.json"""
import json
import os
import statistics
import sys

KINDS = [("class", "/class"), ("rank", "/rank/"), ("record", "/soft/"),
         ("row_icon", "/icon/"), ("type_icon", "/class_icon/")]
SHOWN = ["loading_text", "types_shown", "rows_shown", "icons_shown", "first_load"]


def one_round(folder):
    out = {}
    with open(os.path.join(folder, "out.txt")) as f:
        for line in f:
            if ": " in line:
                k, v = line.strip().split(": ", 1)
                out[k] = float(v)
    click = out["catalogue_page_click_epoch_ms"]
    with open(os.path.join(folder, "log.json")) as f:
        log = [e for e in json.load(f) if e["time"] * 1000 >= click - 1]
    stages = {}
    for name, prefix in KINDS:
        times = sorted(e["time"] * 1000 - click for e in log
                       if e["path"] == prefix or (prefix.endswith("/") and e["path"].startswith(prefix)))
        if times:
            stages[name + "_first"] = times[0]
            stages[name + "_last"] = times[-1]
            stages[name + "_count"] = len(times)
    for name in SHOWN:
        key = "catalogue_page_%s_ms" % name
        if key in out:
            stages[name] = out[key]
    return stages


def main():
    rounds = [one_round(d) for d in sys.argv[1:]]
    keys = []
    for name, _ in KINDS:
        keys += [name + "_first", name + "_last"]
    keys += SHOWN
    print("stages (median ms from the click; requests as the service received them):")
    for key in keys:
        values = [r[key] for r in rounds if key in r]
        if values:
            print("  stage_%s_ms: %.1f" % (key, statistics.median(values)))
    for name, _ in KINDS:
        counts = [r.get(name + "_count", 0) for r in rounds]
        print("  requests_%s: %d" % (name, statistics.median(counts)))


if __name__ == "__main__":
    main()
