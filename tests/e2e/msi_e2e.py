"""The installer under Wine: install, run from the system folder, upgrade, refuse a downgrade, remove; signing."""
import os
import subprocess
import tempfile
import unittest
from pathlib import Path

VERSION = os.environ["ORVANE_VERSION"]
WORK = Path(tempfile.mkdtemp(prefix="orvane-msi-"))
os.environ["WINEPREFIX"] = str(WORK / "wine")  # a throw-away Windows: installing changes system32
from saver_harness import REPO, SCR, VirtualDisplay, wait_exit  # noqa: E402


def make_msi(version, folder, **env):
    subprocess.run([REPO / "scripts/make-msi.sh", SCR, version, WORK / folder], check=True,
                   env=dict(os.environ, **env), capture_output=True)
    return WORK / folder / f"orvane-{version}-x64.msi"


def run(*command):
    return subprocess.run(command, capture_output=True, text=True)


class Installer(unittest.TestCase):
    def test_tables(self):
        msi = make_msi(VERSION, "tables")
        tables = "".join(run("msiinfo", "export", msi, name).stdout for name in ("Component", "File", "Upgrade",
                                                                                "Property"))
        # 256: a 64-bit component in the 64-bit system folder, keyed by its one file; a fixed upgrade code
        # that finds older versions to replace and newer ones to refuse.
        for row in (r"ScreenSaver\t\{[\w-]+\}\tSystem64Folder\t256\t\tOrvaneScr", r"OrvaneScr\tScreenSaver\torvane",
                    rf"\t\t{VERSION}\t\t1\t\tWIX_UPGRADE_DETECTED", rf"\t{VERSION}\t\t\t2\t\tWIX_DOWNGRADE_DETECTED",
                    r"Manufacturer\tOrvane", r"ARPHELPLINK\thttps://www.orvane.example/support", r"ALLUSERS\t1"):
            self.assertRegex(tables, row)

    def test_install_run_upgrade_and_remove(self):
        msi, older, newer = make_msi(VERSION, "now"), make_msi("0.9.0", "older"), make_msi("99.0.0", "newer")
        installed = WORK / "wine/drive_c/windows/system32/orvane.scr"
        with VirtualDisplay() as display:
            wine = lambda *arguments: display.run(["wine", *arguments], check=False, timeout=120).returncode
            query = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
            listing = lambda: display.run(["wine", "reg", "query", query, "/s"], check=False).stdout
            entries = lambda: [block for block in listing().split("\n\n") if "REG_SZ    Orvane\n" in block]

            self.assertEqual(wine("msiexec", "/i", msi, "/qn"), 0)
            self.assertTrue(installed.read_bytes() == (WORK / "now/orvane.scr").read_bytes(), "not the packed file")
            [entry] = entries()
            for value in (f"DisplayVersion    REG_SZ    {VERSION}", "Publisher    REG_SZ    Orvane"):
                self.assertIn(value, entry)
            # Run as Windows runs a saver from the system folder; leaving the display ends a failed run.
            saver = display.start(r"C:\windows\system32\orvane.scr", "/s")
            display.key(display.saver_windows()[0])
            self.assertEqual(wait_exit(saver), 0)

            self.assertNotEqual(wine("msiexec", "/i", older, "/qn"), 0, "a downgrade must be refused")
            self.assertTrue(installed.read_bytes() == (WORK / "now/orvane.scr").read_bytes(), "not the packed file")
            self.assertEqual(wine("msiexec", "/i", newer, "/qn"), 0)
            [entry] = entries()
            self.assertIn("DisplayVersion    REG_SZ    99.0.0", entry)
            self.assertEqual(wine("msiexec", "/x", newer, "/qn"), 0)
            self.assertFalse(installed.exists())
            self.assertEqual(entries(), [])

    def test_signed_files_verify_and_tampering_shows(self):
        key, cert, pfx = WORK / "key.pem", WORK / "cert.pem", WORK / "test.pfx"
        run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=Orvane test",
            "-addext", "extendedKeyUsage=codeSigning", "-keyout", key, "-out", cert)
        run("openssl", "pkcs12", "-export", "-inkey", key, "-in", cert, "-out", pfx, "-passout", "pass:throwaway")
        msi = make_msi(VERSION, "signed", ORVANE_SIGN_PFX=str(pfx), ORVANE_SIGN_PASSWORD="throwaway")
        verify = lambda path: run("osslsigncode", "verify", "-CAfile", cert, "-in", path).returncode
        self.assertEqual((verify(WORK / "signed/orvane.scr"), verify(msi)), (0, 0))
        tampered = bytearray((WORK / "signed/orvane.scr").read_bytes())
        tampered[4096] ^= 0xFF
        (WORK / "tampered.scr").write_bytes(tampered)
        self.assertNotEqual(verify(WORK / "tampered.scr"), 0)

    def test_the_shipped_file_is_reproducible(self):
        # No link time stamp and no build folder in the bytes: the same commit gives the same file.
        data = Path(SCR).read_bytes()
        self.assertEqual(data[int.from_bytes(data[0x3C:0x40], "little") + 8:][:4], bytes(4), "PE time stamp")
        self.assertNotIn(str(REPO).encode(), data)


if __name__ == "__main__":
    try:
        unittest.main()
    finally:
        subprocess.run(["rm", "-rf", WORK])
