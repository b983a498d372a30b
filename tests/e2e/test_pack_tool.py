"""jlaunch-pack: a branded launcher in one command, from Linux and under Wine."""
import json
import re
import struct
import subprocess

from harness.apps import scenario
from harness.base import WineTestCase
from harness.launch import BIN, FAILURE, REPO

LINUX_PACK = REPO / "build" / "host" / "bin" / "jlaunch-pack"
RT_ICON, RT_GROUP_ICON, RT_MANIFEST, RT_STRING = "3", "14", "24", "6"
# One colour per image, so that the image Windows picks for a size can be told apart.
# Red equals blue in the 256-pixel (PNG) one: Wine swaps them there.
ICON_COLOURS = {16: "#10a010", 32: "#d02020", 48: "#2020d0", 256: "#c0e0c0"}
PACK_SETTINGS = """[Pack]
Icon=art/brand.ico
Settings=embedded.ini
Upgrade Code={C0DE}
execution level=asInvoker

[Version]
File Version=2.3.4.5
Company Name=Müller & Söhne GmbH
Product Name=Straßenbahn 😀
Legal Copyright=© 2024 Müller
"""
# The command line overrides the file.
OVERRIDES = ["--execution-level", "highestAvailable", "--product-version", "2.3"]
EXPECTED_VERSION = {
    "file_version": "2.3.4.5", "product_version": "2.3.0.0", "file_type": 1,
    "strings": {"CompanyName": "Müller & Söhne GmbH", "FileDescription": "Straßenbahn 😀",
                "FileVersion": "2.3.4.5", "InternalName": "Brand", "LegalCopyright": "© 2024 Müller",
                "OriginalFilename": "Brand.exe", "ProductName": "Straßenbahn 😀", "ProductVersion": "2.3"},
}


def icon_images(ico):
    """(width, image bytes) of each image of an .ico file."""
    count = struct.unpack_from("<H", ico, 4)[0]
    images = []
    for i in range(count):
        width, _, _, _, _, _, size, offset = struct.unpack_from("<BBBBHHII", ico, 6 + 16 * i)
        images.append((width or 256, ico[offset:offset + size]))
    return images


def pe_checksum(image):
    """The optional header's checksum, read as zero while summing."""
    at = struct.unpack_from("<I", image, 0x3C)[0] + 24 + 64
    data = bytearray(image)
    data[at:at + 4] = bytes(4)
    if len(data) % 2:
        data.append(0)
    total = 0
    for (word,) in struct.iter_unpack("<H", data):
        total = (total & 0xFFFF) + (total >> 16) + word
    total = (total & 0xFFFF) + (total >> 16)
    return (total & 0xFFFF) + (total >> 16) + len(image), struct.unpack_from("<I", image, at)[0]


