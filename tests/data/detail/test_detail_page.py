"""The local detail page's script under node: it forwards to the detail web
site's page of the software named in its query, once the document is ready,
and stays on the loading image without an id."""
import json
import os
import subprocess
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
PAGE = os.path.join(ROOT, "data", "detail", "detail.html")
RUNNER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "run_page_script.js")
SITE = "http://detail.vantrel.example/soft/soft.html?soft_id="


def run_page(search):
    try:
        out = subprocess.run(["node", RUNNER, PAGE, search], capture_output=True, text=True, timeout=30)
    except FileNotFoundError:
        raise AssertionError("node is not installed: the page's script cannot be run (install nodejs)")
    if out.returncode != 0:
        raise AssertionError("node failed: " + out.stderr)
    return json.loads(out.stdout)


class DetailPageScript(unittest.TestCase):
    def test_forwards_the_soft_id_once_the_document_is_ready(self):
        cases = [
            ("plain id", "?soft_id=1001", SITE + "1001"),
            ("key compared in lower case", "?SOFT_ID=7", SITE + "7"),
            ("split at the first '=' only", "?soft_id=a=b", SITE + "a=b"),
            ("among other parts", "?x=1&soft_id=55&y=2", SITE + "55"),
            ("empty value", "?soft_id=", None),
            ("key without '='", "?soft_id", None),
            ("other keys only", "?id=3&softid=4", None),
            ("no query at all", "", None),
        ]
        for what, search, expected in cases:
            with self.subTest(what):
                result = run_page(search)
                self.assertEqual(1, result["hooks"], "one document-ready hook")
                self.assertEqual([], result["beforeReady"], "nothing happens before the document is ready")
                self.assertEqual([expected] if expected else [], result["navigations"])

    def test_page_shows_only_the_loading_image_and_loads_jquery_beside_it(self):
        with open(PAGE, encoding="utf-8") as f:
            html = f.read()
        self.assertIn('src="jquery-1.8.3.min.js"', html)
        self.assertIn("url(loading2.gif) no-repeat center center", html)
        body = html.split("<body>", 1)[1].split("</body>", 1)[0]
        self.assertEqual("", body.strip(), "no other content")


class DetailPageInProgramFolder(unittest.TestCase):
    """The program folder the build lays out holds the page, its image and
    jQuery beside each other, as the install package places them."""

    def setUp(self):
        dist = os.environ.get("VANTREL_TEST_DIST")
        if not dist:
            self.skipTest("VANTREL_TEST_DIST names the program folder (CTest sets it)")
        self.folder = os.path.join(dist, "data", "detail")

    def read(self, name):
        with open(os.path.join(self.folder, name), "rb") as f:
            return f.read()

    def test_page_image_and_script_sit_together(self):
        with open(PAGE, "rb") as f:
            self.assertEqual(f.read(), self.read("detail.html"))
        gif = self.read("loading2.gif")
        self.assertEqual(b"GIF89a", gif[:6])
        self.assertIn(b"NETSCAPE2.0", gif, "an animation that loops")
        self.assertGreater(gif.count(b"\x21\xf9\x04"), 1, "more than one frame")
        jquery = self.read("jquery-1.8.3.min.js")
        self.assertIn(b"jQuery JavaScript Library v1.8.3", jquery[:200])
        self.assertIn(b"ready", jquery)


if __name__ == "__main__":
    unittest.main()
