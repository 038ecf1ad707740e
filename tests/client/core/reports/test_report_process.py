"""The report switches and the start report of the program itself, each
against a private session of the local services."""
import json
import os
import re
import shutil
import sys
import time
import unittest
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "process"))
import harness  # noqa: E402

REPORT_PATH = "/VanTrelService.aspx"
MAC = re.compile(r"^([0-9A-F]{12}|00000)$")
# The 64-bit system folder of the test slot's prefix: a 32-bit client reads
# the union file there with redirection off.
OLM = os.path.join(harness.WINE_PREFIX, "drive_c", "windows", "system32", "olm")


class PrivateSession:
    def __init__(self):
        with urllib.request.urlopen("http://%s/_ctl/session" % harness.service_host(), timeout=10) as r:
            self.port = json.loads(r.read())["port"]
        self.host = "127.0.0.1:%d" % self.port

    def ctl(self, what):
        with urllib.request.urlopen("http://%s/_ctl/%s" % (self.host, what), timeout=10) as r:
            return r.read()

    def log(self):
        return json.loads(self.ctl("log"))

    def env(self):
        return harness.client_env({"VANTREL_%s_HOST" % role: self.host
                                   for role in ("CATALOGUE", "LOGIN", "USER", "REPORT")})

    def close(self):
        try:
            self.ctl("close")
        except OSError:
            pass


class ReportSwitches(unittest.TestCase):
    def setUp(self):
        self.folder = harness.ProgramFolder()
        self.session = PrivateSession()
        self.procs = []

    def tearDown(self):
        for p in self.procs:
            harness.stop(p, self.folder)
        self.session.close()
        self.folder.remove()
        shutil.rmtree(OLM, ignore_errors=True)

    def write_union(self, text):
        os.makedirs(OLM, exist_ok=True)
        with open(os.path.join(OLM, "union"), "w") as f:
            f.write(text)

    def reports(self):
        """The requests to the report path only."""
        return [e for e in self.session.log() if e["path"] == REPORT_PATH]

    def check_one_report(self, mod, union_id, log=None):
        log = self.session.log() if log is None else log
        self.assertEqual(1, len(log), log)
        entry = log[0]
        self.assertEqual(REPORT_PATH, entry["path"])
        m = re.match(r"^mod=([a-z]+)&mac=([^&]*)&union_id=(-?\d+)$", entry["raw_query"])
        self.assertIsNotNone(m, entry["raw_query"])
        self.assertEqual(mod, m.group(1))
        self.assertRegex(m.group(2), MAC)
        self.assertEqual(str(union_id), m.group(3))
        self.assertEqual("Vantrel", entry["user_agent"])

    def test_switches_send_exactly_one_report_and_write_no_log(self):
        cases = [("report_install", "installpro", "1234\n", 1234),
                 ("REPORT_UNINSTALL", "uninstallpro", "1005", 1005),
                 ("Report_Install", "installpro", None, -1)]
        for word, mod, union_text, union_id in cases:
            with self.subTest(word=word):
                self.session.ctl("reset")
                shutil.rmtree(OLM, ignore_errors=True)
                if union_text is not None:
                    self.write_union(union_text)
                result = self.folder.run(word, env=self.session.env(), timeout=60)
                self.assertEqual(0, result.returncode)
                time.sleep(0.3)  # a stray second request would show by now
                self.check_one_report(mod, union_id)
                self.assertIsNone(self.folder.log_lines(), "a one-shot run writes no log")

    def test_a_failed_report_still_exits_zero(self):
        self.session.ctl("fault?mode=status500&path=/VanTrelService.aspx&count=-1")
        result = self.folder.run("report_uninstall", env=self.session.env(), timeout=60)
        self.assertEqual(0, result.returncode)
        self.assertEqual(1, len(self.session.log()))
        self.assertIsNone(self.folder.log_lines())

    def test_a_normal_start_sends_activepro(self):
        self.write_union("1010")
        client = self.folder.start(env=self.session.env())
        self.procs.append(client)
        self.assertTrue(self.folder.wait_for_log("MainInit: startup"), "client did not start")
        # The start also asks the same host for the version database and the
        # catalogue: only the report path counts here.
        end = time.time() + 30
        while time.time() < end and not self.reports():
            time.sleep(0.1)  # a step of the wait for the report
        self.check_one_report("activepro", 1010, self.reports())
        self.assertIsNone(client.poll())


if __name__ == "__main__":
    unittest.main()
