"""The self-update of vantrel.exe with real input, against the local
services: the served setup is the fake setup recorder (it records the
command line it is started with). The offer at start-up and through
"检测更新"; a throttled download with progress that starts the setup with
"update" and ends the client with exit code 0; one box for every fault, no
file and the client running on; cancels at every stage."""
import glob
import os
import shutil
import tempfile
import time
import unittest
import urllib.parse

import desktop
import harness

CHECK_UPDATE_BTN = (641, 620)
WINDOW = (420, 230)
UPDATE_BTN = (210, 164)
CLOSE_BTN = (402, 16)
PROGRESS = (40, 132 + 10 + 26, 340, 14)   # the bar: x, y, w, h
BOX = (197, 97)
BOX_OK = (95, 83)
BOX_CANCEL = (159, 83)
NETWORK_BOX_OK = (159, 83)  # the main window's one-button box
SETUP_NAME = "vantrel_setup.exe"


class SelfUpdate(harness.ClientTest):
    def setUp(self):
        super().setUp()
        self.temp = tempfile.mkdtemp(prefix="kelvora-update-")
        self.record = os.path.join(self.temp, "setup-command-line.txt")
        self.recorder = os.path.join(harness.TEST_BIN, "testbin", "fake_setup_recorder.exe")
        self.serve(SETUP_NAME, self.recorder)
        self.offer("http://127.0.0.1:%d/setup/%s" % (self.session.port, SETUP_NAME))

    def tearDown(self):
        super().tearDown()
        shutil.rmtree(self.temp, ignore_errors=True)

    def serve(self, name, path):
        self.session.get("/_setup/serve?name=%s&path=%s"
                         % (urllib.parse.quote(name, safe=""), urllib.parse.quote(path, safe="")))

    def offer(self, address, version="1.0.2.8"):
        self.session.get("/_version/config?product_ver=%s&product_file=%s"
                         % (version, urllib.parse.quote(address, safe="")))

    def setup_file(self):
        return self.folder.file("Downloads", SETUP_NAME)

    def start(self, extra_env=None):
        env = {"VANTREL_FAKE_SETUP_RECORD": harness.wine_path(self.record)}
        env.update(extra_env or {})
        main = self.start_main_window(env)
        return main

    def offered(self):
        window = desktop.wait_window(size=WINDOW, timeout=20)
        self.assertIsNotNone(window, "no update window; requests %s; the log ends:\n%s"
                             % (self.session.paths()[-6:], "\n".join((self.folder.log_lines() or [])[-6:])))
        time.sleep(0.3)
        return window

    def answer_box(self, button, what=""):
        box = desktop.wait_window(size=BOX, timeout=15)
        self.assertIsNotNone(box, "no box %s; the log ends:\n%s"
                             % (what, "\n".join((self.folder.log_lines() or [])[-6:])))
        time.sleep(0.2)
        box.click(*button)
        if not desktop.wait_gone(size=BOX, timeout=3):
            box.click(*button)  # a box that has only just been shown may miss a click
        self.assertTrue(desktop.wait_gone(size=BOX), "the box stayed %s" % what)

    def cancel(self, window):
        window.click(*CLOSE_BTN)
        self.answer_box(BOX_OK)
        self.assertTrue(desktop.wait_gone(size=WINDOW), "the window stayed")

    def click_update(self, window):
        """Clicks the update button. A window that has just been shown may
        miss a first click (Wine without a window manager); one more is sent
        when neither a request nor a box followed it."""
        requests = len(self.setup_requests())
        window.click(*UPDATE_BTN)
        if not desktop.wait_for(lambda: len(self.setup_requests()) > requests or desktop.find(size=BOX), 3):
            window.click(*UPDATE_BTN)

    def reopen(self, main):
        """The offer again, through "检测更新". The main window, enabled
        again after a modal window, may miss a first click; and a check may
        meet "网络不可用" once after a fault that left a server talking on a
        kept-alive connection (an announced length of 0): that box is
        answered and the check asked for again."""
        for attempt in range(3):
            main.click(*CHECK_UPDATE_BTN)
            found = desktop.wait_for(lambda: desktop.find(size=WINDOW) or desktop.find(size=BOX), 8)
            if found and (found.w, found.h) == WINDOW:
                break
            if found:
                time.sleep(0.3)
                found.click(*NETWORK_BOX_OK)
                desktop.wait_gone(size=BOX, timeout=5)
        return self.offered()

    def setup_requests(self):
        return [e for e in self.session.log() if e["path"] == "/setup/" + SETUP_NAME]

    def no_setup_file(self, timeout=10):
        return desktop.wait_for(lambda: not os.path.exists(self.setup_file()), timeout)

    def test_a_throttled_download_starts_the_setup_and_the_client_exits(self):
        # An older, longer file of that name is replaced whole.
        os.makedirs(self.folder.file("Downloads"), exist_ok=True)
        with open(self.setup_file(), "wb") as f:
            f.write(b"old" * 500000)
        size = os.path.getsize(self.recorder)
        self.session.fault("throttle", "/setup/", -1, str(max(size // 4, 16384)))
        self.start()
        window = self.offered()
        self.shot("update_offer")
        self.click_update(window)
        time.sleep(1.5)
        shot = desktop.screenshot()
        try:
            filled = desktop.mean_brightness(shot, window.x + PROGRESS[0] + 2, window.y + PROGRESS[1] + 3, 20, 8)
        finally:
            os.remove(shot)
        self.assertLess(filled, 0.8, "the progress bar shows no progress")
        self.shot("update_downloading")
        self.assertEqual(0, harness.wait_exit(self.proc, 60), "the client did not exit 0")
        self.proc = None
        self.assertTrue(desktop.wait_for(lambda: os.path.exists(self.record), 20), "the setup did not start")
        with open(self.record, encoding="utf-8") as f:
            line = f.read()
        self.assertTrue(line.rstrip().endswith("update"), line)
        with open(self.recorder, "rb") as a, open(self.setup_file(), "rb") as b:
            self.assertEqual(a.read(), b.read(), "the downloaded setup differs from the served one")
        self.assertEqual(1, len(self.setup_requests()))

    def test_offered_by_the_check_button_and_cancels_at_every_stage(self):
        main = self.start()
        self.cancel(self.offered())  # before the download
        self.assertEqual([], self.setup_requests())
        for round in range(2):
            # During the connection.
            # (Every request stalls: WinINet sends one again when the first
            # connection closes, and a quick answer would end the download
            # before a slow machine has shown the question.)
            self.session.fault("stall_headers", "/setup/", -1, "8")
            window = self.reopen(main)
            self.click_update(window)
            time.sleep(0.3)
            self.cancel(window)
            self.assertTrue(self.no_setup_file(), "a file is left after a cancel while connecting")
            self.session.ctl("reset")
            # Mid-read.
            # (Every request: a stalled one of the round before may still
            # be sent again by WinINet and would take a single fault.)
            self.session.fault("throttle", "/setup/", -1, "16384")
            window = self.reopen(main)
            self.click_update(window)
            desktop.wait_for(lambda: os.path.exists(self.setup_file()) and os.path.getsize(self.setup_file()) > 0, 10)
            time.sleep(0.5)
            self.cancel(window)
            self.assertTrue(self.no_setup_file(), "a file is left after a cancel mid-read")
            self.assertIsNone(self.proc.poll(), "the client ended")
            self.session.ctl("reset")
        # Cancel at the question keeps downloading, to the end.
        self.session.fault("throttle", "/setup/", 1, str(max(os.path.getsize(self.recorder) // 3, 16384)))
        window = self.reopen(main)
        self.click_update(window)
        time.sleep(0.5)
        window.click(*CLOSE_BTN)
        self.answer_box(BOX_CANCEL)
        self.assertEqual(0, harness.wait_exit(self.proc, 60))
        self.proc = None
        self.assertTrue(desktop.wait_for(lambda: os.path.exists(self.record), 20))

    def test_every_network_fault_gives_one_box_and_no_file(self):
        faults = [
            ("status404", "status404", ""),
            ("disconnect", "disconnect", ""),
            ("no_length", "no_length", ""),
            ("short_body", "short_body", ""),
            ("cut_at", "cut_at", "1000"),
            ("stall_body", "stall_body", "2"),
            # Last: the service then sends the whole body after announcing
            # 0 bytes, on a connection WinINet keeps for later requests,
            # which fail from then on.
            ("length 0", "length", "0"),
        ]
        main = self.start()
        self.cancel(self.offered())
        for what, mode, arg in faults:
            # Every request fails so: WinINet itself sends a request again
            # once when a kept-alive connection closes before any answer.
            self.session.fault(mode, "/setup/", -1, arg)
            requests = len(self.setup_requests())
            window = self.reopen(main)
            self.click_update(window)
            self.answer_box(BOX_OK, what)
            sent = len(self.setup_requests())
            time.sleep(1.0)
            self.assertIsNone(desktop.find(size=BOX), "a second box: %s" % what)
            self.assertIsNotNone(desktop.find(size=WINDOW), "the window closed: %s" % what)
            self.assertFalse(os.path.exists(self.setup_file()), "a file is left: %s" % what)
            # WinINet resends a request whose kept-alive connection closed
            # before any answer, as often as its own time allows on a busy
            # machine, so only the asking and the stopping are checked.
            self.assertGreaterEqual(sent - requests, 1, "no request: %s" % what)
            self.assertEqual(sent, len(self.setup_requests()), "the download went on: %s" % what)
            self.assertIsNone(self.proc.poll(), "the client ended: %s" % what)
            self.session.ctl("reset")  # the fault ends
            window.click(*CLOSE_BTN)
            self.answer_box(BOX_OK)

    def test_local_failures_give_one_box_and_no_file(self):
        with open(os.path.join(self.temp, "broken.exe"), "wb") as f:
            f.write(b"this is no program\r\n" * 100)
        self.serve("broken.exe", os.path.join(self.temp, "broken.exe"))
        main = self.start()
        self.cancel(self.offered())

        # A folder where the file should go: it cannot be created.
        os.makedirs(self.setup_file())
        window = self.reopen(main)
        self.click_update(window)
        self.answer_box(BOX_OK)
        self.assertTrue(os.path.isdir(self.setup_file()))
        self.cancel(window)
        os.rmdir(self.setup_file())

        # A file that is no program: it does not start, and the client stays.
        self.offer("http://127.0.0.1:%d/setup/broken.exe" % self.session.port)
        window = self.reopen(main)
        self.click_update(window)
        self.answer_box(BOX_OK)
        self.assertFalse(os.path.exists(self.folder.file("Downloads", "broken.exe")))
        self.assertIsNone(self.proc.poll())
        self.cancel(window)

        # Names that would write nowhere or elsewhere.
        for name in ("", "..", "a?b.exe", "x" * 300 + ".exe"):
            self.offer("http://127.0.0.1:%d/setup/%s" % (self.session.port, name))
            window = self.reopen(main)
            self.click_update(window)
            self.answer_box(BOX_OK)
            self.cancel(window)
        self.assertEqual([], os.listdir(self.folder.file("Downloads")))
        log = "\n".join(self.folder.log_lines())
        self.assertIn("gives no file name to write", log)
        self.assertIsNone(self.proc.poll())

    def test_a_failing_write_gives_one_box_and_no_file(self):
        self.start({"VANTREL_TEST_UPDATE_WRITE_LIMIT": "10000"})
        window = self.offered()
        self.click_update(window)
        self.answer_box(BOX_OK)
        time.sleep(0.5)
        self.assertIsNone(desktop.find(size=BOX))
        self.assertFalse(os.path.exists(self.setup_file()))
        self.assertIn("writing", "\n".join(self.folder.log_lines()))
        self.assertIsNone(self.proc.poll())


if __name__ == "__main__":
    unittest.main()
