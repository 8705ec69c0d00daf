"""The installer under Wine: install, run from the system folder, upgrade, refuse a downgrade, remove; signing."""
import hashlib
import os
import re
import subprocess
import tempfile
import unittest
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
VERSION = os.environ["ORVANE_VERSION"]
WORK = Path(tempfile.mkdtemp(prefix="orvane-msi-"))
os.environ["WINEPREFIX"] = str(WORK / "wine")  # a throw-away Windows: installing changes system32
from saver_harness import SCR, VirtualDisplay, stop, wait_exit  # noqa: E402

UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"


def make_msi(version, folder, env=None):
    subprocess.run([REPO / "scripts/make-msi.sh", SCR, version, WORK / folder], check=True, env=env,
                   capture_output=True)
    return WORK / folder / f"orvane-{version}-x64.msi"


def sha256(path):
    return hashlib.sha256(Path(path).read_bytes()).hexdigest()


class Installer(unittest.TestCase):
    def test_tables(self):
        msi = make_msi(VERSION, "tables")
        table = lambda name: subprocess.run(["msiinfo", "export", msi, name], capture_output=True, text=True,
                                            check=True).stdout
        # 256: a 64-bit component, in the 64-bit system folder, keyed by the one file.
        self.assertRegex(table("Component"), r"ScreenSaver\t\{[0-9A-F-]+\}\tSystem64Folder\t256\t\tOrvaneScr")
        self.assertRegex(table("File"), r"OrvaneScr\tScreenSaver\torvane.scr\t\d+")
        upgrade = table("Upgrade")
        self.assertIn(f"\t\t{VERSION}\t\t1\t\tWIX_UPGRADE_DETECTED", upgrade)
        self.assertIn(f"\t{VERSION}\t\t\t2\t\tWIX_DOWNGRADE_DETECTED", upgrade)
        for row in ("Manufacturer\tOrvane", "ARPHELPLINK\thttps://www.orvane.example/support", "ALLUSERS\t1"):
            self.assertIn(row, table("Property"))

    def test_install_run_upgrade_and_remove(self):
        msi, older, newer = make_msi(VERSION, "now"), make_msi("0.9.0", "older"), make_msi("99.0.0", "newer")
        installed = WORK / "wine/drive_c/windows/system32/orvane.scr"
        with VirtualDisplay() as display:
            wine = lambda *arguments: display.run(["wine", *arguments], check=False, timeout=120).returncode

            def entries():
                text = display.run(["wine", "reg", "query", UNINSTALL, "/s"], check=False).stdout
                return [block for block in re.split(r"\r?\n\r?\n", text) if "DisplayName    REG_SZ    Orvane" in block]

            self.assertEqual(wine("msiexec", "/i", msi, "/qn"), 0)
            self.assertEqual(sha256(installed), sha256(WORK / "now/orvane.scr"))
            [entry] = entries()
            self.assertIn(f"DisplayVersion    REG_SZ    {VERSION}", entry)
            self.assertIn("Publisher    REG_SZ    Orvane", entry)

            saver = subprocess.Popen(["wine", r"C:\windows\system32\orvane.scr", "/s"], env=display.env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                windows = display.saver_windows()
                self.assertTrue(windows, "the installed saver shows no window")
                display.key(windows[0])
                self.assertEqual(wait_exit(saver), 0)
            finally:
                stop(saver)

            self.assertNotEqual(wine("msiexec", "/i", older, "/qn"), 0, "a downgrade must be refused")
            self.assertEqual(sha256(installed), sha256(WORK / "now/orvane.scr"))
            self.assertEqual(wine("msiexec", "/i", newer, "/qn"), 0)
            [entry] = entries()
            self.assertIn("DisplayVersion    REG_SZ    99.0.0", entry)
            self.assertEqual(wine("msiexec", "/x", newer, "/qn"), 0)
            self.assertFalse(installed.exists())
            self.assertEqual(entries(), [])

    def test_signed_files_verify_and_tampering_shows(self):
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                        "/CN=Orvane test", "-addext", "extendedKeyUsage=codeSigning", "-keyout", WORK / "key.pem",
                        "-out", WORK / "cert.pem"], check=True, capture_output=True)
        subprocess.run(["openssl", "pkcs12", "-export", "-inkey", WORK / "key.pem", "-in", WORK / "cert.pem",
                        "-out", WORK / "test.pfx", "-passout", "pass:throwaway"], check=True)
        msi = make_msi(VERSION, "signed", dict(os.environ, ORVANE_SIGN_PFX=str(WORK / "test.pfx"),
                                               ORVANE_SIGN_PASSWORD="throwaway"))
        verify = lambda path: subprocess.run(["osslsigncode", "verify", "-CAfile", WORK / "cert.pem", "-in", path],
                                             capture_output=True).returncode
        self.assertEqual(verify(WORK / "signed/orvane.scr"), 0)
        self.assertEqual(verify(msi), 0)
        tampered = bytearray((WORK / "signed/orvane.scr").read_bytes())
        tampered[4096] ^= 0xFF
        (WORK / "tampered.scr").write_bytes(tampered)
        self.assertNotEqual(verify(WORK / "tampered.scr"), 0)

    def test_the_shipped_file_is_reproducible(self):
        # No link time stamp and no build folder in the bytes: the same commit gives the same file.
        data = Path(SCR).read_bytes()
        header = int.from_bytes(data[0x3C:0x40], "little")
        self.assertEqual(int.from_bytes(data[header + 8:header + 12], "little"), 0, "PE time stamp")
        self.assertNotIn(str(REPO).encode(), data)


if __name__ == "__main__":
    try:
        unittest.main()
    finally:
        subprocess.run(["rm", "-rf", WORK])
