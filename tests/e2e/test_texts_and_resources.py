"""What the executable carries: string tables, icon, manifest, version record,
and the way it is linked."""
import json
import subprocess

from expected_texts import ENGLISH, GERMAN
from harness.base import WineTestCase
from harness.launch import BIN

RT_ICON_GROUP, RT_VERSION, RT_MANIFEST = "14", "16", "24"


class CompiledResources(WineTestCase):
    def probe(self, command):
        done = self.session.wine(str(BIN / "jlprobe.exe"), command, str(BIN / "jlaunch.exe"))
        return [json.loads(line) for line in done.stdout.decode("utf-8").splitlines() if line.startswith("{")]

    def test_string_tables_hold_every_text_in_both_languages(self):
        entries = self.probe("strings")
        english = {e["id"]: e["text"] for e in entries if e["language"] == 1033}
        german = {e["id"]: e["text"] for e in entries if e["language"] == 1031}
        self.assertEqual(english, ENGLISH)
        self.assertEqual(german, GERMAN)
        self.assertEqual({e["language"] for e in entries}, {1033, 1031})

    def test_icon_manifest_and_version_record(self):
        resources = self.probe("resources")
        kinds = {(r["type"], r["name"]) for r in resources}
        self.assertIn((RT_ICON_GROUP, "128"), kinds)
        self.assertIn((RT_MANIFEST, "1"), kinds)
        self.assertIn((RT_VERSION, "1"), kinds)
        manifest = (BIN.parents[2] / "resources" / "jlaunch.manifest").read_text()
        for needed in ("Microsoft.Windows.Common-Controls", 'level="asInvoker"', "PerMonitorV2",
                       "<longPathAware", 'version="6.0.0.0"'):
            self.assertIn(needed, manifest)


class Linkage(WineTestCase):
    def test_x64_programs_importing_system_libraries_only(self):
        for exe, subsystem in (("jlaunch.exe", r"00000002\s+\(Windows GUI\)"),
                               ("jlaunchc.exe", r"00000003\s+\(Windows CUI\)")):
            with self.subTest(exe):
                headers = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(BIN / exe)],
                                         capture_output=True, text=True, check=True).stdout
                self.assertIn("(PE32+)", headers.replace("Magic\t\t\t020b\t", ""))
                self.assertRegex(headers, r"Subsystem\s+" + subsystem)
                imports = {line.split(":", 1)[1].strip().lower()
                           for line in headers.splitlines() if "DLL Name:" in line}
                self.assertTrue(imports)
                runtime_libraries = {"libstdc++-6.dll", "libgcc_s_seh-1.dll", "libwinpthread-1.dll"}
                self.assertFalse(imports & runtime_libraries, imports)
                self.assertLessEqual(imports, {"kernel32.dll", "user32.dll", "msvcrt.dll", "gdi32.dll",
                                               "comctl32.dll", "ole32.dll", "oleaut32.dll", "shell32.dll",
                                               "advapi32.dll", "uxtheme.dll"})
                self.assertLess((BIN / exe).stat().st_size, 256 * 1024, "a launcher small enough to ship many times")
