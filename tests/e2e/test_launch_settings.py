"""Settings as a launch reads them: embedded text, file, "+" sections, and the runtime folder."""
from harness.apps import install_app, scenario
from harness.base import WineTestCase
from harness.launch import BIN, FAILURE

UPGRADE_CODE = "{9D1E4C2A-0000-4000-8000-00000000C0DE}"


class LayeredSettingsEndToEnd(WineTestCase):
    def launch(self, file_application, embedded_cmd="-embedded Zoë"):
        """A launcher carrying "Cmd" in its embedded text, with a file that may override or extend it."""
        case = self.case()
        install_app(case, settings={"Product Information": {"Upgrade Code": UPGRADE_CODE}, **file_application})
        case.path("embedded.ini").write_text(f"[Application]\nCmd={embedded_cmd}\nFailure Check=no\n", encoding="utf-8")
        case.install_launcher("plain.exe")
        embedded = self.session.wine(str(BIN / "jlaunch-embed.exe"), "write", case.win("plain.exe"),
                                     case.win("embedded.ini"), case.win("app.exe"), "--upgrade-code", UPGRADE_CODE)
        self.assertEqual(embedded.returncode, 0, embedded.stderr)
        run = case.run("first")
        self.assertEqual(run.exit_code, 0, run.windows)
        return case.jvm_log().main_arguments()

    def test_embedded_value_is_used(self):
        self.assertEqual(self.launch({}), ["first", "-embedded", "Zoë"])

    def test_file_value_overrides_it(self):
        self.assertEqual(self.launch({"Application": {"Cmd": "-file"}}), ["first", "-file"])

    def test_empty_file_value_does_not(self):
        self.assertEqual(self.launch({"Application": {"Cmd": ""}}), ["first", "-embedded", "Zoë"])

    def test_plus_section_extends_it(self):
        self.assertEqual(self.launch({"Application+": {"Cmd": "-plus"}}), ["first", "-embedded", "Zoë", "-plus"])

    def test_embedded_text_needs_the_upgrade_code_of_the_file(self):
        case = self.case()
        case.install_launcher("plain.exe")
        case.path("embedded.ini").write_text("[Java Runtime Environment]\nMain Class=a.B\n", encoding="utf-8")
        self.session.wine(str(BIN / "jlaunch-embed.exe"), "write", case.win("plain.exe"), case.win("embedded.ini"),
                          case.win("app.exe"), "--upgrade-code", UPGRADE_CODE)
        case.write_ini({"Product Information": {"Upgrade Code": "{another}"}})
        run = case.run()
        self.assertEqual(run.box_text(), "Main class was not specified in INI file.")


class RuntimeFolder(WineTestCase):
    def test_jre_path_without_a_jvm_library_leads_to_the_runtime_dialog(self):
        case = self.case()
        install_app(case, settings={"Java Runtime Environment": {"JRE Path": case.win("empty")}})
        case.path("empty\\bin").mkdir(parents=True)
        run = case.run(windows=["press:2"])
        self.assertEqual((run.exit_code, [w["title"] for w in run.windows]), (FAILURE, ["JRE Not Found"]))
        self.assertFalse(case.jvm_log().loaded)

    def test_server_type_refuses_a_client_only_runtime(self):
        case = self.case()
        install_app(case, runtime_location=r"bin\client\jvm.dll",
                    settings={"Java Runtime Environment": {"JVM Type": "server"}})
        run = case.run(windows=["press:2"])
        self.assertEqual((run.exit_code, [w["title"] for w in run.windows]), (FAILURE, ["JRE Not Found"]))
        self.assertFalse(case.jvm_log(location=r"bin\client").loaded)

    def test_default_type_prefers_client_and_path_without_trailing_backslash(self):
        case = self.case()
        install_app(case, runtime_location=r"bin\client\jvm.dll")
        case.make_runtime(location=r"bin\server\jvm.dll", scenario=scenario())
        self.assertEqual(case.run().exit_code, 0)
        self.assertTrue(case.jvm_log(location=r"bin\client").loaded)
        self.assertFalse(case.jvm_log(location=r"bin\server").loaded)

    def plant_x86_runtime(self, case, pair_product):
        install_app(case, settings={"Application": {"Pair Product": pair_product}} if pair_product else None)
        (case.path(r"rt\bin\server\jvm.dll")).write_bytes((BIN / "fixtures" / "jvm-x86.dll").read_bytes())
        case.path("Dbghelp.dll").write_bytes((BIN / "fixtures" / "Dbghelp.dll").read_bytes())

    def test_x86_runtime_with_a_paired_launcher_is_not_loaded_here(self):
        case = self.case()
        self.plant_x86_runtime(case, case.win("app32.exe"))
        (case.path("app32.exe")).write_bytes((BIN / "fixtures" / "companion.exe").read_bytes())
        run = case.run(dll_overrides="dbghelp=n,b")
        # The companion runs it; the library is never loaded here.
        self.assertEqual((run.exit_code, run.windows), (0, []))
        self.assertFalse(case.jvm_log().loaded)
        self.assertFalse(case.path("planted-dbghelp-loaded.txt").exists(),
                         "a Dbghelp.dll beside the launcher must never be loaded")

    def test_x86_runtime_without_a_paired_launcher_fails_to_load(self):
        case = self.case()
        self.plant_x86_runtime(case, None)
        run = case.run(dll_overrides="dbghelp=n,b")
        self.assertEqual(run.exit_code, FAILURE)
        library = case.win(r"rt\bin\server\jvm.dll")
        self.assertEqual(run.box_text(), f"Failed to load Java VM library: {library} (errno = 193).\n")
        self.assertFalse(case.path("planted-dbghelp-loaded.txt").exists())

    def test_override_working_dir(self):
        case = self.case()
        install_app(case, settings={"Application": {"Override WorkingDir": "yes", "Output File": "out.txt"}},
                    scenario_text=scenario(main_steps=["out here"]))
        run = case.run(command_line=f'"{case.win("app.exe")}"')
        self.assertEqual(run.exit_code, 0)
        self.assertEqual(case.path("out.txt").read_bytes(), b"here\r\n")


class StreamFiles(WineTestCase):
    def test_output_and_error_files_in_new_folders(self):
        case = self.case()
        case.path(r"logs").mkdir()
        case.path(r"logs\err.txt").write_text("old text that must go")
        install_app(case, settings={"Application": {
            "Output File": case.win(r"logs\deep\er\out.txt"), "Error File": "%JL_JVM_HOME%\\..\\logs\\err.txt"}},
            scenario_text=scenario(main_steps=["out to the output", "err to the error", "out Grüße"]))
        run = case.run()
        self.assertEqual(run.exit_code, 0)
        self.assertEqual(case.path(r"logs\deep\er\out.txt").read_bytes(), "to the output\r\nGrüße\r\n".encode())
        self.assertEqual(case.path(r"logs\err.txt").read_bytes(), b"to the error\r\n")

    def test_unwritable_file_leaves_the_stream_and_the_launch_goes_on(self):
        case = self.case()
        case.path("blocker").write_text("a file where a folder would be needed")
        install_app(case, settings={"Application": {"Output File": case.win(r"blocker\out.txt")}},
                    scenario_text=scenario(main_steps=["out still here"]))
        run = case.run()
        self.assertEqual(run.exit_code, 0)
        log = case.jvm_log()
        self.assertTrue(log.has("main out \"still here\" -> stdout"))
        self.assertFalse(log.has("System.setOut"))
