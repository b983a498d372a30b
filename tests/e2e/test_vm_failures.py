"""How a launch ends: exit codes, and the message each failure shows in English and German."""
from harness.apps import install_app, scenario
from harness.base import WineTestCase
from harness.launch import FAILURE

CREATION_REASONS = {
    "en": {-1: "unknown", -2: "thread detached from VM", -3: "JNI version error", -4: "not enough memory",
           -5: "VM already created", -6: "invalid arguments", -7: ""},
    "de": {-1: "unbekannt", -2: "Thread von der VM getrennt", -3: "JNI Versionsfehler",
           -4: "nicht genügend Arbeitsspeicher", -5: "VM bereits erzeugt", -6: "ungültige Argumente", -7: ""},
}


class ExitCodes(WineTestCase):
    def test_main_returns(self):
        case = self.case()
        install_app(case, scenario_text=scenario(main_steps=["out hello", "return"]))
        run = case.run()
        self.assertEqual((run.exit_code, run.windows), (0, []))
        log = case.jvm_log()
        self.assertTrue(log.has("DetachCurrentThread -> 0"))
        self.assertTrue(log.has("DestroyJavaVM -> 0"), "shutdown destroys the VM")
        self.assertEqual(log.problems(), [])

    def test_system_exit_ends_with_its_code_after_the_exit_hook(self):
        case = self.case()
        install_app(case, scenario_text=scenario(main_steps=["exit 3"]))
        run = case.run()
        self.assertEqual((run.exit_code, run.windows), (3, []))
        log = case.jvm_log()
        self.assertLess(log.events.index("exit hook 3"), log.events.index("exit hook returned"))


class MessagesOfAFailedLaunch(WineTestCase):
    def launch(self, locale, suffix="", **app):
        case = self.case(f"-{locale}{suffix}")
        install_app(case, **app)
        run = case.run(locale=locale)
        self.assertEqual(run.exit_code, FAILURE)
        self.assertEqual(len(run.windows), 1, run.windows)
        self.assertEqual(run.windows[0]["owner"], 0)
        return case, run

    def test_vm_creation_results(self):
        for locale, first_line in (("en", "JNI exception: failed to create the Java VM"),
                                   ("de", "JNI Fehler: konnte die Java VM nicht erzeugen")):
            for result, reason in CREATION_REASONS[locale].items():
                with self.subTest(locale=locale, result=result):
                    _, run = self.launch(locale, str(result), scenario_text=scenario(vm=[f"create = {result}"]))
                    self.assertEqual(run.box_text(), f"{first_line}\nReason: {reason}.\n")

    def test_missing_class_path(self):
        for locale, text in (("en", "Java Class Path was not specified in INI file."),
                             ("de", "Java-Klassenpfad wurde in der INI-Datei nicht angegeben.")):
            with self.subTest(locale=locale):
                case, run = self.launch(locale, class_path=False)
                self.assertEqual(run.box_text(), text)
                self.assertFalse(case.jvm_log().has("JNI_CreateJavaVM"))

    def test_library_that_is_not_a_dll(self):
        for locale, template in (("en", "Failed to load Java VM library: {} (errno = 193).\n"),
                                 ("de", "Konnte Java VM Bibliothek: {} (Fehlernummer= 193) nicht laden.\n")):
            with self.subTest(locale=locale):
                case = self.case(f"-{locale}")
                install_app(case)
                case.path(r"rt\bin\server\jvm.dll").write_text("not a library")
                run = case.run(locale=locale)
                self.assertEqual(run.exit_code, FAILURE)
                self.assertEqual(run.box_text(), template.format(case.win(r"rt\bin\server\jvm.dll")))

    def test_library_without_default_init_args(self):
        for locale, text in (("en", "Windows exception: cannot find CreateJavaVM JNI (errno = 127).\n"),
                             ("de", "Windows Fehler: Kann CreateJavaVM JNI nicht finden (Fehlernummer = 127).\n")):
            with self.subTest(locale=locale):
                case, run = self.launch(locale, library="jvm-no-default-init-args.dll")
                self.assertEqual(run.box_text(), text)

    def test_main_class_not_found(self):
        for locale, text in (("en", "Could not find the main class com/example/Missing.\n"),
                             ("de", "Konnte die Main class com/example/Missing nicht finden.\n")):
            with self.subTest(locale=locale):
                case, run = self.launch(locale, settings={"Java Runtime Environment": {"Main Class": "com.example.Missing"}})
                self.assertEqual(run.box_text(), text)
                self.assertTrue(case.jvm_log().has('FindClass "com/example/Missing"'))

    def test_class_without_main(self):
        for locale, text in (("en", "No main method found in specified class.\n"),
                             ("de", "Keine Main class in der angegebenen Klasse gefunden.\n")):
            for not_found in ("throw", "null"):
                with self.subTest(locale=locale, method_not_found=not_found):
                    _, run = self.launch(locale, not_found, scenario_text=scenario(
                        vm=[f"methodNotFound = {not_found}"], has_main=False))
                    self.assertEqual(run.box_text(), text)

    def test_main_class_name_that_cannot_become_a_java_string(self):
        for locale, text in (("en", "Failed to load Main Class: com/example/App.\n"),
                             ("de", "Konnte die Main Class: com/example/App nicht laden.\n")):
            with self.subTest(locale=locale):
                _, run = self.launch(locale, scenario_text=scenario(vm=["newString = fail"]))
                self.assertEqual(run.box_text(), text)
