// double_selftest: checks the jvm.dll double under Wine the way the launcher
// will use it. For each case the parent puts a copy of the double and a
// scenario into a folder of its own, runs itself as a child that drives the
// JNI calls of that case (a VM lives once per process, and some cases end the
// process through System.exit), then checks the child's exit code, its output
// and the double's log.
//
//   double_selftest [folder holding jvm.dll and jvm-no-default-init-args.dll]
//   double_selftest --child <case> <case folder>

#include <windows.h>

#include <jni.h>

#include "vm/jdk11_init_args.h"

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace {

// --- child side: the JNI calls of each case ---------------------------------

int childFailures = 0;

void check(bool ok, const char* what) {
    if (!ok) {
        std::printf("child check failed: %s\n", what);
        ++childFailures;
    }
}

using CreateFn = jint(JNICALL*)(JavaVM**, void**, void*);
using DefaultsFn = jint(JNICALL*)(void*);

struct Jvm {
    HMODULE library = nullptr;
    CreateFn create = nullptr;
    DefaultsFn defaults = nullptr;
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
};

void JNICALL exitHook(jint code) {
    std::printf("exit hook %ld\n", static_cast<long>(code));
    std::fflush(stdout);
}
void JNICALL abortHook() {}

Jvm load(const std::wstring& folder) {
    Jvm j;
    j.library = LoadLibraryW((folder + L"jvm.dll").c_str());
    if (!j.library) {
        std::printf("child check failed: LoadLibraryW jvm.dll, error %lu\n", GetLastError());
        ExitProcess(2);
    }
    j.create = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(j.library, "JNI_CreateJavaVM")));
    j.defaults =
        reinterpret_cast<DefaultsFn>(reinterpret_cast<void*>(GetProcAddress(j.library, "JNI_GetDefaultJavaVMInitArgs")));
    return j;
}

// Creates the VM with the given options followed by the two hooks, as the launcher does.
jint create(Jvm& j, std::vector<std::string> options) {
    std::vector<JavaVMOption> records;
    for (auto& o : options) records.push_back({o.data(), nullptr});
    records.push_back({const_cast<char*>("abort"), reinterpret_cast<void*>(&abortHook)});
    records.push_back({const_cast<char*>("exit"), reinterpret_cast<void*>(&exitHook)});
    JavaVMInitArgs args{JNI_VERSION_1_2, static_cast<jint>(records.size()), records.data(), JNI_FALSE};
    return j.create(&j.vm, reinterpret_cast<void**>(&j.env), &args);
}

std::string ansi(const wchar_t* text) {
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.pop_back();
    return out;
}

jstring javaString(JNIEnv* env, std::wstring_view text) {
    jclass string = env->FindClass("java/lang/String");
    jmethodID init = env->GetMethodID(string, "<init>", "([C)V");
    jcharArray chars = env->NewCharArray(static_cast<jsize>(text.size()));
    env->SetCharArrayRegion(chars, 0, static_cast<jsize>(text.size()), reinterpret_cast<const jchar*>(text.data()));
    auto s = static_cast<jstring>(env->NewObject(string, init, chars));
    env->DeleteLocalRef(chars);
    return s;
}

jobjectArray javaStrings(JNIEnv* env, std::initializer_list<std::wstring_view> items) {
    jobjectArray array = env->NewObjectArray(static_cast<jsize>(items.size()), env->FindClass("java/lang/String"), nullptr);
    jsize i = 0;
    for (auto item : items) {
        jstring s = javaString(env, item);
        env->SetObjectArrayElement(array, i++, s);
        env->DeleteLocalRef(s);
    }
    return array;
}

std::string utfChars(JNIEnv* env, jstring s) {
    const char* chars = env->GetStringUTFChars(s, nullptr);
    std::string out = chars ? chars : "<null>";
    if (chars) env->ReleaseStringUTFChars(s, chars);
    return out;
}

