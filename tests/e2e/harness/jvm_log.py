"""Reading what the jvm.dll test double wrote down about a launch."""
import json
import re


class JvmLog:
    def __init__(self, path):
        self.path = path
        text = path.read_text(encoding="utf-8") if path.exists() else ""
        self.lines = text.splitlines()
        # "<thread id> <event>"
        self.events = [line.split(" ", 1)[1] for line in self.lines if " " in line]

    @property
    def loaded(self):
        return any(e.startswith("loaded ") for e in self.events)

    def with_prefix(self, prefix):
        return [e for e in self.events if e.startswith(prefix)]

    def options(self):
        """[(option string, extraInfo set)] in the order the VM received them."""
        found = []
        for event in self.with_prefix("option "):
            match = re.match(r'option \d+ (".*") extraInfo=(null|set)$', event)
            found.append((json.loads(match.group(1)), match.group(2) == "set"))
        return found

    def option_strings(self):
        return [text for text, _ in self.options()]

    def env(self, name):
        for event in self.with_prefix(f"env {name} "):
            value = event[len(f"env {name} "):]
            return None if value == "unset" else json.loads(value)
        raise AssertionError(f"no env {name} in the log")

    def creation_stack_size(self):
        for event in self.with_prefix("thread "):
            return int(event.rsplit("stack=", 1)[1])
        raise AssertionError("no thread line in the log")

    def main_arguments(self, method="main"):
        """The String[] the application's main received."""
        for arguments in self.all_arguments(method):
            return arguments
        raise AssertionError(f"{method} was not called")

    def all_arguments(self, method):
        """The String[] of every call of the method, in the order of the calls."""
        pattern = re.compile(r"CallStatic\w+ \S+\." + method + r"\(\[Ljava/lang/String;\)\S* (\[.*\])$")
        return [json.loads(match.group(1)) for match in map(pattern.match, self.events) if match]

    def has(self, fragment):
        return any(fragment in e for e in self.events)

    def problems(self):
        """Misuse the double noticed: a clean launch has none."""
        return [e for e in self.events if e.startswith(("unexpected ", "error ", "warning "))]
