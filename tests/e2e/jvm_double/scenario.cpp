#include "scenario.h"

#include "text_codec.h"

#include <algorithm>
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
    } else if ((word == "waitfile" || word == "load" || word == "touch") && !rest.empty()) {
        step.kind = word == "load" ? Step::Kind::Load : word == "touch" ? Step::Kind::Touch : Step::Kind::WaitFile;
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
    if (key == "launcherHelper") {
        if (value == "yes" || value == "no") {
            s.launcherHelper = value == "yes";
            return true;
        }
        error = "launcherHelper is yes or no";
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
    if (key == "main.step" || key == "secondaryMain.step" || key == "static.step") {
        auto step = parseStep(value, error);
        if (!step) return false;
        (key == "main.step" ? c.mainSteps : key == "static.step" ? c.staticSteps : c.secondarySteps).push_back(*step);
        return true;
    }
    if (key == "static") {
        const auto open = value.find('(');
        if (open == 0 || open == std::string_view::npos) return error = "static needs a name and a signature", false;
        c.staticMethod = value;
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

bool addHelperStep(std::vector<Step>& steps, std::string_view value, std::string& error) {
    auto step = parseStep(value, error);
    if (step) steps.push_back(*step);
    return step.has_value();
}

bool setJarKey(JarSpec& j, std::string_view key, std::string_view value, std::string& error) {
    if (key == "manifest") {
        if (value == "none") j.manifest.reset();
        else j.manifest = std::string(value);
        return true;
    }
    if (key == "readError") {
        if (throwableClassOf(value).empty()) return error = "readError needs a stack trace", false;
        j.readError = std::string(value);
        return true;
    }
    if (key == "helper.step") return addHelperStep(j.helperSteps, value, error);
    error = "unknown key '" + std::string(key) + "' in a jar section";
    return false;
}

bool setModuleKey(ModuleSpec& m, std::string_view key, std::string_view value, std::string& error) {
    if (key == "mainClass") {
        m.mainClass = value;
        return true;
    }
    if (key == "helper.step") return addHelperStep(m.helperSteps, value, error);
    error = "unknown key '" + std::string(key) + "' in a module section";
    return false;
}

bool sameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(x) == lower(y);
           });
}

// The section's entry, made on first mention; later sections of the same name add to it.
template <typename Spec>
std::size_t sectionIndex(std::vector<Spec>& specs, std::string name) {
    for (std::size_t i = 0; i < specs.size(); ++i)
        if (specs[i].name == name) return i;
    specs.push_back(Spec{});
    specs.back().name = std::move(name);
    return specs.size() - 1;
}

}  // namespace

const ClassSpec* Scenario::findClass(std::string_view name) const {
    for (const auto& c : classes)
        if (c.name == name) return &c;
    return nullptr;
}

const JarSpec* Scenario::findJar(std::string_view fileName) const {
    for (const auto& j : jars)
        if (sameIgnoringAsciiCase(j.name, fileName)) return &j;
    return nullptr;
}

const ModuleSpec* Scenario::findModule(std::string_view name) const {
    for (const auto& m : modules)
        if (m.name == name) return &m;
    return nullptr;
}

std::string manifestMainClass(std::string_view manifest) {
    std::string value;
    bool inMainClass = false;
    while (!manifest.empty()) {
        auto end = manifest.find_first_of("\r\n");
        std::string_view line = manifest.substr(0, end);
        if (end == std::string_view::npos) manifest = {};
        else manifest.remove_prefix(end + (manifest.substr(end, 2) == "\r\n" ? 2 : 1));
        if (line.empty()) break;  // end of the main section
        if (line.front() == ' ') {
            if (inMainClass) value += line.substr(1);
            continue;
        }
        auto colon = line.find(':');
        inMainClass = colon != std::string_view::npos && sameIgnoringAsciiCase(line.substr(0, colon), "Main-Class");
        if (inMainClass) value = std::string(line.substr(colon + 1));
    }
    return std::string(trim(value));
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
    enum class Section { Vm, Class, Jar, Module, Unknown };
    Section section = Section::Vm;  // keys before any section belong to [vm]
    std::size_t index = 0;           // of the current class, jar or module
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        auto end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;

        std::string error;
        if (line.front() == '[' && line.back() == ']') {
            std::string_view header = trim(line.substr(1, line.size() - 2));
            // The name after the word, or nothing when the header starts otherwise.
            auto named = [&](std::string_view word) {
                if (header.substr(0, word.size()) != word) return std::string();
                return std::string(trim(header.substr(word.size())));
            };
            if (header == "vm") {
                section = Section::Vm;
            } else if (auto name = named("class "); !name.empty()) {
                section = Section::Class;
                index = sectionIndex(s.classes, name);
            } else if (auto jar = named("jar "); !jar.empty()) {
                section = Section::Jar;
                index = sectionIndex(s.jars, jar);
            } else if (auto module = named("module "); !module.empty()) {
                section = Section::Module;
                index = sectionIndex(s.modules, module);
            } else {
                error = "unknown section";
                section = Section::Unknown;
            }
        } else if (auto eq = line.find('='); eq == std::string_view::npos) {
            error = "expected key = value";
        } else {
            std::string_view key = trim(line.substr(0, eq));
            std::string_view raw = trim(line.substr(eq + 1));
            if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"') raw = raw.substr(1, raw.size() - 2);
            std::string value = unescape(raw);
            switch (section) {
            case Section::Vm: setVmKey(s, key, value, error); break;
            case Section::Class: setClassKey(s.classes[index], key, value, error); break;
            case Section::Jar: setJarKey(s.jars[index], key, value, error); break;
            case Section::Module: setModuleKey(s.modules[index], key, value, error); break;
            case Section::Unknown: error = "key outside a known section"; break;
            }
        }
        if (!error.empty()) s.errors.push_back("line " + std::to_string(lineNumber) + ": " + error);
    }
    return s;
}

}  // namespace jvm_double