jobject newStream(JNIEnv* env, const char* className, const char* signature, jobject arg) {
    jclass c = env->FindClass(className);
    return env->NewObject(c, env->GetMethodID(c, "<init>", signature), arg);
}

// The launcher's main path, on a thread with a 3 MiB stack commit.
void childMain(const std::wstring& folder) {
    Jvm j = load(folder);
    JDK1_1InitArgs old{};
    old.version = JNI_VERSION_1_1;
    check(j.defaults(&old) == JNI_ERR, "JNI 1.1 defaults give JNI_ERR, as a current VM");
    check(old.javaStackSize == 393216 && old.version == JNI_VERSION_1_2, "javaStackSize from the scenario");

    SetEnvironmentVariableW(L"JL_JVM_PATH", L"C:\\rt\\bin\\server\\jvm.dll");
    SetEnvironmentVariableW(L"JL_JVM_HOME", nullptr);
    auto thread = [](void* p) -> DWORD {
        Jvm& j = *static_cast<Jvm*>(p);
        check(create(j, {"-Djava.class.path=C:\\app\\a.jar;", ansi(L"-Dnote=Zoë")}) == JNI_OK, "create");
        JNIEnv* env = j.env;
        jstring name = javaString(env, L"com/example/App");
        const char* bytes = env->GetStringUTFChars(name, nullptr);
        jclass app = env->FindClass(bytes);
        env->ReleaseStringUTFChars(name, bytes);
        jmethodID main = env->GetStaticMethodID(app, "main", "([Ljava/lang/String;)V");
        jobjectArray args = javaStrings(env, {L"first", L"Grüße 😀", L""});
        env->CallStaticVoidMethod(app, main, args);
        check(env->ExceptionOccurred() == nullptr, "main returns without an exception");
        jstring mixed = javaString(env, std::wstring(L"Gr\u00FC\u00DFe \U0001F600\0x", 10));
        check(utfChars(env, mixed) == "Gr\xC3\xBC\xC3\x9F" "e \xED\xA0\xBD\xED\xB8\x80\xC0\x80x",
              "modified UTF-8: surrogates one by one, NUL as C0 80");
        check(j.vm->DetachCurrentThread() == JNI_OK, "detach");
        return 0;
    };
    HANDLE h = CreateThread(nullptr, 3 * 1024 * 1024, thread, &j, 0, nullptr);
    WaitForSingleObject(h, INFINITE);
    CloseHandle(h);
    check(j.vm && j.vm->DestroyJavaVM() == JNI_OK, "destroy");
}

