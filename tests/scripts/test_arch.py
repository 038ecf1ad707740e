"""Which flavour the run, test and benchmark scripts choose: the probe's
answer (forced through its seam), KELVORA_ARCH, and the one line saying why."""
import os
import subprocess
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
WHY = "cannot run 32-bit programs"


def choose(**env_vars):
    env = {k: v for k, v in os.environ.items()
           if k not in ("KELVORA_ARCH", "KELVORA_PROBE_32", "KELVORA_ARCH_SAID")}
    env.update(env_vars)
    script = 'ROOT="$1"; . "$ROOT/scripts/arch.sh"; echo "$KELVORA_ARCH $KELVORA_DEFAULT_BUILD"'
    return subprocess.run(["bash", "-c", script, "_", ROOT], env=env, capture_output=True,
                          text=True, timeout=30)


class FlavourChoice(unittest.TestCase):
    def test_probe_and_forcing(self):
        cases = [
            # (environment, flavour, build folder, says why)
            ({"KELVORA_PROBE_32": "no"}, "x86_64", "build-x86_64", True),
            ({"KELVORA_PROBE_32": "yes"}, "i686", "build", False),
            ({"KELVORA_PROBE_32": "no", "KELVORA_ARCH": "i686"}, "i686", "build", False),
            ({"KELVORA_PROBE_32": "yes", "KELVORA_ARCH": "x86_64"}, "x86_64", "build-x86_64", False),
            # A script started by another one that already said why.
            ({"KELVORA_PROBE_32": "no", "KELVORA_ARCH_SAID": "1"}, "x86_64", "build-x86_64", False),
        ]
        for env, arch, folder, says_why in cases:
            with self.subTest(env=env):
                result = choose(**env)
                self.assertEqual(0, result.returncode, result.stderr)
                self.assertEqual("%s %s" % (arch, os.path.join(ROOT, folder)), result.stdout.strip())
                self.assertEqual(1 if says_why else 0, result.stderr.count(WHY), result.stderr)

    def test_an_unknown_flavour_stops_with_a_message(self):
        result = choose(KELVORA_ARCH="arm")
        self.assertEqual(2, result.returncode)
        self.assertEqual("", result.stdout)
        self.assertIn("KELVORA_ARCH must be i686 or x86_64", result.stderr)


if __name__ == "__main__":
    unittest.main()
