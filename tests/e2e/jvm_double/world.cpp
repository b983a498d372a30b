#include "world.h"

#include "event_log.h"
#include "text_codec.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <thread>

namespace jvm_double {
namespace {

// Local references look like pointers, never like small integers, so that a
// caller mixing them up with counts or ids shows up as an invalid reference.
constexpr std::uintptr_t refBase = 0x10000;
constexpr std::uintptr_t refStep = 16;

std::string hex(std::uintptr_t value) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(value));
    return buf;
}

std::u16string u16(std::string_view utf8) { return utf8ToUtf16(utf8); }

std::string dotted(std::string name) {
    std::replace(name.begin(), name.end(), '/', '.');
    return name;
}

// One letter per parameter and the result letter, from a JNI signature.
bool parseSignature(std::string_view sig, std::string& params, char& result) {
    if (sig.empty() || sig.front() != '(') return false;
    std::size_t i = 1;
    auto oneType = [&](char& letter) {
        std::size_t start = i;
        while (i < sig.size() && sig[i] == '[') ++i;
        if (i >= sig.size()) return false;
        char c = sig[i];
        if (c == 'L') {
            i = sig.find(';', i);
            if (i == std::string_view::npos) return false;
        } else if (std::string_view("ZBCSIJFDV").find(c) == std::string_view::npos) {
            return false;
        }
        ++i;
        letter = (i - start > 1 || c == 'L') ? 'L' : c;
        return true;
    };
    params.clear();
    while (i < sig.size() && sig[i] != ')') {
        char letter;
        if (!oneType(letter) || letter == 'V') return false;
        params += letter;
    }
    if (i >= sig.size()) return false;
    ++i;
    return oneType(result) && i == sig.size();
}

std::string systemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text;
    if (n && buffer) text.assign(reinterpret_cast<const char16_t*>(buffer), n);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u'.' || text.back() == u' '))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(error) : utf16ToUtf8(text);
}