// The exception paths: a failed redirection, an exception out of main and its
// report through printStackTrace, classes and methods that are not there.
void childException(const std::wstring& folder) {
    Jvm j = load(folder);
    check(create(j, {}) == JNI_OK, "create");
    JNIEnv* env = j.env;
    const JNINativeInterface_* fn = env->functions;

    jclass fos = env->FindClass("java/io/FileOutputStream");
    jmethodID fosInit = env->GetMethodID(fos, "<init>", "(Ljava/lang/String;)V");
    jobject missing = fn->NewObject(env, fos, fosInit, javaString(env, folder + L"missing\\out.txt"));
    check(missing == nullptr && env->ExceptionOccurred() != nullptr, "missing folder: FileNotFoundException");
    env->ExceptionClear();
    jobject file = fn->NewObject(env, fos, fosInit, javaString(env, folder + L"err.txt"));
    jobject print = newStream(env, "java/io/PrintStream", "(Ljava/io/OutputStream;)V", file);
    jclass system = env->FindClass("java/lang/System");
    env->CallStaticVoidMethod(system, env->GetStaticMethodID(system, "setErr", "(Ljava/io/PrintStream;)V"), print);

    jclass boom = env->FindClass("com/example/Boom");
    jmethodID main = env->GetStaticMethodID(boom, "main", "([Ljava/lang/String;)V");
    fn->CallStaticVoidMethod(env, boom, main, javaStrings(env, {}));
    jthrowable thrown = env->ExceptionOccurred();
    check(thrown != nullptr, "main threw");
    env->ExceptionClear();
    jobject bytes = newStream(env, "java/io/ByteArrayOutputStream", "()V", nullptr);
    jobject report = newStream(env, "java/io/PrintStream", "(Ljava/io/OutputStream;)V", bytes);
    env->CallObjectMethod(thrown, env->GetMethodID(env->GetObjectClass(thrown), "printStackTrace",
                                                  "(Ljava/io/PrintStream;)V"), report);
    jmethodID toString = env->GetMethodID(env->GetObjectClass(bytes), "toString", "()Ljava/lang/String;");
    auto text = static_cast<jstring>(fn->CallObjectMethodA(env, bytes, toString, nullptr));
    check(utfChars(env, text) == "java.lang.IllegalStateException: boom\r\n\tat com.example.Boom.main(Boom.java:7)\r\n",
          "printStackTrace into a ByteArrayOutputStream, lines ending in CR LF");

    check(env->FindClass("com/example/Missing") == nullptr, "unknown class");
    env->ExceptionDescribe();  // into err.txt
    check(env->FindClass("com/example/Broken") == nullptr && env->ExceptionOccurred() != nullptr, "findClassError");
    env->ExceptionClear();
    check(env->GetStaticMethodID(boom, "secondaryMain", "([Ljava/lang/String;)V") == nullptr &&
              env->ExceptionOccurred() != nullptr,
          "no secondaryMain: NoSuchMethodError pending");
    env->ExceptionDescribe();
    check(env->ExceptionOccurred() == nullptr, "ExceptionDescribe clears the exception");
    check(env->GetVersion() == 0, "GetVersion is not offered");
    check(j.vm->DetachCurrentThread() == -1, "detach result from the scenario");
    check(j.vm->DestroyJavaVM() == JNI_OK, "destroy");
}

// main returns at once; its background thread ends the process while
// DestroyJavaVM waits for it.
void childExit(const std::wstring& folder) {
    Jvm j = load(folder);
    check(create(j, {}) == JNI_OK, "create");
    jclass app = j.env->FindClass("com/example/App");
    j.env->CallStaticVoidMethod(app, j.env->GetStaticMethodID(app, "main", "([Ljava/lang/String;)V"),
                                javaStrings(j.env, {L"a"}));
    check(j.vm->DetachCurrentThread() == JNI_OK, "detach");
    std::printf("destroying\n");
    std::fflush(stdout);
    j.vm->DestroyJavaVM();
    std::printf("DestroyJavaVM returned\n");  // not reached: the background thread exits
}

// The launcher's Stop: System.exit(-1) through JNI, in the default world.
void childStop(const std::wstring& folder) {
    Jvm j = load(folder);
    check(create(j, {}) == JNI_OK, "create without a scenario");
    check(j.env->FindClass("com/example/App") == nullptr, "no classes without a scenario");
    j.env->ExceptionClear();
    jclass system = j.env->FindClass("java/lang/System");
    j.env->CallStaticVoidMethod(system, j.env->GetStaticMethodID(system, "exit", "(I)V"), -1);
}

// secondaryMain from an attached thread while main is still running.
void childSecondary(const std::wstring& folder) {
    static Jvm j = load(folder);
    check(create(j, {}) == JNI_OK, "create");
    auto secondary = [](void*) -> DWORD {
        JNIEnv* env = nullptr;
        check(j.vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) == JNI_OK, "attach");
        jclass app = env->FindClass("com/example/App");
        check(env->GetStaticMethodID(app, "secondaryMain", "([Ljava/lang/String;)V") == nullptr, "no void variant");
        if (env->ExceptionOccurred()) env->ExceptionClear();
        jmethodID m = env->GetStaticMethodID(app, "secondaryMain", "([Ljava/lang/String;)I");
        check(env->CallStaticIntMethod(app, m, javaStrings(env, {L"--open", L"C:\\Daten\\ä.txt"})) == 5, "result 5");
        check(j.vm->DetachCurrentThread() == JNI_OK, "detach the attached thread");
        return 0;
    };
    HANDLE h = CreateThread(nullptr, 0, secondary, nullptr, 0, nullptr);
    jclass app = j.env->FindClass("com/example/App");
    j.env->CallStaticVoidMethod(app, j.env->GetStaticMethodID(app, "main", "([Ljava/lang/String;)V"),
                                javaStrings(j.env, {}));
    WaitForSingleObject(h, INFINITE);
    CloseHandle(h);
    check(j.vm->DetachCurrentThread() == JNI_OK, "detach");
    check(j.vm->DestroyJavaVM() == JNI_OK, "destroy");
}

