"""A download from the detail page through the download centre, in the real
vantrel.exe with real input (xdotool): the detail page's "下载" asks for the
whole file, the centre shows the bar and a speed, stop and start resume from
the partial size, the finished download moves to "已完成" and is opened once,
delete removes rows, and exiting mid-download leaves no crash dump."""
import glob
import os
import time
import unittest

import desktop
import harness

# Client coordinates (skin.xml, the catalogue pages, the detail view,
# download_mgr.xml).
FIRST_ROW_NAME = (330, 149)
SECOND_ROW_NAME = (330, 215)
DETAIL_DOWNLOAD_BTN = (811, 202)
CENTRE_BACK_BTN = (845, 118)
DETAIL_BACK_BTN = (201, 115)
DOWNLOAD_MGR_BTN = (784, 620)
# A sub-category without the first row's software (聊天通讯).
OTHER_CATEGORY = (73, 141)
DOWNLOADING_OPTION = (73, 119)
DOWNLOADED_OPTION = (197, 119)
# A running row's strip: start, stop, delete; a finished row's delete.
STRIP_START = (688, 167)
STRIP_STOP = (711, 167)
STRIP_DELETE = (734, 167)
FINISHED_DELETE = (508, 167)

FILE_SIZE = 3 * 1024 * 1024
# Each test's first file answer comes this slowly (over two minutes for the
# file), so the download is still running whatever the test does to it;
# later answers come at full speed.
THROTTLE = 24 * 1024  # bytes per second
# The band under the tabs: each page (a list, the detail page, the centre)
# shows its own header there.
HEADER = (150, 98, 420, 30)
# A running row's start, stop and delete buttons.
STRIP_BUTTONS = (676, 155, 70, 24)


