"""Helpers for process-level tests: copies of the program folder, Windows
programs started in the test slot's Wine prefix and on its display, and the
local services."""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.request

import desktop

DIST = os.environ.get("VANTREL_TEST_DIST", "")
WINE_RUN = os.environ.get("VANTREL_WINE_RUN", "")
SERVICES = os.environ.get("VANTREL_TEST_SERVICES", "")
TEST_BIN = os.environ.get("VANTREL_TEST_BIN", "")
# The test slot's own prefix (wine-run.sh runs programs there).
WINE_PREFIX = os.environ.get("WINEPREFIX", "")


def service_port():
    with open(os.path.join(SERVICES, "port")) as f:
        return int(f.read().strip())


def service_host():
    return "127.0.0.1:%d" % service_port()


def ctl(path):
    with urllib.request.urlopen("http://%s/_ctl/%s" % (service_host(), path), timeout=10) as r:
        return r.read()


def request_log():
    return json.loads(ctl("log"))


def reset_services():
    ctl("reset")


def client_env(extra=None):
    env = dict(os.environ)
    host = service_host() if SERVICES and os.path.exists(os.path.join(SERVICES, "port")) else "127.0.0.1:9"
    for role in ("CATALOGUE", "LOGIN", "USER", "REPORT"):
        env["VANTREL_%s_HOST" % role] = host
    env.update(extra or {})
    return env


class ProgramFolder:
    """A private copy of build/dist, removed at the end."""

    def __init__(self):
        self.path = tempfile.mkdtemp(prefix="kelvora-dist-")
        shutil.rmtree(self.path)
        shutil.copytree(DIST, self.path)

    def file(self, *parts):
        return os.path.join(self.path, *parts)

    def log_lines(self):
        try:
            with open(self.file("data", "vantrel.log"), encoding="latin-1") as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return None

    def wait_for_log(self, text, timeout=30):
        end = time.time() + timeout
        while time.time() < end:
            lines = self.log_lines() or []
            if any(text in line for line in lines):
                return True
            time.sleep(0.1)
        return False

    def start(self, *args, env=None):
        return subprocess.Popen([WINE_RUN, self.file("vantrel.exe"), *args], env=env or client_env(),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def run(self, *args, env=None, timeout=60):
        return subprocess.run([WINE_RUN, self.file("vantrel.exe"), *args], env=env or client_env(),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout)

    def remove(self):
        shutil.rmtree(self.path, ignore_errors=True)


class Session:
    """A private session of the local services: its own port, log and faults."""

    def __init__(self):
        with urllib.request.urlopen("http://%s/_ctl/session" % service_host(), timeout=10) as r:
            self.port = json.loads(r.read())["port"]

    def get(self, path):
        with urllib.request.urlopen("http://127.0.0.1:%d%s" % (self.port, path), timeout=10) as r:
            return r.read()

    def ctl(self, what):
        return self.get("/_ctl/" + what)

    def fault(self, mode, path, count, arg=""):
        self.ctl("fault?mode=%s&path=%s&count=%d&arg=%s" % (mode, path, count, arg))

    def log(self):
        return json.loads(self.ctl("log"))

    def paths(self):
        return [e["path"] for e in self.log()]

    def env(self, extra=None):
        host = "127.0.0.1:%d" % self.port
        values = {"VANTREL_%s_HOST" % role: host for role in ("CATALOGUE", "LOGIN", "USER", "REPORT")}
        values.update(extra or {})
        return client_env(values)

    def close(self):
        try:
            self.ctl("close")
        except OSError:
            pass


def wine_path(unix_path):
    """A Linux path as Wine's Windows programs see it."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def run_tool(name, *args, timeout=60):
    """Runs a Windows test helper of build/testbin; its exit code."""
    exe = os.path.join(TEST_BIN, "testbin", name)
    return subprocess.run([WINE_RUN, exe, *args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=timeout).returncode


def wait_exit(proc, timeout):
    try:
        return proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        return None


def stop(proc, folder):
    """Makes sure a client started by a test is gone."""
    if proc.poll() is None:
        folder.run("shutdown", timeout=60)
        if wait_exit(proc, 60) is None:
            proc.kill()


MAIN_WINDOW_SIZE = (890, 635)


class ClientTest(unittest.TestCase):
    """The fixture of a test that drives vantrel.exe: a private copy of the
    program folder, a private session of the services, the client the test
    started (self.proc) ended afterwards, and pictures of the display kept
    when KELVORA_SHOTS_DIR is set. A test that has ended the client itself
    sets self.proc to None."""

    def setUp(self):
        self.folder = ProgramFolder()
        self.session = Session()
        self.proc = None
        self.shots = os.environ.get("KELVORA_SHOTS_DIR")

    def tearDown(self):
        if self._failed():
            self.report_failure()
        if self.proc is not None:
            stop(self.proc, self.folder)
        self.session.close()
        self.folder.remove()

    def _failed(self):
        # Python reports a failure of the test body before its tearDown runs.
        result = getattr(getattr(self, "_outcome", None), "result", None)
        if result is None:
            return False
        # A failed subTest is recorded under the subtest, which names its test case.
        return any(test is self or getattr(test, "test_case", None) is self
                   for test, _ in list(result.failures) + list(result.errors))

    def report_failure(self):
        """What a failure leaves for whoever reads the test's output: the
        client's last log lines, the last requests, the windows up and a
        picture of the display."""
        out = sys.stderr
        print("--- %s failed; the client was %s" % (self.id(), "running" if self.proc and
              self.proc.poll() is None else "not running"), file=out)
        for line in (self.folder.log_lines() or [])[-40:]:
            print("  log: " + line, file=out)
        try:
            for e in self.session.log()[-15:]:
                print("  request: %s %s" % (e["path"], e.get("raw_query") or ""), file=out)
        except (OSError, ValueError):
            pass
        for w in desktop.visible_windows():
            if w.w > 1 and w.h > 1:
                print("  window: %r" % (w,), file=out)
        folder = os.path.join(TEST_BIN, "test-failures")
        os.makedirs(folder, exist_ok=True)
        print("  picture: " + str(desktop.screenshot(os.path.join(folder, self.id() + ".png"))), file=out)

    def shot(self, name):
        """Keeps a picture of the display as <name>.png when KELVORA_SHOTS_DIR
        is set; its path, or None."""
        if not self.shots:
            return None
        os.makedirs(self.shots, exist_ok=True)
        return desktop.screenshot(os.path.join(self.shots, name + ".png"))

    def brightness(self, window, area):
        """The mean brightness of area (x, y, w, h in the window), with the
        pointer parked in the window's corner so that nothing is hovered."""
        desktop.move(window.x + window.w - 5, window.y + window.h - 5)
        time.sleep(0.4)
        shot = desktop.screenshot()
        try:
            return desktop.mean_brightness(shot, window.x + area[0], window.y + area[1], area[2], area[3])
        finally:
            os.remove(shot)

    def start_main_window(self, extra_env=None, timeout=30):
        """Starts the client against this test's session; its main window."""
        self.proc = self.folder.start(env=self.session.env(extra_env))
        main = desktop.wait_window(name="Kelvora", size=MAIN_WINDOW_SIZE, timeout=timeout)
        self.assertIsNotNone(main, "the main window did not show")
        return main

    def wait_start_jobs(self, timeout=20):
        """The start-up jobs: the update check, then the version database."""
        return desktop.wait_for(lambda: "/VDB" in self.session.paths(), timeout=timeout)
