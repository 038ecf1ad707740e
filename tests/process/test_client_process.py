"""The client as a process: single instance, the shutdown switch, the log,
the report switches and crash dumps."""
import glob
import os
import re
import shutil
import subprocess
import tempfile
import unittest

import desktop
import harness

LINE = re.compile(r"^\d{4}-\d{1,2}-\d{1,2} \d{1,2}:\d{1,2}:\d{1,2}: ")


class ClientProcess(harness.ClientTest):
    """Several clients at once, against the shared services."""

    def setUp(self):
        super().setUp()
        self.procs = []

    def tearDown(self):
        for p in self.procs:
            harness.stop(p, self.folder)
        super().tearDown()

    def start_client(self, env=None):
        p = self.folder.start(env=env)
        self.procs.append(p)
        self.assertTrue(self.folder.wait_for_log("MainInit: startup"), "client did not start")
        return p

    def test_second_copy_exits_zero_and_first_keeps_running(self):
        first = self.start_client()
        second = self.folder.run(timeout=60)
        self.assertEqual(0, second.returncode)
        # Undisturbed: it still runs, and ends only when told to, cleanly.
        self.assertIsNone(first.poll(), "the first client must not be disturbed")
        self.assertEqual(0, self.folder.run("shutdown", timeout=60).returncode)
        self.assertEqual(0, harness.wait_exit(first, 60))
        lines = self.folder.log_lines()
        self.assertTrue(lines[-1].endswith("MainDestroy: shutdown"), lines[-1])

    def test_shutdown_in_any_case_ends_a_running_client(self):
        for word in ("SHUTDOWN", "shutdown", "ShutDown"):
            with self.subTest(word=word):
                client = self.start_client()
                # The window is up, so the message loop runs.
                self.assertIsNotNone(desktop.wait_window(name="Kelvora", size=harness.MAIN_WINDOW_SIZE,
                                                         timeout=60), "the main window did not show")
                self.assertEqual(0, self.folder.run(word, timeout=60).returncode)
                # Hiding the tray window and the shutdown run's poll take
                # seconds under Wine, more on a loaded machine.
                self.assertEqual(0, harness.wait_exit(client, 60), "the client did not exit")
                lines = self.folder.log_lines()
                self.assertTrue(lines[0].endswith("MainInit: startup"), lines[0])
                self.assertTrue(lines[-1].endswith("MainDestroy: shutdown"), lines[-1])
                for line in lines:
                    self.assertRegex(line, LINE)

    def test_shutdown_with_no_client_ends_and_writes_no_log(self):
        result = self.folder.run("shutdown", timeout=60)
        self.assertEqual(0, result.returncode)
        self.assertIsNone(self.folder.log_lines(), "a one-shot run writes no log")

    def test_shutdown_during_start_up_is_not_lost(self):
        # The test seam holds the start-up between the start routine and the
        # main window, so the shutdown arrives before any window exists.
        env = harness.client_env({"VANTREL_TEST_STARTUP_DELAY_MS": "3000"})
        client = self.start_client(env=env)
        result = self.folder.run("shutdown", timeout=60)
        self.assertEqual(0, result.returncode)
        self.assertEqual(0, harness.wait_exit(client, 60))
        self.assertTrue(self.folder.log_lines()[-1].endswith("MainDestroy: shutdown"))

    def test_shutdown_followed_by_another_word_starts_normally(self):
        client = self.folder.start("shutdown", "now")
        self.procs.append(client)
        self.assertTrue(self.folder.wait_for_log("MainInit: startup"))
        self.assertIsNone(client.poll())

    def test_missing_data_folder_starts_without_a_log(self):
        shutil.rmtree(self.folder.file("data"))
        client = self.folder.start()
        self.procs.append(client)
        self.assertIsNotNone(desktop.wait_window(name="Kelvora", size=harness.MAIN_WINDOW_SIZE, timeout=60),
                             "the main window did not show")
        self.assertIsNone(client.poll())
        self.assertFalse(os.path.exists(self.folder.file("data")))

    def test_crash_filter_leaves_a_dump_beside_the_program(self):
        tmp = tempfile.mkdtemp(prefix="kelvora-crash-")
        try:
            exe = os.path.join(tmp, "crash_helper.exe")
            shutil.copy(os.path.join(harness.TEST_BIN, "testbin", "crash_helper.exe"), exe)
            subprocess.run([harness.WINE_RUN, exe], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=300, cwd=tmp)
            # Wine does not always pass the exception code on as the exit
            # code when the machine is busy; the marker says whether the
            # program went on past its crash.
            self.assertFalse(os.path.exists(os.path.join(tmp, "survived.txt")))
            dumps = glob.glob(os.path.join(tmp, "crash_helper.exe.*.dmp"))
            self.assertEqual(1, len(dumps), os.listdir(tmp))
            self.assertRegex(os.path.basename(dumps[0]), r"^crash_helper\.exe\.-?\d+\.dmp$")
            with open(dumps[0], "rb") as f:
                self.assertEqual(b"MDMP", f.read(4))
        finally:
            shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    unittest.main()