class DownloadProcess(harness.ClientTest):
    def setUp(self):
        super().setUp()
        # Every catalogue file is small, and sent slowly.
        for soft_id in range(1001, 1080):
            self.session.get("/_files/%d?size=%d" % (soft_id, FILE_SIZE))
        self.session.ctl("fault?mode=throttle&path=/files/&count=1&arg=%d" % THROTTLE)
        self.opened = os.path.join(self.folder.path, "opened.txt")

    def file_requests(self):
        return [e for e in self.session.log() if e["path"].startswith("/files/")]

    def start(self):
        recorders = glob.glob(os.path.join(harness.TEST_BIN, "tests", "**", "open_recorder.exe"), recursive=True)
        self.assertTrue(recorders, "open_recorder.exe is not built")
        env = {"VANTREL_TEST_OPEN_PROGRAM": windows_path(recorders[0]),
               "VANTREL_OPEN_RECORD": windows_path(self.opened)}
        main = self.start_main_window(env)
        desktop.wait_for(lambda: any(e["path"].startswith("/VDB") for e in self.session.log()), timeout=20)
        time.sleep(1.5)
        return main

    def click_and_wait(self, main, point, area=HEADER):
        """Clicks, then waits until the area shows something new: the page
        the click opened has been drawn. The pointer rests on the point
        first, so a hover look is not taken for the new page."""
        desktop.move(main.x + point[0], main.y + point[1])
        time.sleep(0.3)
        before = desktop.region(main, area)
        main.click(*point)
        self.assertTrue(desktop.wait_region_change(main, area, before, 20),
                        "a click at %r changed nothing in %r" % (point, area))

    def test_a_download_from_the_detail_page_through_the_centre(self):
        main = self.start()
        self.shot("downloads_0_list")
        self.click_and_wait(main, FIRST_ROW_NAME)
        self.shot("downloads_1_detail")
        main.click(*DETAIL_DOWNLOAD_BTN)
        self.assertTrue(desktop.wait_for(lambda: self.file_requests(), timeout=20),
                        "the detail page's button asked for no file")
        first = self.file_requests()[0]
        # A fresh transfer asks from byte 0 (or for the whole file).
        self.assertIn(first.get("range"), (None, "bytes=0-"))
        time.sleep(1)
        self.shot("downloads_2_detail_downloading")

        self.click_and_wait(main, DETAIL_BACK_BTN)
        # Another list: no catalogue row watches the download now, so the
        # client opens the finished file itself.
        self.click_and_wait(main, OTHER_CATEGORY)
        self.shot("downloads_2b_other_list")
        self.click_and_wait(main, DOWNLOAD_MGR_BTN)
        self.shot("downloads_3_centre_running")
        time.sleep(1.5)
        self.shot("downloads_4_centre_running_later")

        self.click_and_wait(main, STRIP_STOP, STRIP_BUTTONS)
        time.sleep(0.5)
        self.shot("downloads_5_centre_stopped")
        main.click(*STRIP_START)
        self.assertTrue(desktop.wait_for(lambda: len(self.file_requests()) >= 2, timeout=20),
                        "start asked for nothing")
        resumed = self.file_requests()[-1]
        self.assertIsNotNone(resumed.get("range"))
        self.assertTrue(resumed["range"].startswith("bytes="), resumed["range"])
        self.assertGreater(int(resumed["range"][len("bytes="):].rstrip("-")), 0)

        # The download ends: its row leaves, "已完成" counts it.
        desktop.wait_for(lambda: self.download_file() and os.path.getsize(self.download_file()) == FILE_SIZE,
                         timeout=60)
        time.sleep(1.5)
        self.shot("downloads_6_centre_after")
        main.click(*DOWNLOADED_OPTION)
        time.sleep(1.5)
        self.shot("downloads_7_centre_finished")
        self.assertEqual(FILE_SIZE, os.path.getsize(self.download_file()))
        with open(self.download_file(), "rb") as f:
            got = f.read()
        soft_id = first["path"][len("/files/"):].split(".")[0]
        self.assertEqual(self.session.get("/files/%s.bin" % soft_id)[:16], got[:16])

        main.click(*FINISHED_DELETE)
        time.sleep(1.5)
        self.shot("downloads_8_centre_deleted")
        self.assertTrue(os.path.exists(self.download_file()), "delete must leave the file")
        # Opened once, by the completion queue (only the centre and the
        # detail page watched it).
        desktop.wait_for(lambda: os.path.exists(self.opened), timeout=10)
        time.sleep(1)
        with open(self.opened, encoding="utf-8") as f:
            lines = [l for l in f.read().splitlines() if l.strip()]
        self.assertEqual(1, len(lines), lines)
        self.assertIn(os.path.basename(self.download_file()), lines[0])
        self.assertEqual([], glob.glob(self.folder.file("*.dmp")) + glob.glob(self.folder.file("data", "*.dmp")))

    def test_delete_a_running_download_then_exit_mid_download(self):
        main = self.start()
        self.click_and_wait(main, FIRST_ROW_NAME)
        main.click(*DETAIL_DOWNLOAD_BTN)
        self.assertTrue(desktop.wait_for(lambda: self.file_requests(), timeout=20))
        self.click_and_wait(main, DETAIL_BACK_BTN)
        self.click_and_wait(main, DOWNLOAD_MGR_BTN)
        main.click(*STRIP_DELETE)
        time.sleep(1.5)
        self.shot("downloads_9_running_deleted")
        partial = self.download_file()
        self.assertIsNotNone(partial, "the partial file is gone")
        size = os.path.getsize(partial)
        time.sleep(1.5)
        # Deleted: nothing more arrives, the partial file stays.
        self.assertEqual(size, os.path.getsize(partial))
        self.assertTrue(os.path.exists(partial))

        # A new download, and the client told to end while it runs.
        self.click_and_wait(main, CENTRE_BACK_BTN)
        self.click_and_wait(main, SECOND_ROW_NAME)
        # Its file answers nothing for a while: the download waits.
        self.session.ctl("reset")
        self.session.ctl("fault?mode=stall_headers&path=/files/&count=1&arg=20")
        main.click(*DETAIL_DOWNLOAD_BTN)
        time.sleep(1)
        self.click_and_wait(main, DOWNLOAD_MGR_BTN)
        self.shot("downloads_10_centre_waiting")
        self.folder.run("shutdown", timeout=30)
        self.assertEqual(0, harness.wait_exit(self.proc, 20))
        self.proc = None
        dumps = glob.glob(self.folder.file("*.dmp")) + glob.glob(self.folder.file("**", "*.dmp"), recursive=True)
        self.assertEqual([], dumps)

    def download_file(self):
        files = [f for f in glob.glob(self.folder.file("Downloads", "*")) if os.path.isfile(f)]
        return files[0] if files else None


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


if __name__ == "__main__":
    unittest.main()
