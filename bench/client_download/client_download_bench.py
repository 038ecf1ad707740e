"""Drives vantrel.exe with real input: the first catalogue row's detail page,
then its "下载"; then curl fetches the same file. The service builds the
file before either side is timed.

Ours is timed from the first request the click caused, as the service's
request log has it, to the last write of the file (its modification time):
the click itself (xdotool, the X server, Wine's input) is not the client's
download. Both are split by stage: the click's way to that first request,
the Location look-up, and the body."""
import glob
import json
import os
import subprocess
import time
import urllib.request

import desktop
import harness

SIZE = int(os.environ.get("CLIENT_DOWNLOAD_BENCH_SIZE", 64 * 1024 * 1024))
FIRST_ROW_NAME = (330, 149)
DETAIL_DOWNLOAD_BTN = (811, 202)


def get(port, path):
    with urllib.request.urlopen("http://127.0.0.1:%d%s" % (port, path), timeout=60) as r:
        return r.read()


def main():
    port = json.loads(get(harness.service_port(), "/_ctl/session"))["port"]
    folder = harness.ProgramFolder()
    proc = None
    try:
        for soft_id in range(1001, 1080):
            get(port, "/_files/%d?size=%d" % (soft_id, SIZE))
        host = "127.0.0.1:%d" % port
        env = harness.client_env({"VANTREL_%s_HOST" % r: host for r in ("CATALOGUE", "LOGIN", "USER", "REPORT")})
        proc = folder.start(env=env)
        main_wnd = desktop.wait_window(name="Kelvora", size=(890, 635), timeout=60)
        desktop.wait_for(lambda: any(e["path"].startswith("/VDB") for e in json.loads(get(port, "/_ctl/log"))),
                         timeout=30)
        time.sleep(1.5)
        main_wnd.click(*FIRST_ROW_NAME)
        # The detail page asks for the score with the software's id.
        def shown_id():
            for e in json.loads(get(port, "/_ctl/log")):
                q = e.get("raw_query", "") or ""
                if e["path"] == "/UserService.aspx" and "soft_id=" in q:
                    return q.split("soft_id=")[1].split("&")[0]
            return None
        soft_id = desktop.wait_for(shown_id, timeout=30)
        get(port, "/files/%s.bin" % soft_id)  # the service builds the file now
        time.sleep(2)
        target = folder.file("Downloads")
        get(port, "/_ctl/reset")
        # The click by hand, so the mouse-up's moment is known: xdotool's
        # return bounds it from after.
        x, y = main_wnd.x + DETAIL_DOWNLOAD_BTN[0], main_wnd.y + DETAIL_DOWNLOAD_BTN[1]
        desktop.move(x, y)
        time.sleep(0.15)
        subprocess.run(["xdotool", "mousedown", "1"], check=True)
        time.sleep(0.08)
        subprocess.run(["xdotool", "mouseup", "1"], check=True)
        mouse_up = time.time()

        files = []

        def complete():
            files[:] = [f for f in glob.glob(os.path.join(target, "*")) if os.path.isfile(f)]
            return files and os.path.getsize(files[0]) == SIZE
        if not desktop.wait_for(complete, timeout=600, step=0.02):
            raise SystemExit("client_download: the file did not complete")
        written = os.stat(files[0]).st_mtime_ns / 1e9
        log = json.loads(get(port, "/_ctl/log"))
        first = min(e["time"] for e in log if e["path"] == "/file/%s" % soft_id)
        body = min(e["time"] for e in log if e["path"] == "/files/%s.bin" % soft_id)
        ours = written - first

        out = os.path.join(folder.path, "curl.bin")
        timing = subprocess.run(["curl", "-s", "-L", "-o", out, "-w", "%{time_redirect} %{time_total}",
                                 "http://%s/file/%s" % (host, soft_id)], check=True,
                                capture_output=True, text=True).stdout.split()
        curl_redirect, theirs = float(timing[0]), float(timing[1])
        mib = SIZE / 1048576.0
        print("file_mib: %d" % mib)
        print("vantrel_first_request_to_file_mib_s: %.1f" % (mib / ours))
        print("curl_mib_s: %.1f" % (mib / theirs))
        print("stage_mouseup_to_first_request_ms: %.1f (xdotool's return to the request)" %
              ((first - mouse_up) * 1000))
        print("stage_vantrel_location_ms: %.1f" % ((body - first) * 1000))
        print("stage_vantrel_body_ms: %.1f" % ((written - body) * 1000))
        print("stage_curl_location_ms: %.1f" % (curl_redirect * 1000))
        print("stage_curl_body_ms: %.1f" % ((theirs - curl_redirect) * 1000))
        print("ratio_vantrel_to_curl: %.3f (aim >= 0.90)" % (theirs / ours))
    finally:
        if proc is not None:
            harness.stop(proc, folder)
        try:
            get(port, "/_ctl/close")
        except OSError:
            pass
        folder.remove()


if __name__ == "__main__":
    main()