std::string fileNameOf(std::u16string_view path) {
    auto slash = path.find_last_of(u"\\/");
    return utf16ToUtf8(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

struct ZipProblem {
    std::string exception;  // slash form
    std::string message;
};

// What opening the file as a zip archive meets, as ZipFile reports it;
// nothing for a file that starts as an archive does.
std::optional<ZipProblem> zipProblem(const std::u16string& path) {
    std::wstring wide(path.begin(), path.end());
    FileHandle file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return ZipProblem{"java/io/FileNotFoundException", utf16ToUtf8(path) + " (" + systemErrorText(error) + ")"};
    }
    char start[2] = {};
    DWORD got = 0;
    ReadFile(file.get(), start, sizeof start, &got, nullptr);
    if (got == 0) return ZipProblem{"java/util/zip/ZipException", "zip file is empty"};
    if (got < 2 || start[0] != 'P' || start[1] != 'K')
        return ZipProblem{"java/util/zip/ZipException", "zip END header not found"};
    return std::nullopt;
}

bool isUtf8Name(std::u16string_view name) {
    std::string lower = utf16ToUtf8(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower == "utf-8" || lower == "utf8";
}

}  // namespace

std::string Method::describe() const { return owner->name + "." + name + signature; }

std::string Field::describe() const { return owner->name + "." + name; }

bool Klass::isA(std::string_view other) const {
    for (const Klass* k = this; k; k = k->super)
        if (k->name == other) return true;
    return false;
}

const Method* Klass::find(std::string_view methodName, std::string_view signature, bool isStatic) const {
    for (const Klass* k = this; k; k = k->super) {
        for (const auto& m : k->methods)
            if (m->name == methodName && m->signature == signature && m->isStatic == isStatic) return m.get();
        if (methodName == "<init>") break;  // constructors are not inherited
    }
    return nullptr;
}

const Field* Klass::findStaticField(std::string_view fieldName, std::string_view signature) const {
    for (const Klass* k = this; k; k = k->super)
        for (const auto& f : k->staticFields)
            if (f->name == fieldName && f->signature == signature) return f.get();
    return nullptr;
}

// --- set-up -----------------------------------------------------------------

void World::loadScenario(const std::wstring& path) {
    Lock lock(mutex_);
    if (scenarioLoaded_) return;
    scenarioLoaded_ = true;

    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string text;
    if (file.get() == INVALID_HANDLE_VALUE) {
        logEvent("scenario none " + quote(std::u16string(path.begin(), path.end())));
    } else {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
        logEvent("scenario " + quote(std::u16string(path.begin(), path.end())));
    }
    scenario_ = parseScenario(text);
    for (const auto& error : scenario_.errors) logEvent("scenario error " + error);

    defineBuiltins();
    Klass& object = *findClass("java/lang/Object");
    for (const auto& declared : scenario_.classes) {
        Klass& app = defineClass(declared.name, &object);
        app.declared = &declared;
        if (declared.hasMain) addMethod(app, "main", "([Ljava/lang/String;)V", true, Behaviour::AppMain);
        if (declared.secondary == SecondaryMain::Void)
            addMethod(app, "secondaryMain", "([Ljava/lang/String;)V", true, Behaviour::AppSecondaryMain);
        if (declared.secondary == SecondaryMain::Int)
            addMethod(app, "secondaryMain", "([Ljava/lang/String;)I", true, Behaviour::AppSecondaryMain);
        if (!declared.staticMethod.empty()) {
            const auto open = declared.staticMethod.find('(');
            addMethod(app, declared.staticMethod.substr(0, open), declared.staticMethod.substr(open), true,
                      Behaviour::AppStatic);
        }
        // Exceptions the application throws are loadable classes too.
        for (const auto* steps : {&declared.mainSteps, &declared.secondarySteps, &declared.staticSteps})
            for (const auto& step : *steps)
                if (step.kind == Step::Kind::Throw) throwableClass(throwableClassOf(step.text));
    }
}

void World::defineBuiltins() {
    Klass& object = defineClass("java/lang/Object", nullptr);
    addMethod(object, "<init>", "()V", false, Behaviour::ObjectInit);
    addMethod(object, "toString", "()Ljava/lang/String;", false, Behaviour::ObjectToString);
    Klass& classClass = defineClass("java/lang/Class", &object);
    object.mirror->klass = &classClass;  // Object's mirror was made before Class existed
    addMethod(classClass, "getName", "()Ljava/lang/String;", false, Behaviour::ClassGetName);
    Klass& string = defineClass("java/lang/String", &object);
    addMethod(string, "<init>", "([C)V", false, Behaviour::StringFromChars);
    Klass& throwable = defineClass("java/lang/Throwable", &object);
    addMethod(throwable, "printStackTrace", "(Ljava/io/PrintStream;)V", false, Behaviour::PrintStackTraceTo);
    addMethod(throwable, "printStackTrace", "()V", false, Behaviour::PrintStackTrace);
    addMethod(throwable, "toString", "()Ljava/lang/String;", false, Behaviour::ObjectToString);
    Klass& outputStream = defineClass("java/io/OutputStream", &object);
    Klass& byteStream = defineClass("java/io/ByteArrayOutputStream", &outputStream);
    addMethod(byteStream, "<init>", "()V", false, Behaviour::ByteStreamInit);
    addMethod(byteStream, "toString", "()Ljava/lang/String;", false, Behaviour::ObjectToString);
    addMethod(defineClass("java/io/FileOutputStream", &outputStream), "<init>", "(Ljava/lang/String;)V", false,
              Behaviour::FileStreamInit);
    Klass& filter = defineClass("java/io/FilterOutputStream", &outputStream);
    Klass& printStream = defineClass("java/io/PrintStream", &filter);
    addMethod(printStream, "<init>", "(Ljava/io/OutputStream;)V", false, Behaviour::PrintStreamInit);
    addMethod(printStream, "<init>", "(Ljava/io/OutputStream;Z)V", false, Behaviour::PrintStreamInit);
    addMethod(printStream, "<init>", "(Ljava/io/OutputStream;ZLjava/lang/String;)V", false, Behaviour::PrintStreamInit);
    addMethod(printStream, "print", "(Ljava/lang/String;)V", false, Behaviour::PrintStreamPrint);
    addMethod(printStream, "close", "()V", false, Behaviour::Close);
    Klass& system = defineClass("java/lang/System", &object);
    addMethod(system, "setOut", "(Ljava/io/PrintStream;)V", true, Behaviour::SystemSetOut);
    addMethod(system, "setErr", "(Ljava/io/PrintStream;)V", true, Behaviour::SystemSetErr);
    addMethod(system, "exit", "(I)V", true, Behaviour::SystemExit);
    addStaticField(system, "out", "Ljava/io/PrintStream;");
    addStaticField(system, "err", "Ljava/io/PrintStream;");

    Klass& inputStream = defineClass("java/io/InputStream", &object);
    addMethod(inputStream, "read", "([BII)I", false, Behaviour::StreamRead);
    addMethod(inputStream, "close", "()V", false, Behaviour::Close);
    defineClass("java/util/zip/InflaterInputStream", &inputStream);
    Klass& zipFile = defineClass("java/util/zip/ZipFile", &object);
    addMethod(zipFile, "getInputStream", "(Ljava/util/zip/ZipEntry;)Ljava/io/InputStream;", false,
              Behaviour::ZipGetInputStream);
    addMethod(zipFile, "close", "()V", false, Behaviour::Close);
    Klass& jarFile = defineClass("java/util/jar/JarFile", &zipFile);
    addMethod(jarFile, "<init>", "(Ljava/lang/String;)V", false, Behaviour::JarFileInit);
    addMethod(jarFile, "getJarEntry", "(Ljava/lang/String;)Ljava/util/jar/JarEntry;", false, Behaviour::JarGetEntry);
    defineClass("java/util/jar/JarEntry", &defineClass("java/util/zip/ZipEntry", &object));
    if (scenario_.launcherHelper) {
        addMethod(defineClass("sun/launcher/LauncherHelper", &object), "checkAndLoadMain",
                  "(ZILjava/lang/String;)Ljava/lang/Class;", true, Behaviour::CheckAndLoadMain);
    }

    for (DWORD which : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        auto std = newObject(outputStream, Kind::StdStream);
        std->stdHandle = which;
        auto ps = newObject(printStream, Kind::PrintStream);
        ps->target = std;
        (which == STD_OUTPUT_HANDLE ? systemOut_ : systemErr_) = ps;
    }
}

Klass& World::defineClass(std::string name, const Klass* super) {
    auto& slot = classes_[name];
    if (!slot) {
        slot = std::make_unique<Klass>();
        slot->name = std::move(name);
        slot->super = super;
        auto mirrorClass = classes_.find("java/lang/Class");
        slot->mirror = newObject(mirrorClass != classes_.end() ? *mirrorClass->second : *slot, Kind::Mirror);
        slot->mirror->type = slot.get();
    }
    return *slot;
}

void World::addMethod(Klass& klass, std::string name, std::string signature, bool isStatic, Behaviour behaviour) {
    auto m = std::make_unique<Method>();
    m->owner = &klass;
    m->name = std::move(name);
    m->signature = std::move(signature);
    m->isStatic = isStatic;
    m->behaviour = behaviour;
    parseSignature(m->signature, m->params, m->result);
    klass.methods.push_back(std::move(m));
}

void World::addStaticField(Klass& klass, std::string name, std::string signature) {
    auto f = std::make_unique<Field>();
    f->owner = &klass;
    f->name = std::move(name);
    f->signature = std::move(signature);
    klass.staticFields.push_back(std::move(f));
}

Klass* World::findClass(std::string_view name) {
    auto it = classes_.find(name);
    return it == classes_.end() ? nullptr : it->second.get();
}

Klass& World::throwableClass(std::string_view name) {
    if (Klass* k = findClass(name)) return *k;
    return defineClass(std::string(name), findClass("java/lang/Throwable"));
}

Klass& World::arrayClass(std::string_view descriptor) {
    if (Klass* k = findClass(descriptor)) return *k;
    return defineClass(std::string(descriptor), findClass("java/lang/Object"));
}

const Method* World::method(jmethodID id) const {
    auto* wanted = reinterpret_cast<const Method*>(id);
    for (const auto& [name, klass] : classes_)
        for (const auto& m : klass->methods)
            if (m.get() == wanted) return wanted;
    return nullptr;
}

const Field* World::field(jfieldID id) const {
    auto* wanted = reinterpret_cast<const Field*>(id);
    for (const auto& [name, klass] : classes_)
        for (const auto& f : klass->staticFields)
            if (f.get() == wanted) return wanted;
    return nullptr;
}

ObjectPtr World::staticValue(const Field& f) const { return f.name == "out" ? systemOut_ : systemErr_; }

// --- threads and life cycle -------------------------------------------------

ThreadEnv& World::enter(JNIEnv* env, const char* function, bool allowedWithPending, Lock& lock) {
    lock = Lock(mutex_);
    auto& thread = *static_cast<ThreadEnv*>(env);
    if (destroyed_) logEvent(std::string("error ") + function + ": the VM was destroyed");
    if (!thread.attached)
        logEvent(std::string("error ") + function + ": JNIEnv of detached thread " + std::to_string(thread.tid));
    else if (thread.tid != GetCurrentThreadId())
        logEvent(std::string("error ") + function + ": JNIEnv of thread " + std::to_string(thread.tid));
    if (thread.pending && !allowedWithPending)
        logEvent(std::string("warning ") + function + " called with " + thread.pending->klass->name + " pending");
    return thread;
}

ThreadEnv& World::addThread(DWORD tid, std::string name, bool daemon) {
    auto t = std::make_unique<ThreadEnv>();
    t->functions = envFunctions();
    t->tid = tid;
    t->name = std::move(name);
    t->daemon = daemon;
    threads_.push_back(std::move(t));
    return *threads_.back();
}

std::string World::threadName() { return "Thread-" + std::to_string(nextThreadNumber_++); }

ThreadEnv& World::createMainThread(DWORD tid) {
    created_ = true;
    return addThread(tid, "main", false);
}

void World::setHooks(void* exitHook, void* abortHook) {
    exitHook_ = reinterpret_cast<void(JNICALL*)(jint)>(exitHook);
    abortHook_ = reinterpret_cast<void(JNICALL*)()>(abortHook);
}

ThreadEnv* World::current(DWORD tid) {
    for (auto& t : threads_)
        if (t->attached && t->tid == tid) return t.get();
    return nullptr;
}

ThreadEnv* World::attach(DWORD tid, bool daemon, const char* name) {
    if (ThreadEnv* t = current(tid)) return t;
    return &addThread(tid, name ? name : threadName(), daemon);
}

void World::detach(ThreadEnv& thread) {
    thread.attached = false;
    thread.pending.reset();
    threadEnded_.notify_all();
}

void World::destroy(Lock& lock) {
    DWORD self = GetCurrentThreadId();
    auto others = [&] {
        return std::count_if(threads_.begin(), threads_.end(),
                             [&](const auto& t) { return t->attached && !t->daemon && t->tid != self; });
    };
    if (auto n = others(); n > 0) {
        std::string names;
        for (const auto& t : threads_)
            if (t->attached && !t->daemon && t->tid != self) names += " " + t->name;
        logEvent("DestroyJavaVM waiting for" + names);
    }
    threadEnded_.wait(lock, [&] { return others() == 0; });
    created_ = false;
    destroyed_ = true;
}

// --- objects and references ------------------------------------------------

ObjectPtr World::newObject(const Klass& klass, Kind kind) {
    auto o = std::make_shared<Object>();
    o->id = nextObjectId_++;
    o->klass = &klass;
    o->kind = kind;
    return o;
}

ObjectPtr World::newString(std::u16string text) {
    auto s = newObject(*findClass("java/lang/String"), Kind::String);
    s->text = std::move(text);
    return s;
}

ObjectPtr World::newThrowable(std::string_view trace) {
    auto t = newObject(throwableClass(throwableClassOf(trace)), Kind::Throwable);
    t->text = u16(trace);
    return t;
}

void World::throwNew(ThreadEnv& thread, std::string_view className, std::string_view message) {
    std::string trace = dotted(std::string(className));
    if (!message.empty()) trace += ": " + std::string(message);
    throwableClass(className);
    thread.pending = newThrowable(trace);
}

jobject World::newRef(const ObjectPtr& object) {
    if (!object) return nullptr;
    refs_.push_back(object);
    return reinterpret_cast<jobject>(refBase + (refs_.size() - 1) * refStep);
}

ObjectPtr World::deref(jobject ref, const char* function) {
    if (!ref) return nullptr;
    auto value = reinterpret_cast<std::uintptr_t>(ref);
    std::size_t index = (value - refBase) / refStep;
    if (value < refBase || (value - refBase) % refStep != 0 || index >= refs_.size() || !refs_[index]) {
        logEvent(std::string("error ") + function + ": invalid reference " + hex(value));
        return nullptr;
    }
    return refs_[index];
}

bool World::deleteRef(jobject ref) {
    auto value = reinterpret_cast<std::uintptr_t>(ref);
    std::size_t index = (value - refBase) / refStep;
    if (value < refBase || (value - refBase) % refStep != 0 || index >= refs_.size() || !refs_[index]) return false;
    refs_[index].reset();
    return true;
}

std::string World::describe(const ObjectPtr& o, bool expandArrays) const {
    if (!o) return "null";
    switch (o->kind) {
    case Kind::String: return quote(o->text);
    case Kind::Mirror: return "class " + o->type->name;
    case Kind::CharArray: return "char[" + std::to_string(o->text.size()) + "]@" + std::to_string(o->id);
    case Kind::ByteArray: return "byte[" + std::to_string(o->bytes.size()) + "]@" + std::to_string(o->id);
    case Kind::ObjectArray:
        if (expandArrays) {
            std::string out = "[";
            for (std::size_t i = 0; i < o->elements.size(); ++i) out += (i ? "," : "") + describe(o->elements[i], false);
            return out + "]";
        }
        return o->type->name + "[" + std::to_string(o->elements.size()) + "]@" + std::to_string(o->id);
    default: return o->klass->name + "@" + std::to_string(o->id);
    }
}

const char* World::keepUtfChars(std::string bytes) {
    auto kept = std::make_unique<std::string>(std::move(bytes));
    const char* chars = kept->c_str();
    utfChars_[chars] = std::move(kept);
    return chars;
}

bool World::releaseUtfChars(const char* chars) { return utfChars_.erase(chars) == 1; }

// --- streams ----------------------------------------------------------------

// A closed stream takes nothing, as a PrintStream swallows the IOException.
void World::writeBytes(const ObjectPtr& stream, std::string_view bytes) {
    if (!stream || stream->closed) return;
    DWORD written = 0;
    switch (stream->kind) {
    case Kind::ByteStream: stream->bytes += bytes; break;
    case Kind::FileStream:
        WriteFile(stream->file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        break;
    case Kind::StdStream:
        WriteFile(GetStdHandle(stream->stdHandle), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        break;
    case Kind::PrintStream: writeBytes(stream->target, bytes); break;
    default: break;
    }
}

// Java's println on Windows: each line ends with CR LF; the text is written
// as UTF-8, the default charset of current runtimes.
void World::println(const ObjectPtr& printStream, std::u16string_view text) {
    std::string bytes;
    std::size_t start = 0;
    while (true) {
        auto end = text.find(u'\n', start);
        auto line = text.substr(start, end == std::u16string_view::npos ? end : end - start);
        if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
        bytes += utf16ToUtf8(line) + "\r\n";
        if (end == std::u16string_view::npos) break;
        start = end + 1;
    }
    writeBytes(printStream, bytes);
}

// Closing a PrintStream closes what it writes to, as in Java.
void World::close(const ObjectPtr& stream) {
    if (!stream || stream->closed) return;
    stream->closed = true;
    if (stream->kind == Kind::FileStream) stream->file.reset();
    if (stream->kind == Kind::PrintStream) close(stream->target);
}

std::string World::describeSink(const ObjectPtr& stream) const {
    if (!stream) return "null";
    switch (stream->kind) {
    case Kind::PrintStream: return describeSink(stream->target);
    case Kind::FileStream: return quote(stream->path);
    case Kind::StdStream: return stream->stdHandle == STD_OUTPUT_HANDLE ? "stdout" : "stderr";
    default: return describe(stream, false);
    }
}

std::string World::describeException(ThreadEnv& thread) {
    if (!thread.pending) return {};
    auto pending = std::move(thread.pending);
    thread.pending.reset();
    println(systemErr_, u"Exception in thread \"" + u16(thread.name) + u"\" " + pending->text);
    return describe(pending, false) + " -> " + describeSink(systemErr_);
}

// --- running Java code ------------------------------------------------------

World::Result World::invoke(ThreadEnv& thread, const Method& m, const ObjectPtr& self, const std::vector<Arg>& args,
                            Lock& lock) {
    auto refArg = [&](std::size_t i) { return deref(args.at(i).ref, m.name.c_str()); };
    Result r;
    switch (m.behaviour) {
    case Behaviour::ObjectInit:
    case Behaviour::ByteStreamInit: break;
    case Behaviour::ObjectToString:
        if (self->kind == Kind::String) r.object = self;
        else if (self->kind == Kind::ByteStream) r.object = newString(u16(self->bytes));
        else if (self->kind == Kind::Throwable) r.object = newString(self->text.substr(0, self->text.find(u'\n')));
        else r.object = newString(u16(dotted(self->klass->name) + "@" + std::to_string(self->id)));
        break;
    case Behaviour::StringFromChars: {
        auto chars = refArg(0);
        if (!chars) throwNew(thread, "java/lang/NullPointerException", "");
        else if (scenario().newStringFails) throwNew(thread, "java/lang/OutOfMemoryError", "Java heap space");
        else if (chars->kind != Kind::CharArray) logEvent("error " + m.describe() + ": given " + describe(chars, false));
        else self->text = chars->text;
        break;
    }
    case Behaviour::PrintStackTraceTo:
    case Behaviour::PrintStackTrace: {
        auto target = m.behaviour == Behaviour::PrintStackTrace ? systemErr_ : refArg(0);
        if (!target) throwNew(thread, "java/lang/NullPointerException", "");
        else println(target, self->text);
        break;
    }
    case Behaviour::FileStreamInit: {
        auto name = refArg(0);
        if (!name) {
            throwNew(thread, "java/lang/NullPointerException", "");
            break;
        }
        std::wstring path(name->text.begin(), name->text.end());
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            throwNew(thread, "java/io/FileNotFoundException",
                     utf16ToUtf8(name->text) + " (" + systemErrorText(GetLastError()) + ")");
        } else {
            self->file.reset(h);
            self->path = name->text;
        }
        break;
    }
    case Behaviour::PrintStreamInit: {
        auto out = refArg(0);
        auto charset = args.size() == 3 ? refArg(2) : nullptr;  // null: the default, UTF-8
        if (!out) throwNew(thread, "java/lang/NullPointerException", "Null output stream");
        else if (args.size() == 3 && !charset) throwNew(thread, "java/lang/NullPointerException", "charsetName");
        else if (!out->klass->isA("java/io/OutputStream")) logEvent("error " + m.describe() + ": given " + describe(out, false));
        else if (charset && !isUtf8Name(charset->text))
            throwNew(thread, "java/io/UnsupportedEncodingException", utf16ToUtf8(charset->text));
        else self->target = out;
        break;
    }
    case Behaviour::PrintStreamPrint: {
        auto text = refArg(0);
        writeBytes(self, text ? utf16ToUtf8(text->text) : "null");
        break;
    }
    case Behaviour::Close: close(self); break;
    case Behaviour::ClassGetName: r.object = newString(u16(dotted(self->type->name))); break;
    case Behaviour::JarFileInit: openJar(thread, self, refArg(0)); break;
    case Behaviour::JarGetEntry: {
        auto name = refArg(0);
        if (self->closed) throwNew(thread, "java/lang/IllegalStateException", "zip file closed");
        else if (!name) throwNew(thread, "java/lang/NullPointerException", "name");
        else if (self->jar && self->jar->manifest && name->text == u"META-INF/MANIFEST.MF") {
            r.object = newObject(*findClass("java/util/jar/JarEntry"), Kind::JarEntry);
            r.object->text = name->text;
            r.object->target = self;
        }
        break;
    }
    case Behaviour::ZipGetInputStream: {
        auto entry = refArg(0);
        if (self->closed) throwNew(thread, "java/lang/IllegalStateException", "zip file closed");
        else if (!entry) throwNew(thread, "java/lang/NullPointerException", "entry");
        else if (entry->kind != Kind::JarEntry || entry->target != self)
            logEvent("error " + m.describe() + ": not an entry of this jar: " + describe(entry, false));
        else {
            r.object = newObject(*findClass("java/util/zip/InflaterInputStream"), Kind::InputStream);
            r.object->bytes = *self->jar->manifest;
            r.object->failure = self->jar->readError.value_or("");
        }
        break;
    }
    case Behaviour::StreamRead: {
        auto array = refArg(0);
        const jlong offset = args.at(1).integer, length = args.at(2).integer;
        if (self->closed) throwNew(thread, "java/io/IOException", "Stream closed");
        else if (!self->failure.empty()) thread.pending = newThrowable(self->failure);
        else if (!array) throwNew(thread, "java/lang/NullPointerException", "");
        else if (array->kind != Kind::ByteArray) logEvent("error " + m.describe() + ": given " + describe(array, false));
        else if (offset < 0 || length < 0 || static_cast<std::size_t>(offset + length) > array->bytes.size())
            throwNew(thread, "java/lang/IndexOutOfBoundsException",
                     "Range [" + std::to_string(offset) + ", " + std::to_string(offset + length) +
                         ") out of bounds for length " + std::to_string(array->bytes.size()));
        else if (length > 0 && self->position >= self->bytes.size()) r.integer = -1;
        else {
            std::size_t n = std::min(static_cast<std::size_t>(length), self->bytes.size() - self->position);
            array->bytes.replace(static_cast<std::size_t>(offset), n, self->bytes, self->position, n);
            self->position += n;
            r.integer = static_cast<jint>(n);
        }
        break;
    }
    case Behaviour::CheckAndLoadMain: r = checkAndLoadMain(thread, args, lock); break;
    case Behaviour::SystemSetOut:
    case Behaviour::SystemSetErr: {
        auto ps = refArg(0);
        bool isOut = m.behaviour == Behaviour::SystemSetOut;
        (isOut ? systemOut_ : systemErr_) = ps;
        logEvent(std::string(isOut ? "System.setOut " : "System.setErr ") + describeSink(ps));
        break;
    }
    case Behaviour::SystemExit:
        lock.unlock();
        systemExit(static_cast<jint>(args.at(0).integer));
    case Behaviour::AppMain:
    case Behaviour::AppSecondaryMain: {
        const ClassSpec& declared = *m.owner->declared;
        bool isMain = m.behaviour == Behaviour::AppMain;
        lock.unlock();
        runSteps(thread, m.name, isMain ? declared.mainSteps : declared.secondarySteps, 0);
        lock.lock();
        if (!isMain && !thread.pending) r.integer = secondaryResult(declared, args);
        break;
    }
    case Behaviour::AppStatic:
        lock.unlock();
        runSteps(thread, m.name, m.owner->declared->staticSteps, 0);
        lock.lock();
        break;
    }
    return r;
}

void World::openJar(ThreadEnv& thread, const ObjectPtr& self, const ObjectPtr& name) {
    if (!name) {
        throwNew(thread, "java/lang/NullPointerException", "");
        return;
    }
    if (auto problem = zipProblem(name->text)) {
        throwNew(thread, problem->exception, problem->message);
        return;
    }
    self->path = name->text;
    self->jar = scenario().findJar(fileNameOf(name->text));
}

// sun.launcher.LauncherHelper.checkAndLoadMain(printToStderr, mode, what): the
// main class of a class name (mode 1), a jar's manifest (2) or a module (3).
// What it cannot load it prints on System.err, then it ends the process with
// System.exit(1). Called with the lock held; returns with it held.
World::Result World::checkAndLoadMain(ThreadEnv& thread, const std::vector<Arg>& args, Lock& lock) {
    Result r;
    const jlong mode = args.at(1).integer;
    auto what = deref(args.at(2).ref, "checkAndLoadMain");
    if (!what || what->kind != Kind::String) {
        throwNew(thread, "java/lang/NullPointerException", "");
        return r;
    }
    const std::string name = utf16ToUtf8(what->text);
    std::string className;  // dotted
    std::string problem;    // printed before System.exit(1)
    const std::vector<Step>* steps = nullptr;
    if (mode == 1) {
        className = name;
    } else if (mode == 2) {
        const JarSpec* jar = scenario().findJar(fileNameOf(what->text));
        if (jar) steps = &jar->helperSteps;
        if (zipProblem(what->text)) problem = "Error: Invalid or corrupt jarfile " + name;
        else if (!jar || !jar->manifest || (className = manifestMainClass(*jar->manifest)).empty())
            problem = "no main manifest attribute, in " + name;
    } else if (mode == 3) {
        const auto slash = name.find('/');
        const std::string moduleName = name.substr(0, slash);
        const ModuleSpec* module = scenario().findModule(moduleName);
        if (module) steps = &module->helperSteps;
        className = !module ? "" : slash == std::string::npos ? module->mainClass : name.substr(slash + 1);
        if (!module) problem = "Error: module " + moduleName + " not found";
        else if (className.empty())
            problem = "Error: module " + moduleName +
                      " does not have a ModuleMainClass attribute, use -m <module>/<main-class>";
    } else {
        throwNew(thread, "java/lang/InternalError", "unknown launch mode " + std::to_string(mode));
        return r;
    }
    if (steps && !steps->empty()) {
        lock.unlock();
        runSteps(thread, "checkAndLoadMain", *steps, 0);
        lock.lock();
        if (thread.pending) return r;
    }
    if (problem.empty()) {
        std::string slashed = className;
        std::replace(slashed.begin(), slashed.end(), '.', '/');
        const ClassSpec* declared = scenario().findClass(slashed);
        const std::string notLoaded = "Error: Could not find or load main class " + className + "\nCaused by: ";
        if (!declared) problem = notLoaded + "java.lang.ClassNotFoundException: " + className;
        else if (declared->findClassError)
            problem = notLoaded + declared->findClassError->substr(0, declared->findClassError->find('\n'));
        else if (!declared->hasMain)
            problem = "Error: Main method not found in class " + className +
                      ", please define the main method as:\n   public static void main(String[] args)\n"
                      "or a JavaFX application class must extend javafx.application.Application";
        else r.object = findClass(slashed)->mirror;
    }
    if (problem.empty()) return r;
    logEvent("checkAndLoadMain err " + quoteUtf8(problem) + " -> " + describeSink(systemErr_));
    println(systemErr_, u16(problem));
    lock.unlock();
    systemExit(1);
}

// Called with the lock held: the argument array is read through its reference.
jint World::secondaryResult(const ClassSpec& declared, const std::vector<Arg>& args) {
    if (!declared.secondaryResultFromArgument) return declared.secondaryResult;
    ObjectPtr array = args.empty() ? nullptr : deref(args[0].ref, "secondaryMain");
    if (!array || array->elements.empty() || !array->elements[0]) return 0;
    const std::u16string& first = array->elements[0]->text;
    return static_cast<jint>(std::wcstol(std::wstring(first.begin(), first.end()).c_str(), nullptr, 10));
}

// As System.loadLibrary of a bare name reaches the system's loader: the
// loaded file's path, or "error N".
static std::string loadLibrary(const std::string& utf8Name) {
    const std::u16string name = u16(utf8Name);
    const HMODULE library = LoadLibraryW(std::wstring(name.begin(), name.end()).c_str());
    if (!library) return "error " + std::to_string(GetLastError());
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(library, path, MAX_PATH);
    return quote(std::u16string(path, path + length));
}

bool waitForFile(const std::string& utf8Path) {
    const std::u16string path = u16(utf8Path);
    const std::wstring wide(path.begin(), path.end());
    for (int waited = 0; waited < 120000; waited += 20) {
        if (GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        Sleep(20);
    }
    return false;
}

void World::runSteps(ThreadEnv& thread, const std::string& who, const std::vector<Step>& steps, std::size_t from) {
    for (std::size_t i = from; i < steps.size(); ++i) {
        const Step& step = steps[i];
        switch (step.kind) {
        case Step::Kind::Out:
        case Step::Kind::Err: {
            Lock lock(mutex_);
            bool out = step.kind == Step::Kind::Out;
            const ObjectPtr& target = out ? systemOut_ : systemErr_;
            logEvent(who + (out ? " out " : " err ") + quoteUtf8(step.text) + " -> " + describeSink(target));
            println(target, u16(step.text));
            break;
        }
        case Step::Kind::Throw: {
            Lock lock(mutex_);
            thread.pending = newThrowable(step.text);
            logEvent(who + " throw " + describe(thread.pending, false));
            return;
        }
        case Step::Kind::Exit:
            logEvent(who + " exit " + std::to_string(step.number));
            systemExit(static_cast<jint>(step.number));
        case Step::Kind::Sleep:
            logEvent(who + " sleep " + std::to_string(step.number));
            Sleep(static_cast<DWORD>(step.number));
            break;
        case Step::Kind::WaitFile:
            logEvent(who + " waitfile " + quoteUtf8(step.text));
            if (!waitForFile(step.text)) logEvent(who + " waitfile timed out");
            break;
        case Step::Kind::Touch: {
            logEvent(who + " touch " + quoteUtf8(step.text));
            const std::u16string path = u16(step.text);
            CloseHandle(CreateFileW(std::wstring(path.begin(), path.end()).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            break;
        }
        case Step::Kind::Load: logEvent(who + " load " + quoteUtf8(step.text) + " -> " + loadLibrary(step.text)); break;
        case Step::Kind::Return: logEvent(who + " return"); return;
        case Step::Kind::Background: startBackground(steps, i + 1); return;
        case Step::Kind::Abort: logEvent(who + " abort"); abortVm();
        }
    }
}

// The rest of the steps go on in a new non-daemon Java thread, which keeps
// DestroyJavaVM waiting until it ends, as an application's own threads do.
void World::startBackground(const std::vector<Step>& steps, std::size_t from) {
    Lock lock(mutex_);
    ThreadEnv& thread = addThread(0, threadName(), false);
    logEvent("background " + thread.name);
    std::thread([this, &thread, &steps, from] {
        {
            Lock started(mutex_);
            thread.tid = GetCurrentThreadId();
        }
        runSteps(thread, thread.name, steps, from);
        Lock lock(mutex_);
        if (thread.pending) logEvent("uncaught " + describeException(thread));
        logEvent(thread.name + " ended");
        detach(thread);
    }).detach();
}

void World::systemExit(jint status) {
    logEvent("System.exit " + std::to_string(status));
    if (exitHook_) {
        logEvent("exit hook " + std::to_string(status));
        exitHook_(status);
        logEvent("exit hook returned");
    }
    ExitProcess(static_cast<UINT>(status));
}

void World::failBootLayer(const std::string& module) {
    {
        Lock lock(mutex_);
        logEvent("boot layer: module " + quoteUtf8(module) + " not found");
        println(systemErr_, u"Error occurred during initialization of boot layer\n"
                            u"java.lang.module.FindException: Module " + u16(module) + u" not found");
    }
    abortVm();
}

// A VM abort: the abort hook, then the end the C runtime's abort() gives.
void World::abortVm() {
    if (abortHook_) {
        logEvent("abort hook");
        abortHook_();
        logEvent("abort hook returned");
    }
    ExitProcess(3);
}

World& world() {
    static Immortal<World> w;
    return w.value;
}

}  // namespace jvm_double