// The copy without JNI_GetDefaultJavaVMInitArgs, and a creation that fails.
void childCreateFails(const std::wstring& folder) {
    Jvm j = load(folder);
    j.vm = reinterpret_cast<JavaVM*>(&j);  // must be reset to null by the failed creation
    check(j.defaults == nullptr && GetLastError() == ERROR_PROC_NOT_FOUND, "no JNI_GetDefaultJavaVMInitArgs");
    check(j.create != nullptr, "JNI_CreateJavaVM exported");
    check(create(j, {"-Xfoo"}) == JNI_EINVAL && j.vm == nullptr && j.env == nullptr, "create gives -6");
}

void writeFile(const std::wstring& path, std::string_view text);

// Jars and the launcher helper: what JarFile makes of files that are no jar,
// a manifest read in pieces, a module's main class, and the helper's
// System.exit(1) after it reports a class it cannot load.
void childJar(const std::wstring& folder) {
    Jvm j = load(folder);
    check(create(j, {}) == JNI_OK, "create");
    JNIEnv* env = j.env;
    writeFile(folder + L"app.jar", "PK\x05\x06");
    writeFile(folder + L"text.jar", "text");
    jclass jarFile = env->FindClass("java/util/jar/JarFile");
    jmethodID open = env->GetMethodID(jarFile, "<init>", "(Ljava/lang/String;)V");
    for (const wchar_t* name : {L"missing.jar", L"text.jar"}) {
        check(env->NewObject(jarFile, open, javaString(env, folder + name)) == nullptr && env->ExceptionCheck(),
              "JarFile of a file that is no jar throws");
        env->ExceptionDescribe();
    }
    jobject jar = env->NewObject(jarFile, open, javaString(env, folder + L"app.jar"));
    jmethodID entry = env->GetMethodID(jarFile, "getJarEntry", "(Ljava/lang/String;)Ljava/util/jar/JarEntry;");
    check(env->CallObjectMethod(jar, entry, javaString(env, L"a/B.class")) == nullptr, "no entries but the manifest");
    jobject manifest = env->CallObjectMethod(jar, entry, javaString(env, L"META-INF/MANIFEST.MF"));
    jmethodID getStream = env->GetMethodID(env->FindClass("java/util/zip/ZipFile"), "getInputStream",
                                           "(Ljava/util/zip/ZipEntry;)Ljava/io/InputStream;");
    jobject stream = env->CallObjectMethod(jar, getStream, manifest);
    jclass input = env->FindClass("java/io/InputStream");
    jmethodID read = env->GetMethodID(input, "read", "([BII)I");
    jbyteArray buffer = env->NewByteArray(16);
    std::string bytes;
    for (jint n; (n = env->CallIntMethod(stream, read, buffer, 2, 10)) > 0;) {
        char piece[16];
        env->GetByteArrayRegion(buffer, 2, n, reinterpret_cast<jbyte*>(piece));
        bytes.append(piece, static_cast<std::size_t>(n));
    }
    check(bytes == "Main-Class: com.example.App\r\n", "the manifest, read ten bytes at a time");
    env->CallVoidMethod(stream, env->GetMethodID(input, "close", "()V"));
    env->CallIntMethod(stream, read, buffer, 0, 16);
    check(env->ExceptionCheck(), "read after close throws");
    env->ExceptionClear();

    jclass helper = env->FindClass("sun/launcher/LauncherHelper");
    jmethodID loadMain = env->GetStaticMethodID(helper, "checkAndLoadMain", "(ZILjava/lang/String;)Ljava/lang/Class;");
    jobject app = env->CallStaticObjectMethod(helper, loadMain, JNI_TRUE, 3, javaString(env, L"app.mod"));
    jmethodID getName = env->GetMethodID(env->FindClass("java/lang/Class"), "getName", "()Ljava/lang/String;");
    check(app && utfChars(env, static_cast<jstring>(env->CallObjectMethod(app, getName))) == "com.example.App",
          "the module's main class");
    env->CallStaticObjectMethod(helper, loadMain, JNI_TRUE, 1, javaString(env, L"com.example.Missing"));
    check(false, "the helper ends the process");
}

