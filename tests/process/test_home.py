"""The home page of vantrel.exe with real input (xdotool): after a dialog
login the home tab greets the user; its favourites page lists the user's
favourites in ascending id, whatever the service's order; "删除" removes a
favourite and "查看" opens it on the market tab; "退出" logs out, and the
next user sees only their own favourites."""
import json
import os
import time
import unittest
import urllib.request

import desktop
import harness
from test_login import DIALOG_SIZE, DIALOG_TITLE, LOGIN_BTN, NAME_EDIT, OK_BTN, type_text

# Main window, client coordinates (skin.xml, new_home_page.xml, my_collect.xml
# and the favourites row).
CONTENT_TOP = 96
MY_SCHEME = (62, CONTENT_TOP + 19)
MY_COLLECT = (164, CONTENT_TOP + 19)
LOGOUT_BTN = (847, CONTENT_TOP + 19)
GREETING_AREA = (690, CONTENT_TOP + 10, 110, 18)     # right-aligned, ends 10 px before its edge
HEADER_GAP = (240, CONTENT_TOP + 10, 110, 18)        # the empty stretch between options and greeting
ROW_TOP = CONTENT_TOP + 33 + 28 + 1
ROW_HEIGHT = 61
ADD_SCHEME_BTN = (1 + 500 + 80 + 10 + 34, 20 + 11)   # inside a row
DETAIL_BTN = (1 + 500 + 80 + 108 + 10 + 31, 20 + 11)
DELETE_BTN = (1 + 500 + 80 + 108 + 10 + 62 + 10 + 31, 20 + 11)
ROW_AREA = (20, 6, 480, 48)                           # icon, name and description
ICON_AREA = (24, ROW_TOP + 12, 40, 40)                # row 0's icon


class HomeProcess(harness.ClientTest):
    def user_control(self, what):
        url = "http://127.0.0.1:%d/_user/%s" % (self.session.port, what)
        with urllib.request.urlopen(url, timeout=10) as r:
            return r.read()

    def queries(self, path="/userservice.aspx"):
        return [e["raw_query"] for e in json.loads(self.session.ctl("log")) if e["path"] == path]

    def row_area(self, index):
        return (ROW_AREA[0], ROW_TOP + ROW_HEIGHT * index + ROW_AREA[1], ROW_AREA[2], ROW_AREA[3])

    def click_row(self, main, index, button):
        main.click(button[0], ROW_TOP + ROW_HEIGHT * index + button[1])

    def start(self):
        main = self.start_main_window()
        time.sleep(1)
        return main

    def log_in(self, main, account, password):
        main.click(*LOGIN_BTN)
        dialog = desktop.wait_window(name=DIALOG_TITLE, size=DIALOG_SIZE, timeout=15)
        self.assertIsNotNone(dialog, "the login dialog did not open")
        dialog.click(*NAME_EDIT)
        time.sleep(0.3)
        type_text(dialog, account)
        desktop.key("Tab")
        time.sleep(0.2)
        type_text(dialog, password)
        dialog.click(*OK_BTN)
        self.assertTrue(desktop.wait_gone(name=DIALOG_TITLE, timeout=15), "the dialog did not close")
        time.sleep(1)

    def test_favourites_in_order_removed_opened_and_the_next_users_own(self):
        self.user_control("favourites?account=kelvora&ids=1010,1003,1007")
        self.user_control("favourites?account=demo&ids=1012")
        main = self.start()
        self.log_in(main, "kelvora", "secret")
        # The home tab with the greeting: dark text on the light header.
        self.assertTrue(desktop.wait_for(
            lambda: self.brightness(main, GREETING_AREA) < self.brightness(main, HEADER_GAP) - 0.02,
            timeout=10), "no greeting")
        self.shot("home_page_schemes")

        # Row 6 stays empty on both sub-pages: the brightness of no row.
        empty_row = self.brightness(main, self.row_area(6))
        main.click(*MY_COLLECT)
        self.assertTrue(desktop.wait_for(lambda: any("mod=collect" in q for q in self.queries()), timeout=10))
        self.assertTrue(desktop.wait_for(
            lambda: self.brightness(main, self.row_area(2)) < empty_row - 0.01, timeout=15),
            "three favourites are not shown")
        self.assertGreater(self.brightness(main, self.row_area(3)), empty_row - 0.005,
                           "a fourth row is shown")
        self.shot("home_page_favourites")

        # Row 0 is the lowest id: its "删除" removes 1003 and its row.
        self.click_row(main, 0, DELETE_BTN)
        self.assertTrue(desktop.wait_for(
            lambda: any("mod=delschemesoft" in q and "soft_id=1003" in q for q in self.queries()),
            timeout=10), self.queries())
        self.assertTrue(desktop.wait_for(
            lambda: self.brightness(main, self.row_area(2)) > empty_row - 0.005, timeout=10),
            "the removed row stays")
        self.shot("home_page_favourite_removed")

        # "查看" on the new row 0 (1007): the market tab replaces the home
        # page (its light category column where the row's icon was).
        icon_before = self.brightness(main, ICON_AREA)
        self.click_row(main, 0, DETAIL_BTN)
        self.assertTrue(desktop.wait_for(
            lambda: self.brightness(main, ICON_AREA) > icon_before + 0.1, timeout=10),
            "the market tab is not shown")
        self.shot("favourite_detail")

        # "退出", then another user: only their favourites.
        main.click(*LOGIN_BTN)  # "我的管家": back home
        time.sleep(1)
        main.click(*LOGOUT_BTN)
        time.sleep(1.5)
        self.shot("logged_out")
        before = len(self.queries())
        self.log_in(main, "demo", "demo")
        self.assertTrue(desktop.wait_for(
            lambda: any("mod=collect&uid=502" in q for q in self.queries()[before:]), timeout=10),
            self.queries())
        # Row 0 is dark with the last user's list too: the new list is in
        # once row 1 is empty, and then row 0 holds demo's one favourite.
        replaced = desktop.wait_for(lambda: self.brightness(main, self.row_area(1)) > empty_row - 0.005,
                                    timeout=20)
        self.shot("home_page_next_user")
        self.assertTrue(replaced, "the last user's favourites are still shown")
        self.assertLess(self.brightness(main, self.row_area(0)), empty_row - 0.01,
                        "demo's favourite is not shown")
        self.click_row(main, 0, DELETE_BTN)
        self.assertTrue(desktop.wait_for(
            lambda: any("mod=delschemesoft" in q and "soft_id=1012" in q and "uid=502" in q
                        for q in self.queries()), timeout=10), self.queries())


if __name__ == "__main__":
    unittest.main()
