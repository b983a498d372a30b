"""jlaunch-embed, the packager's tool for settings carried inside the executable."""
from harness.base import WineTestCase
from harness.launch import BIN

SETTINGS = "[Java Runtime Environment]\nMain Class=com.Müller.Straße\n\n[Application]\nCmd=-x 😀 ß \"a b\"\n"


class EmbeddingTool(WineTestCase):
    def embed(self, *args):
        return self.session.wine(str(BIN / "jlaunch-embed.exe"), *args)

    def test_round_trip_keeps_every_character_and_uses_crlf(self):
        case = self.case()
        case.install_launcher("jlaunch.exe")
        case.path("embedded.ini").write_text(SETTINGS, encoding="utf-8")
        written = self.embed("write", case.win("jlaunch.exe"), case.win("embedded.ini"), case.win("app.exe"),
                             "--upgrade-code", "{C0DE}")
        self.assertEqual(written.returncode, 0, written.stderr)

        read = self.embed("read", case.win("app.exe"), "--upgrade-code", "{C0DE}")
        self.assertEqual(read.returncode, 0, read.stderr)
        self.assertEqual(read.stdout.decode("utf-8"), SETTINGS.replace("\n", "\r\n"))

    def test_utf16_settings_file_with_bom(self):
        case = self.case()
        case.install_launcher("jlaunch.exe")
        case.path("embedded.ini").write_bytes(SETTINGS.replace("\n", "\r\n").encode("utf-16"))
        self.embed("write", case.win("jlaunch.exe"), case.win("embedded.ini"), case.win("app.exe"))
        read = self.embed("read", case.win("app.exe"))
        self.assertEqual(read.stdout.decode("utf-8"), SETTINGS.replace("\n", "\r\n"))

    def test_another_upgrade_code_or_no_text_reads_nothing(self):
        case = self.case()
        case.install_launcher("jlaunch.exe")
        case.path("embedded.ini").write_text(SETTINGS, encoding="utf-8")
        self.embed("write", case.win("jlaunch.exe"), case.win("embedded.ini"), case.win("app.exe"),
                   "--upgrade-code", "{C0DE}")
        wrong = self.embed("read", case.win("app.exe"), "--upgrade-code", "{C0DF}")
        self.assertNotEqual(wrong.returncode, 0)
        self.assertEqual(wrong.stdout, b"")
        plain = self.embed("read", case.win("jlaunch.exe"))
        self.assertNotEqual(plain.returncode, 0)
        self.assertIn(b"carries no settings text", plain.stderr)

    def test_unreadable_input_leaves_no_output_file(self):
        case = self.case()
        case.install_launcher("jlaunch.exe")
        done = self.embed("write", case.win("jlaunch.exe"), case.win("missing.ini"), case.win("app.exe"))
        self.assertNotEqual(done.returncode, 0)
        self.assertFalse(case.path("app.exe").exists())