// --- parent side: folders, the child, the checks ----------------------------

struct Case {
    const wchar_t* name;
    const wchar_t* dll;
    const char* scenario;  // null: no scenario file
    void (*child)(const std::wstring& folder);
};

std::string utf8(std::wstring_view w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// A path as the log quotes it.
std::string quoted(std::wstring_view path) {
    std::string out = "\"";
    for (char c : utf8(path)) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out + "\"";
}

std::string readFile(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    std::string out;
    if (h == INVALID_HANDLE_VALUE) return out;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got) out.append(buf, got);
    CloseHandle(h);
    return out;
}

void writeFile(const std::wstring& path, std::string_view text) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
}

struct Outcome {
    DWORD exitCode = 0;
    std::string out, err;
    std::vector<std::string> tids, events;  // log lines split at the first blank
};

class Verdict {
public:
    explicit Verdict(std::string name) : name_(std::move(name)) {}
    void expect(bool ok, const std::string& what) {
        if (!ok) {
            std::printf("  %s: %s\n", name_.c_str(), what.c_str());
            ++failures_;
        }
    }
    // The events appear in this order (others may come between).
    void inOrder(const Outcome& o, std::initializer_list<std::string> wanted) {
        std::size_t at = 0;
        for (const auto& w : wanted) {
            while (at < o.events.size() && o.events[at] != w) ++at;
            expect(at < o.events.size(), "log lacks, in order: " + w);
            if (at == o.events.size()) return;
            ++at;
        }
    }
    void none(const Outcome& o, const std::vector<std::string_view>& prefixes) {
        for (const auto& e : o.events)
            for (auto p : prefixes)
                expect(e.compare(0, p.size(), p) != 0, "unwanted log line: " + e);
    }
    int failures() const { return failures_; }

private:
    std::string name_;
    int failures_ = 0;
};

std::string tidOf(const Outcome& o, std::string_view event) {
    for (std::size_t i = 0; i < o.events.size(); ++i)
        if (o.events[i] == event) return o.tids[i];
    return "?";
}

Outcome run(const std::wstring& self, const Case& c, const std::wstring& dllFolder, const std::wstring& folder) {
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* f : {L"jvm.log", L"jvm.scenario", L"out.txt", L"err.txt", L"stdout.txt", L"stderr.txt"})
        DeleteFileW((folder + f).c_str());
    CopyFileW((dllFolder + c.dll).c_str(), (folder + L"jvm.dll").c_str(), FALSE);
    if (c.scenario) writeFile(folder + L"jvm.scenario", c.scenario);

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    auto sink = [&](const wchar_t* name) {
        return CreateFileW((folder + name).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           CREATE_ALWAYS, 0, nullptr);
    };
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = sink(L"stdout.txt");
    si.hStdError = sink(L"stderr.txt");
    // Without the folder's last backslash, which would escape the closing quote.
    std::wstring command = L"\"" + self + L"\" --child " + c.name + L" \"" + folder.substr(0, folder.size() - 1) + L"\"";
    PROCESS_INFORMATION pi{};
    Outcome o;
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 0xDEAD);
        GetExitCodeProcess(pi.hProcess, &o.exitCode);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(si.hStdOutput);
    CloseHandle(si.hStdError);
    o.out = readFile(folder + L"stdout.txt");
    o.err = readFile(folder + L"stderr.txt");
    std::string log = readFile(folder + L"jvm.log");
    for (std::size_t start = 0, end; start < log.size(); start = end + 1) {
        end = log.find('\n', start);
        std::string line = log.substr(start, end - start);
        auto blank = line.find(' ');
        o.tids.push_back(line.substr(0, blank));
        o.events.push_back(blank == std::string::npos ? "" : line.substr(blank + 1));
        if (end == std::string::npos) break;
    }
    return o;
}

