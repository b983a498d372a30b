"""Runtimes registered the way installers do, in the native and the 32-bit
registry view of the run's shared prefix, for the length of a with block."""
import contextlib
import subprocess

NATIVE, WOW32 = "native", "32"

# name: (key under HKEY_LOCAL_MACHINE, key below the version subkey, value name)
LAYOUTS = {
    "sun_jdk": (r"Software\JavaSoft\Java Development Kit", "", "JavaHome"),
    "sun_jre": (r"Software\JavaSoft\Java Runtime Environment", "", "JavaHome"),
    "jrockit_jre": (r"Software\JRockit\Java Runtime Environment", "", "JavaHome"),
    "ibm_jre": (r"Software\IBM\Java2 Runtime Environment", "", "JavaHome"),
    "oracle_jdk": (r"Software\JavaSoft\JDK", "", "JavaHome"),
    "adoptium_jdk": (r"Software\Eclipse Adoptium\JDK", r"\hotspot\MSI", "Path"),
    "sapmachine_jdk": (r"Software\SapMachine\JDK", "", "JavaHome"),
    "sapmachine_jre": (r"Software\SapMachine\JRE", "", "JavaHome"),
}


def _key(layout, view):
    key = LAYOUTS[layout][0]
    # The 32-bit view is the native view's Wow6432Node, on Windows and in Wine.
    return key.replace("Software\\", "Software\\Wow6432Node\\", 1) if view == WOW32 else key


def _reg_text(lines):
    return "\r\n".join(["Windows Registry Editor Version 5.00", "", *lines, ""])


def _quoted(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


@contextlib.contextmanager
def registered(session, case, runtimes):
    """runtimes: [(layout, version subkey, home folder as registered, view)], imported in one go. The
    layout keys are deleted again when the block ends, so that no other launch of the run sees them."""
    lines = []
    for layout, version, home, view in runtimes:
        _, value_key, value_name = LAYOUTS[layout]
        lines += [f"[HKEY_LOCAL_MACHINE\\{_key(layout, view)}\\{version}{value_key}]",
                  f"{_quoted(value_name)}={_quoted(home)}", ""]
    removals = sorted({f"[-HKEY_LOCAL_MACHINE\\{_key(layout, view)}]" for layout, _, _, view in runtimes})
    try:
        _import(session, case, "register.reg", lines)
        yield
    finally:
        _import(session, case, "unregister.reg", removals)


def _import(session, case, name, lines):
    case.path(name).write_text(_reg_text(lines), encoding="utf-16")
    subprocess.run(["wine", "reg", "import", case.win(name)], env=session.env(), check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)


_ROOTS = {"HKCU": "HKEY_CURRENT_USER", "HKCR": "HKEY_CLASSES_ROOT", "HKLM": "HKEY_LOCAL_MACHINE"}


@contextlib.contextmanager
def key_values(session, case, key, values):
    """Sets string values of one key (name None: its default value) for the length of a with block.
    Afterwards the key holds exactly what it held before, or is gone if it did not exist."""
    root, rest = key.split("\\", 1)
    full_key = f"{_ROOTS[root]}\\{rest}"
    exported = subprocess.run(["wine", "reg", "export", key, case.win("saved-key.reg"), "/y"], env=session.env(),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120).returncode == 0
    lines = [f"[{full_key}]"] + [f"{'@' if name is None else _quoted(name)}={_quoted(data)}"
                                 for name, data in values.items()]
    try:
        _import(session, case, "set-key.reg", lines)
        yield
    finally:
        _import(session, case, "remove-key.reg", [f"[-{full_key}]"])
        if exported:
            subprocess.run(["wine", "reg", "import", case.win("saved-key.reg")], env=session.env(), check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
