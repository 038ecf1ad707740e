"""Helpers for process-level tests: copies of the program folder, Windows
programs started in the test slot's Wine prefix and on its display, and the
local services."""
import json
import os
import shutil
import subprocess
import tempfile
import time
import urllib.request

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


def wait_exit(proc, timeout):
    try:
        return proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        return None


def stop(proc, folder):
    """Makes sure a client started by a test is gone."""
    if proc.poll() is None:
        folder.run("shutdown", timeout=30)
        if wait_exit(proc, 10) is None:
            proc.kill()