const Case cases[] = {
    {L"main", L"jvm.dll",
     "# the launcher's main path\n[vm]\njavaStackSize = 393216\n\n[class com/example/App]\n"
     "main.step = out Hello from main\nmain.step = \"err   Warnung: Größe\"\nmain.step = return\n"
     "main.step = out never printed\n",
     childMain},
    {L"exception", L"jvm.dll",
     "[vm]\ndetach = -1\n[class com/example/Boom]\n"
     "main.step = throw java.lang.IllegalStateException: boom\\n\\tat com.example.Boom.main(Boom.java:7)\n"
     "[class com/example/Broken]\n"
     "findClassError = java.lang.ExceptionInInitializerError\\nCaused by: java.lang.RuntimeException: static\n",
     childException},
    {L"exit", L"jvm.dll",
     "[class com/example/App]\nmain.step = out bye\nmain.step = background\nmain.step = sleep 500\n"
     "main.step = exit 7\n",
     childExit},
    {L"stop", L"jvm.dll", nullptr, childStop},
    {L"secondary", L"jvm.dll",
     "[class com/example/App]\nmain.step = sleep 300\nsecondaryMain = int\nsecondaryMain.result = 5\n"
     "secondaryMain.step = out secondary\n",
     childSecondary},
    {L"create-fails", L"jvm-no-default-init-args.dll", "[vm]\ncreate = -6\nbogus = 1\n", childCreateFails},
    {L"jar", L"jvm.dll",
     "[class com/example/App]\n[jar APP.JAR]\nmanifest = Main-Class: com.example.App\\r\\n\n"
     "[module app.mod]\nmainClass = com.example.App\n",
     childJar},
};

const std::vector<std::string_view> problemLines = {"error ", "warning ", "unexpected ", "scenario error"};

