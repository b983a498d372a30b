#include "scenario.h"

#include "text_codec.h"

#include <charconv>

namespace jvm_double {
namespace {

std::string_view trim(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

template <typename Int>
bool parseInt(std::string_view s, Int& out) {
    s = trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size() && !s.empty();
}

// "out Hello" -> Out "Hello"; the text is everything after the keyword and one blank.
std::optional<Step> parseStep(std::string_view value, std::string& error) {
    auto blank = value.find(' ');
    std::string_view word = value.substr(0, blank);
    std::string_view rest = blank == std::string_view::npos ? std::string_view() : value.substr(blank + 1);
    Step step;
    if (word == "out" || word == "err") {
        step.kind = word == "out" ? Step::Kind::Out : Step::Kind::Err;
        step.text = rest;
    } else if (word == "throw") {
        step.kind = Step::Kind::Throw;
        step.text = rest;
        if (throwableClassOf(rest).empty()) {
            error = "throw needs a stack trace that starts with a class name";
            return std::nullopt;
        }
    } else if (word == "exit" || word == "sleep") {
        step.kind = word == "exit" ? Step::Kind::Exit : Step::Kind::Sleep;
        if (!parseInt(rest, step.number) || (step.kind == Step::Kind::Sleep && step.number < 0)) {
            error = std::string(word) + " needs a number";
            return std::nullopt;
        }
    } else if ((word == "waitfile" || word == "load") && !rest.empty()) {
        step.kind = word == "load" ? Step::Kind::Load : Step::Kind::WaitFile;
        step.text = rest;
    } else if (word == "return" || word == "background" || word == "abort") {
        step.kind = word == "return" ? Step::Kind::Return
                    : word == "background" ? Step::Kind::Background
                                           : Step::Kind::Abort;
    } else {
        error = "unknown step '" + std::string(word) + "'";
        return std::nullopt;
    }
    return step;
}

bool setVmKey(Scenario& s, std::string_view key, std::string_view value, std::string& error) {
    if (key == "create") return parseInt(value, s.createResult) || (error = "create needs a number", false);
    if (key == "createAfter") return !(s.createAfter = value).empty() || (error = "createAfter needs a path", false);
    if (key == "javaStackSize") return parseInt(value, s.javaStackSize) || (error = "javaStackSize needs a number", false);
    if (key == "attach") return parseInt(value, s.attachResult) || (error = "attach needs a number", false);
    if (key == "detach") return parseInt(value, s.detachResult) || (error = "detach needs a number", false);
    if (key == "awaitWindow") {
        s.awaitWindow = value;
        return !value.empty() || (error = "awaitWindow needs a window class", false);
    }
    if (key == "methodNotFound") {
        if (value == "throw" || value == "null") {
            s.methodNotFoundThrows = value == "throw";
            return true;
        }
        error = "methodNotFound is throw or null";
        return false;
    }
    if (key == "newString") {
        if (value == "ok" || value == "fail") {
            s.newStringFails = value == "fail";
            return true;
        }
        error = "newString is ok or fail";
        return false;
    }
    error = "unknown key '" + std::string(key) + "' in [vm]";
    return false;
}

bool setClassKey(ClassSpec& c, std::string_view key, std::string_view value, std::string& error) {
    if (key == "main") {
        if (value == "yes" || value == "no") {
            c.hasMain = value == "yes";
            return true;
        }
        error = "main is yes or no";
        return false;
    }
    if (key == "main.step" || key == "secondaryMain.step") {
        auto step = parseStep(value, error);
        if (!step) return false;
        (key == "main.step" ? c.mainSteps : c.secondarySteps).push_back(*step);
        return true;
    }
    if (key == "secondaryMain") {
        if (value == "none") c.secondary = SecondaryMain::None;
        else if (value == "void") c.secondary = SecondaryMain::Void;
        else if (value == "int") c.secondary = SecondaryMain::Int;
        else return error = "secondaryMain is none, void or int", false;
        return true;
    }
    if (key == "secondaryMain.result") {
        c.secondaryResultFromArgument = value == "argument";
        return c.secondaryResultFromArgument || parseInt(value, c.secondaryResult) ||
               (error = "secondaryMain.result needs a number or 'argument'", false);
    }
    if (key == "findClassError") {
        if (throwableClassOf(value).empty()) return error = "findClassError needs a stack trace", false;
        c.findClassError = std::string(value);
        return true;
    }
    error = "unknown key '" + std::string(key) + "' in a class section";
    return false;
}

}  // namespace

const ClassSpec* Scenario::findClass(std::string_view name) const {
    for (const auto& c : classes)
        if (c.name == name) return &c;
    return nullptr;
}

std::string throwableClassOf(std::string_view trace) {
    std::string_view first = trace.substr(0, trace.find_first_of(":\n\r"));
    first = trim(first);
    if (first.empty() || first.find(' ') != std::string_view::npos) return {};
    std::string name(first);
    for (char& ch : name)
        if (ch == '.') ch = '/';
    return name;
}

Scenario parseScenario(std::string_view text) {
    Scenario s;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    ClassSpec* current = nullptr;
    bool inVm = true;  // keys before any section belong to [vm]
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        auto end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;

        std::string error;
        if (line.front() == '[' && line.back() == ']') {
            std::string_view section = trim(line.substr(1, line.size() - 2));
            if (section == "vm") {
                inVm = true;
                current = nullptr;
            } else if (section.substr(0, 6) == "class ") {
                std::string name(trim(section.substr(6)));
                inVm = false;
                current = nullptr;
                for (auto& c : s.classes)
                    if (c.name == name) current = &c;
                if (!current) {
                    s.classes.push_back(ClassSpec{});
                    current = &s.classes.back();
                    current->name = name;
                }
            } else {
                error = "unknown section";
                inVm = false;
                current = nullptr;
            }
        } else if (auto eq = line.find('='); eq == std::string_view::npos) {
            error = "expected key = value";
        } else {
            std::string_view key = trim(line.substr(0, eq));
            std::string_view raw = trim(line.substr(eq + 1));
            if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"') raw = raw.substr(1, raw.size() - 2);
            std::string value = unescape(raw);
            if (inVm) setVmKey(s, key, value, error);
            else if (current) setClassKey(*current, key, value, error);
            else error = "key outside a known section";
        }
        if (!error.empty()) s.errors.push_back("line " + std::to_string(lineNumber) + ": " + error);
    }
    return s;
}

}  // namespace jvm_double
