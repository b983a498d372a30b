"""A launchable application in a case folder: the launcher, its settings file
and a fake runtime holding the jvm.dll test double."""
import copy

APP_CLASS = "com/example/App"


def scenario(*lines, vm=(), main_steps=(), has_main=True, extra=""):
    """A jvm.dll double scenario with one application class, com/example/App."""
    text = ["[vm]", *vm, f"[class {APP_CLASS}]", f"main = {'yes' if has_main else 'no'}"]
    text += [f"main.step = {step}" for step in main_steps]
    return "\n".join([*text, *lines]) + "\n" + extra


def merged(base, overrides):
    result = copy.deepcopy(base)
    for section, keys in (overrides or {}).items():
        result.setdefault(section, {}).update(keys)
    return result


def install_app(case, settings=None, scenario_text=None, runtime_location=r"bin\server\jvm.dll",
                library="jvm.dll", class_path=True):
    """app.exe + app.ini naming com.example.App and the runtime C:\\t\\<case>\\rt."""
    case.install_launcher()
    home = case.make_runtime(location=runtime_location, library=library,
                             scenario=scenario_text if scenario_text is not None else scenario())
    base = {"Java Runtime Environment": {"Main Class": "com.example.App", "JRE Path": home}}
    if class_path:
        case.path("app.jar").write_bytes(b"PK\x05\x06" + bytes(18))
        base["Class Path"] = {"Class Path": case.win("app.jar")}
    case.write_ini(merged(base, settings))
    return home


def install_discovering_app(case, settings=None):
    """app.exe and app.ini without "JRE Path": the launcher has to find a runtime itself."""
    case.install_launcher()
    case.path("app.jar").write_bytes(b"PK\x05\x06" + bytes(18))
    base = {"Java Runtime Environment": {"Main Class": "com.example.App"},
            "Class Path": {"Class Path": case.win("app.jar")}}
    case.write_ini(merged(base, settings))


def loaded_libraries(case):
    """The folders (relative to the case) of every jvm.dll double that was loaded."""
    found = []
    for log in case.folder.rglob("jvm.log"):
        if "loaded " in log.read_text(encoding="utf-8"):
            found.append(str(log.parent.relative_to(case.folder)).replace("/", "\\"))
    return sorted(found)
