"""Test slots: tests running at once get displays and Wine prefixes of their
own, a slot is used again once free, each test finds the slot's prefix as
the template has it (nothing an earlier test registered, wrote or left
running), no slot's server keeps the test's output open, and stopping ends
every display and Wine server."""
import glob
import os
import shutil
import subprocess
import tempfile
import threading
import time
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
SLOT = os.path.join(ROOT, "scripts", "test-slot.sh")
BUILD = os.environ.get("VANTREL_TEST_BIN", "")

# What a slot reports about itself, and proof that Wine runs there.
REPORT = ('echo "$DISPLAY $WINEPREFIX $VANTREL_TEST_SLOT"; '
          '"$KELVORA_BUILD/wine-run.sh" cmd /c echo wine-ran | tr -d "\\r"; sleep "$HOLD"')


def alive(pid):
    try:
        with open("/proc/%d/comm" % pid) as f:
            return f.read().strip()
    except OSError:
        return None


def wineservers_of(prefix):
    """Wine servers of `prefix`: a server works in a folder named after the
    prefix's device and inode."""
    st = os.stat(prefix)
    suffix = "/server-%x-%x" % (st.st_dev, st.st_ino)
    found = []
    for pid in os.listdir("/proc"):
        if not pid.isdigit() or not (alive(int(pid)) or "").startswith("wineserver"):
            continue
        try:
            if os.readlink("/proc/%s/cwd" % pid).endswith(suffix):
                found.append(int(pid))
        except OSError:
            pass
    return found


class TestSlots(unittest.TestCase):
    def setUp(self):
        # A build folder of the test's own (beside the real one, so the
        # prefix can be linked), whose slots no other test holds.
        self.build = tempfile.mkdtemp(prefix="slot-test-", dir=BUILD)
        for name in ("wineprefix", "wine-run.sh"):
            os.symlink(os.path.join(BUILD, name), os.path.join(self.build, name))

    def tearDown(self):
        subprocess.run([SLOT, "stop", self.build], timeout=120)
        shutil.rmtree(self.build, ignore_errors=True)

    def run_in_slot(self, hold, out):
        env = dict(os.environ, KELVORA_BUILD=BUILD, HOLD=str(hold))
        # capture_output waits for every holder of the output pipe: a display
        # or Wine server that kept it would make this time out.
        result = subprocess.run([SLOT, "run", self.build, "bash", "-c", REPORT], env=env,
                                capture_output=True, text=True, timeout=240)
        out.append(result)

    def test_side_by_side_then_again_then_stopped(self):
        results = []
        threads = [threading.Thread(target=self.run_in_slot, args=(6, results)) for _ in range(2)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        self.assertEqual(2, len(results))
        seen = []
        for r in results:
            self.assertEqual(0, r.returncode, r.stderr)
            lines = r.stdout.splitlines()
            self.assertEqual("wine-ran", lines[1], r.stdout + r.stderr)
            seen.append(lines[0].split())
        displays = {s[0] for s in seen}
        prefixes = {s[1] for s in seen}
        self.assertEqual(2, len(displays), seen)
        self.assertEqual(2, len(prefixes), seen)
        for display, prefix, slot in seen:
            self.assertRegex(display, r"^:\d+$")
            self.assertEqual(os.path.join(self.build, "test-slots", slot, "prefix"), prefix)
            self.assertTrue(os.path.isfile(os.path.join(prefix, "system.reg")))

        # One at a time now: the first slot is free again and still up.
        again = []
        self.run_in_slot(0, again)
        self.assertEqual(0, again[0].returncode, again[0].stderr)
        self.assertIn(again[0].stdout.split()[0:2], [s[0:2] for s in seen])

        xvfbs = []
        for path in glob.glob(os.path.join(self.build, "test-slots", "*", "xvfb.pid")):
            with open(path) as f:
                xvfbs.append(int(f.read()))
        servers = [pid for s in seen for pid in wineservers_of(s[1])]
        self.assertEqual(2, len(xvfbs))
        self.assertTrue(servers, "each slot keeps its Wine server between tests")
        self.assertTrue(all(alive(p) == "Xvfb" for p in xvfbs))

        stop = subprocess.run([SLOT, "stop", self.build], capture_output=True, text=True, timeout=120)
        self.assertEqual(0, stop.returncode, stop.stderr)
        def left():
            return ([p for p in xvfbs if alive(p) == "Xvfb"] +
                    [p for p in servers if (alive(p) or "").startswith("wineserver")])
        end = time.time() + 60
        while left() and time.time() < end:
            time.sleep(0.1)
        self.assertEqual([], left())
        self.assertEqual([], glob.glob(os.path.join(self.build, "test-slots", "*", "prefix")))

    def in_slot(self, script):
        env = dict(os.environ, KELVORA_BUILD=BUILD)
        return subprocess.run([SLOT, "run", self.build, "bash", "-c", script], env=env,
                              capture_output=True, text=True, timeout=240)

    def test_each_command_finds_the_prefix_as_the_template_has_it(self):
        # The first command registers a value (the server holds it in memory
        # until it ends), writes files in the prefix's user and program
        # folders and leaves a Wine program running.
        pings = 100000 + os.getpid()
        running = "ping -n %d[ ]" % pings   # a pattern that does not match its own command line
        leave = ('set -e; echo "$VANTREL_TEST_SLOT $WINEPREFIX"; run="$KELVORA_BUILD/wine-run.sh"; '
                 '"$run" reg.exe add "HKCU\\Software\\KelvoraSlotTest" /v left /d 1 /f >/dev/null 2>&1; '
                 '"$run" reg.exe query "HKCU\\Software\\KelvoraSlotTest" /v left >/dev/null 2>&1; '
                 'mkdir -p "$WINEPREFIX/drive_c/users/left" "$WINEPREFIX/drive_c/Program Files/Left"; '
                 'touch "$WINEPREFIX/drive_c/users/left/file.txt" "$WINEPREFIX/drive_c/Program Files/Left/a.exe"; '
                 'setsid "$run" cmd.exe /c "ping -n %d 127.0.0.1" </dev/null >/dev/null 2>&1 9>&- & '
                 'for _ in $(seq 1200); do pgrep -f "%s" >/dev/null && exit 0; sleep 0.1; done; exit 1'
                 % (pings, running))
        first = self.in_slot(leave)
        self.assertEqual(0, first.returncode, first.stdout + first.stderr)
        slot, _ = first.stdout.split()
        # The next command, in the same slot: none of it is there, and the
        # prefix still runs Wine programs.
        look = ('echo "$VANTREL_TEST_SLOT"; run="$KELVORA_BUILD/wine-run.sh"; '
                '"$run" reg.exe query "HKCU\\Software\\KelvoraSlotTest" >/dev/null 2>&1 && echo registered; '
                'ls "$WINEPREFIX/drive_c/users" "$WINEPREFIX/drive_c/Program Files" | grep -i left; '
                'pgrep -f "%s" >/dev/null && echo running; '
                '"$run" cmd /c echo wine-ran | tr -d "\\r"' % running)
        second = self.in_slot(look)
        self.assertEqual(0, second.returncode, second.stderr)
        self.assertEqual([slot, "wine-ran"], second.stdout.split(), second.stdout + second.stderr)
        # The template itself was never touched.
        template = os.path.join(BUILD, "wineprefix")
        self.assertFalse(os.path.exists(os.path.join(template, "drive_c", "users", "left")))
        with open(os.path.join(template, "user.reg"), encoding="utf-8", errors="replace") as f:
            self.assertNotIn("KelvoraSlotTest", f.read())


if __name__ == "__main__":
    unittest.main()