class PackTool(WineTestCase):
    def prepare(self, case):
        """The packager's inputs in the case folder: icon, settings to embed, the tool's settings file."""
        art = case.path("art")
        art.mkdir()
        command = ["convert"]
        for size, colour in ICON_COLOURS.items():
            command += ["(", "-size", f"{size}x{size}", f"xc:{colour}", ")"]
        subprocess.run(command + [str(art / "brand.ico")], check=True)
        runtime = case.make_runtime(scenario=scenario())
        case.path("embedded.ini").write_text(
            f"[Java Runtime Environment]\nMain Class=com.example.App\nJRE Path={runtime}\n", encoding="utf-8")
        case.path("pack.ini").write_text(PACK_SETTINGS, encoding="utf-8-sig")

    def pack_on_linux(self, case, launcher, output, *options):
        return subprocess.run([str(LINUX_PACK), str(launcher), str(case.path(output)), *options],
                              capture_output=True, text=True, timeout=60)

    def pack_under_wine(self, case, launcher, output, *options):
        return self.session.wine(str(BIN / "jlaunch-pack.exe"), launcher, case.win(output), *options)

    def probe(self, *command):
        done = self.session.wine(str(BIN / "jlprobe.exe"), *command)
        return [json.loads(line) for line in done.stdout.decode("utf-8").splitlines() if line.startswith("{")]

    def resource(self, exe, kind, name):
        return [bytes.fromhex(entry["hex"]) for entry in self.probe("resource", exe, kind, name)]

    def test_packed_launcher_carries_what_was_asked_and_starts(self):
        case = self.case()
        self.prepare(case)
        packed = self.pack_on_linux(case, BIN / "jlaunch.exe", "Brand.exe", "--config", case.path("pack.ini"),
                                    *OVERRIDES)
        self.assertEqual(packed.returncode, 0, packed.stderr)
        exe, original = case.win("Brand.exe"), str(BIN / "jlaunch.exe")

        with self.subTest("icon group 128 lists every image of the icon file"):
            group = self.resource(exe, RT_GROUP_ICON, "128")
            self.assertEqual(len(group), 1)
            ids = [struct.unpack_from("<H", group[0], 6 + 14 * i + 12)[0] for i in range(group[0][4])]
            expected = icon_images(case.path("art/brand.ico").read_bytes())
            shown = [(width, self.resource(exe, RT_ICON, str(i))[0]) for (width, _), i in zip(expected, ids)]
            self.assertEqual(shown, expected)
            self.assertEqual(self.probe("icon", exe),
                             [{str(size): {"size": size, "centre": colour} for size, colour in ICON_COLOURS.items()}])

        with self.subTest("version record"):
            self.assertEqual(self.probe("version", exe), [EXPECTED_VERSION])

        with self.subTest("manifest: only the execution level changed"):
            manifest = self.resource(exe, RT_MANIFEST, "1")[0].decode("utf-8")
            before = (REPO / "resources" / "jlaunch.manifest").read_text(encoding="utf-8")
            self.assertEqual(manifest.replace("\r\n", "\n"), before.replace('"asInvoker"', '"highestAvailable"'))

        with self.subTest("embedded settings, and the rest kept"):
            read = self.session.wine(str(BIN / "jlaunch-embed.exe"), "read", exe, "--upgrade-code", "{C0DE}")
            self.assertEqual(read.returncode, 0, read.stderr)
            self.assertIn("Main Class=com.example.App\r\nJRE Path=", read.stdout.decode("utf-8"))
            self.assertEqual(self.probe("strings", exe), self.probe("strings", original))

        with self.subTest("objdump reads it: directories match the sections, relocations unchanged, checksum right"):
            headers = {}
            for name, path in (("packed", case.path("Brand.exe")), ("original", BIN / "jlaunch.exe")):
                done = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", "-h", str(path)], capture_output=True,
                                      text=True)
                self.assertEqual((done.returncode, done.stderr), (0, ""))
                headers[name] = done.stdout
            base = int(re.search(r"ImageBase\s+(\w+)", headers["packed"])[1], 16)
            for entry, section in (("Resource", ".rsrc"), ("Base Relocation", ".reloc")):
                directory = re.search(rf"Entry \d (\w+) (\w+) {entry} Directory \[\{section}\]", headers["packed"])
                mapped = re.search(rf"^ +\d+ \{section} +(\w+) +(\w+) ", headers["packed"], re.M)
                self.assertEqual((int(directory[1], 16), int(directory[2], 16)),
                                 (int(mapped[2], 16) - base, int(mapped[1], 16)), section)
            relocations = [re.search(r"PE File Base Relocations.*?(?=The \.rsrc)", text, re.S) for text in headers.values()]
            self.assertTrue(all(relocations))
            self.assertEqual(relocations[0].group(0), relocations[1].group(0))
            self.assertGreater(relocations[0].group(0).count("DIR64"), 100)
            # The Python sum is checked against the linker's before it judges ours.
            for image in (BIN / "jlaunch.exe", case.path("Brand.exe")):
                computed, stored = pe_checksum(image.read_bytes())
                self.assertEqual(computed, stored, image)

        with self.subTest("it starts with its embedded settings"):
            case.path("app.jar").write_bytes(b"PK\x05\x06" + bytes(18))
            case.write_ini({"Product Information": {"Upgrade Code": "{C0DE}"},
                            "Class Path": {"Class Path": case.win("app.jar")}}, name="Brand.ini")
            run = case.run("one", exe="Brand.exe")
            self.assertEqual((run.exit_code, run.windows), (0, []))
            self.assertEqual(case.jvm_log().main_arguments(), ["one"])

    def test_console_launcher_stays_a_console_program(self):
        case = self.case()
        self.prepare(case)
        packed = self.pack_on_linux(case, BIN / "jlaunchc.exe", "Brand.exe", "--config", case.path("pack.ini"))
        self.assertEqual(packed.returncode, 0, packed.stderr)
        image = case.path("Brand.exe").read_bytes()
        subsystem = struct.unpack_from("<H", image, struct.unpack_from("<I", image, 0x3C)[0] + 24 + 68)[0]
        self.assertEqual(subsystem, 3)  # IMAGE_SUBSYSTEM_WINDOWS_CUI
        self.assertEqual(self.probe("version", case.win("Brand.exe"))[0]["strings"]["ProductName"], "Straßenbahn 😀")
        # Without a settings file to give the embedded settings' key: the message names the packed program.
        run = case.run(exe="Brand.exe", stdio="pipe")
        self.assertEqual((run.exit_code, run.windows), (FAILURE, []))
        self.assertEqual(run.piped_err, "Brand: Main class was not specified in INI file.\r\n")

    def test_same_bytes_twice_and_on_both_platforms(self):
        case = self.case()
        self.prepare(case)
        options = ["--config", case.path("pack.ini"), *OVERRIDES]
        self.pack_on_linux(case, BIN / "jlaunch.exe", "Brand.exe", *options)
        first = case.path("Brand.exe").read_bytes()
        case.path("again").mkdir()
        again = self.pack_on_linux(case, case.path("Brand.exe"), "again/Brand.exe", *options)
        self.assertEqual(again.returncode, 0, again.stderr)
        self.assertEqual(case.path("again/Brand.exe").read_bytes(), first)

        case.install_launcher("jlaunch.exe")
        case.path("windows").mkdir()
        windows_options = ["--config", case.win("pack.ini"), *OVERRIDES]
        done = self.pack_under_wine(case, case.win("jlaunch.exe"), r"windows\Brand.exe", *windows_options)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(case.path("windows/Brand.exe").read_bytes(), first)
        # In place, over its own input.
        done = self.pack_under_wine(case, case.win(r"windows\Brand.exe"), r"windows\Brand.exe", *windows_options)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(case.path("windows/Brand.exe").read_bytes(), first)

    def test_unusable_inputs_give_a_reason_and_no_output(self):
        case = self.case()
        self.prepare(case)
        launcher = (BIN / "jlaunch.exe").read_bytes()
        signed = bytearray(launcher)
        directories = struct.unpack_from("<I", launcher, 0x3C)[0] + 24 + 112
        struct.pack_into("<II", signed, directories + 4 * 8, len(launcher), 0x800)  # certificate table entry
        inputs = {
            "cut-in-headers.exe": (launcher[:0x300], "cut short"),
            "cut-in-sections.exe": (launcher[:len(launcher) // 2], "cut short"),
            "text.exe": (b"[Application]\r\n", "not a PE image"),
            "signed.exe": (bytes(signed), "signed"),
        }
        for name, (content, reason) in inputs.items():
            case.path(name).write_bytes(content)
        for name, (_, reason) in inputs.items():
            with self.subTest(name):
                done = self.pack_on_linux(case, case.path(name), "out.exe", "--icon", case.path("art/brand.ico"))
                self.assertEqual(done.returncode, 2)
                self.assertIn(reason, done.stderr)
                self.assertEqual(sorted(p.name for p in case.path().glob("out*")), [])
        with self.subTest("signed, under Wine"):
            done = self.pack_under_wine(case, case.win("signed.exe"), "out.exe")
            self.assertEqual(done.returncode, 2)
            self.assertIn(b"pack the unsigned launcher, then sign the result", done.stderr)
            self.assertEqual(sorted(p.name for p in case.path().glob("out*")), [])
        case.path("broken.ico").write_bytes(case.path("art/brand.ico").read_bytes()[:40])
        for name, options, reason in (
                ("broken icon", ["--icon", case.path("broken.ico")], "icon image lies past the end"),
                ("version text", ["--file-version", "2.x"], "not a version number"),
                ("typo in the tool's settings", ["--config", case.path("embedded.ini")], 'unknown setting "Main Class"')):
            with self.subTest(name):
                done = self.pack_on_linux(case, BIN / "jlaunch.exe", "out.exe", *options)
                self.assertEqual(done.returncode, 2)
                self.assertIn(reason, done.stderr)
                self.assertFalse(case.path("out.exe").exists())