int parent(const std::wstring& self, std::wstring dllFolder) {
    if (!dllFolder.empty() && dllFolder.back() != L'\\') dllFolder += L'\\';
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring root = std::wstring(temp) + L"jvm-double-selftest\\";
    CreateDirectoryW(root.c_str(), nullptr);


    int failed = 0;
    for (const Case& c : cases) {
        std::wstring folder = root + c.name + L"\\";
        Outcome o = run(self, c, dllFolder, folder);
        Verdict v(utf8(c.name));
        std::string name = utf8(c.name);
        v.expect(!o.events.empty() && o.events[0] == "loaded " + quoted(folder + L"jvm.dll"), "first line: loaded");
        if (name == "main") {
            v.expect(o.exitCode == 0, "exit code " + std::to_string(o.exitCode));
            v.inOrder(o, {"scenario " + quoted(folder + L"jvm.scenario"),
                          "JNI_GetDefaultJavaVMInitArgs version=0x00010001 javaStackSize=393216 -> -1",
                          "JNI_CreateJavaVM version=0x00010002 nOptions=4 ignoreUnrecognized=0",
                          "option 0 \"-Djava.class.path=C:\\\\app\\\\a.jar;\" extraInfo=null",
                          "option 1 \"-Dnote=Zoë\" extraInfo=null", "option 2 \"abort\" extraInfo=set",
                          "option 3 \"exit\" extraInfo=set", "env JL_JVM_PATH \"C:\\\\rt\\\\bin\\\\server\\\\jvm.dll\"",
                          "env JL_JVM_HOME unset", "JNI_CreateJavaVM -> 0",
                          "FindClass \"com/example/App\" -> class com/example/App",
                          "GetStaticMethodID class com/example/App \"main\" \"([Ljava/lang/String;)V\" -> "
                          "com/example/App.main([Ljava/lang/String;)V",
                          "CallStaticVoidMethodV com/example/App.main([Ljava/lang/String;)V [\"first\",\"Grüße 😀\",\"\"]",
                          "main out \"Hello from main\" -> stdout", "main err \"  Warnung: Größe\" -> stderr",
                          "main return", "CallStaticVoidMethodV -> void", "DetachCurrentThread -> 0 main",
                          "DestroyJavaVM", "DestroyJavaVM -> 0"});
            bool stackSeen = false;
            for (const auto& e : o.events)
                if (e.rfind("thread ", 0) == 0) {
                    stackSeen = true;
                    v.expect(e.ends_with(" stack=3145728"), "a 3 MiB commit reserves 3 MiB: " + e);
                }
            v.expect(stackSeen, "stack size logged");
            v.expect(o.out == "Hello from main\r\n", "stdout: " + o.out);
            v.expect(o.err == "  Warnung: Größe\r\n", "stderr: " + o.err);
            v.none(o, {"main out \"never", "error ", "warning ", "scenario error"});
        } else if (name == "exception") {
            v.expect(o.exitCode == 0, "exit code " + std::to_string(o.exitCode));
            v.inOrder(o, {"NewObject java/io/FileOutputStream.<init>(Ljava/lang/String;)V " +
                              quoted(folder + L"missing\\out.txt"),
                          "NewObject -> null, pending java/io/FileNotFoundException",
                          "System.setErr " + quoted(folder + L"err.txt"),
                          "CallStaticVoidMethod com/example/Boom.main([Ljava/lang/String;)V []",
                          "CallStaticVoidMethod -> void, pending java/lang/IllegalStateException",
                          "CallObjectMethodA -> \"java.lang.IllegalStateException: boom\\r\\n\\tat "
                          "com.example.Boom.main(Boom.java:7)\\r\\n\""});
            v.inOrder(o, {"FindClass \"com/example/Missing\" -> null, pending java/lang/NoClassDefFoundError",
                          "FindClass \"com/example/Broken\" -> null, pending java/lang/ExceptionInInitializerError",
                          "unexpected GetVersion", "DetachCurrentThread -> -1 main", "DestroyJavaVM -> 0"});
            std::string err = readFile(folder + L"err.txt");
            v.expect(err ==
                         "Exception in thread \"main\" java.lang.NoClassDefFoundError: com/example/Missing\r\n"
                         "Caused by: java.lang.ClassNotFoundException: com.example.Missing\r\n"
                         "Exception in thread \"main\" java.lang.NoSuchMethodError: secondaryMain\r\n",
                     "err.txt: " + err);
            v.none(o, {"error ", "warning ", "scenario error"});
        } else if (name == "exit") {
            v.expect(o.exitCode == 7, "exit code " + std::to_string(o.exitCode));
            // The background thread sleeps 500 ms: ample time for the child to reach DestroyJavaVM.
            v.inOrder(o, {"main out \"bye\" -> stdout", "background Thread-1", "CallStaticVoidMethodV -> void",
                          "DestroyJavaVM waiting for Thread-1", "Thread-1 exit 7", "System.exit 7", "exit hook 7",
                          "exit hook returned"});
            v.inOrder(o, {"Thread-1 sleep 500", "Thread-1 exit 7"});
            v.expect(o.out == "bye\r\ndestroying\nexit hook 7\n" || o.out == "bye\r\ndestroying\r\nexit hook 7\r\n",
                     "stdout: " + o.out);
            v.none(o, problemLines);
        } else if (name == "stop") {
            v.expect(o.exitCode == 0xFFFFFFFF, "exit code " + std::to_string(o.exitCode));
            v.inOrder(o, {"scenario none " + quoted(folder + L"jvm.scenario"), "JNI_CreateJavaVM -> 0",
                          "FindClass \"com/example/App\" -> null, pending java/lang/NoClassDefFoundError",
                          "CallStaticVoidMethodV java/lang/System.exit(I)V -1", "System.exit -1", "exit hook -1"});
            v.none(o, problemLines);
        } else if (name == "secondary") {
            v.expect(o.exitCode == 0, "exit code " + std::to_string(o.exitCode));
            std::string call = "CallStaticIntMethodV com/example/App.secondaryMain([Ljava/lang/String;)I "
                               "[\"--open\",\"C:\\\\Daten\\\\ä.txt\"]";
            v.inOrder(o, {"AttachCurrentThread args=null -> 0 Thread-1",
                          "GetStaticMethodID class com/example/App \"secondaryMain\" \"([Ljava/lang/String;)V\" -> "
                          "null, pending java/lang/NoSuchMethodError",
                          call, "secondaryMain out \"secondary\" -> stdout", "CallStaticIntMethodV -> 5",
                          "DetachCurrentThread -> 0 Thread-1"});
            v.expect(tidOf(o, call) != tidOf(o, "JNI_CreateJavaVM -> 0"), "secondaryMain runs on the attached thread");
            v.expect(tidOf(o, call) == tidOf(o, "CallStaticIntMethodV -> 5"), "its result on the same thread");
            v.inOrder(o, {"main sleep 300", call});  // concurrently with main
            v.none(o, problemLines);
        } else if (name == "create-fails") {
            v.expect(o.exitCode == 0, "exit code " + std::to_string(o.exitCode));
            v.inOrder(o, {"scenario error line 3: unknown key 'bogus' in [vm]", "option 0 \"-Xfoo\" extraInfo=null",
                          "JNI_CreateJavaVM -> -6"});
        } else if (name == "jar") {
            v.expect(o.exitCode == 1, "exit code " + std::to_string(o.exitCode));
            v.inOrder(o, {"NewObjectV -> null, pending java/io/FileNotFoundException",
                          "NewObjectV -> null, pending java/util/zip/ZipException", "CallIntMethodV -> 10",
                          "CallIntMethodV -> 10", "CallIntMethodV -> 9", "CallIntMethodV -> -1",
                          "CallIntMethodV -> 0, pending java/io/IOException",
                          "CallStaticObjectMethodV sun/launcher/LauncherHelper.checkAndLoadMain"
                          "(ZILjava/lang/String;)Ljava/lang/Class; true 3 \"app.mod\"",
                          "CallStaticObjectMethodV -> class com/example/App",
                          "CallObjectMethodV -> \"com.example.App\"", "System.exit 1", "exit hook 1"});
            v.expect(o.err.find("java.util.zip.ZipException: zip END header not found\r\n") != std::string::npos &&
                         o.err.ends_with("Error: Could not find or load main class com.example.Missing\r\n"
                                         "Caused by: java.lang.ClassNotFoundException: com.example.Missing\r\n"),
                     "stderr: " + o.err);
            v.none(o, problemLines);
        }
        v.expect(o.out.find("child check failed") == std::string::npos, "child: " + o.out);
        std::printf("%s %s\n", v.failures() ? "FAIL" : "PASS", name.c_str());
        failed += v.failures() ? 1 : 0;
    }
    std::printf("%d of %zu cases failed\n", failed, std::size(cases));
    return failed ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring self(MAX_PATH, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    if (argc == 4 && std::wstring_view(argv[1]) == L"--child") {
        std::wstring folder = std::wstring(argv[3]) + L"\\";
        for (const Case& c : cases)
            if (std::wstring_view(argv[2]) == c.name) c.child(folder);
        std::fflush(stdout);
        return childFailures ? 1 : 0;
    }
    return parent(self, argc > 1 ? argv[1] : self.substr(0, self.find_last_of(L'\\') + 1));
}
