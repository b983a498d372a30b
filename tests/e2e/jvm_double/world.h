#pragma once
// The miniature Java world behind the double's JNI tables: classes, objects
// and local references, per-thread pending exceptions, System.out/err, the
// application classes of the scenario and the VM's life cycle. One mutex
// guards all of it; application code (the scenario's steps) runs without it.

#include <jni.h>
#include <windows.h>

#include "scenario.h"

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace jvm_double {

enum class Behaviour {
    ObjectInit,
    ObjectToString,
    StringFromChars,
    PrintStackTraceTo,
    PrintStackTrace,
    ByteStreamInit,
    FileStreamInit,
    PrintStreamInit,
    SystemSetOut,
    SystemSetErr,
    SystemExit,
    PrintStreamPrint,
    Close,
    ClassGetName,
    JarFileInit,
    JarGetEntry,
    ZipGetInputStream,
    StreamRead,
    CheckAndLoadMain,
    AppMain,
    AppSecondaryMain,
    AppStatic,
};

struct Klass;

struct Method {
    const Klass* owner = nullptr;
    std::string name;
    std::string signature;
    bool isStatic = false;
    Behaviour behaviour = Behaviour::ObjectInit;
    std::string params;  // one letter per parameter: Z B C S I J F D, L for any reference
    char result = 'V';   // V, a primitive letter, or L for any reference

    std::string describe() const;  // java/lang/System.exit(I)V
};

// The static fields the double offers: System.out and System.err.
struct Field {
    const Klass* owner = nullptr;
    std::string name;
    std::string signature;

    std::string describe() const;  // java/lang/System.err
};

struct Object;
using ObjectPtr = std::shared_ptr<Object>;

struct Klass {
    std::string name;
    const Klass* super = nullptr;
    std::vector<std::unique_ptr<Method>> methods;
    std::vector<std::unique_ptr<Field>> staticFields;
    const ClassSpec* declared = nullptr;  // application classes only
    ObjectPtr mirror;                 // the java/lang/Class object FindClass hands out

    bool isA(std::string_view other) const;
    const Method* find(std::string_view name, std::string_view signature, bool isStatic) const;
    const Field* findStaticField(std::string_view name, std::string_view signature) const;
};

class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(HANDLE h) : h_(h) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { reset(); }
    HANDLE get() const { return h_; }
    void reset(HANDLE h = INVALID_HANDLE_VALUE) {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

enum class Kind {
    Mirror, Plain, String, CharArray, ByteArray, ObjectArray, Throwable, ByteStream, FileStream, StdStream, PrintStream,
    JarFile, JarEntry, InputStream
};

struct Object {
    long id = 0;
    const Klass* klass = nullptr;
    Kind kind = Kind::Plain;
    const Klass* type = nullptr;     // Mirror: the class it stands for; ObjectArray: the element class
    std::u16string text;             // String and char[] contents; a Throwable's stack trace
    std::vector<ObjectPtr> elements; // Object[]
    std::string bytes;               // ByteArrayOutputStream, byte[] and InputStream contents
    std::u16string path;             // FileOutputStream, JarFile
    FileHandle file;
    DWORD stdHandle = 0;             // StdStream: STD_OUTPUT_HANDLE or STD_ERROR_HANDLE
    ObjectPtr target;                // PrintStream: the stream it writes to; JarEntry: its JarFile
    const JarSpec* jar = nullptr;    // JarFile: what the scenario says of it (null: no entries)
    std::string failure;             // InputStream: the stack trace read() throws
    std::size_t position = 0;        // InputStream: bytes read so far
    bool closed = false;             // streams and jar files
};

// One per thread that the VM knows. JNIEnv_ is its base so that the JNIEnv*
// handed out converts back with a static_cast.
struct ThreadEnv : JNIEnv_ {
    DWORD tid = 0;
    std::string name;  // the Java thread name: "main", "Thread-1", ...
    bool attached = true;
    bool daemon = false;
    ObjectPtr pending;
};

// One argument of a Java call, taken from a va_list or a jvalue array.
struct Arg {
    jlong integer = 0;
    double real = 0;
    jobject ref = nullptr;
};

class World {
public:
    using Lock = std::unique_lock<std::mutex>;

    // Reads the scenario once; later calls do nothing.
    void loadScenario(const std::wstring& path);
    const Scenario& scenario() const { return scenario_; }

    // Every JNIEnv entry starts here: takes the lock, finds the calling
    // thread's state and logs misuse (another thread's env, a detached env,
    // a call that JNI forbids while an exception is pending).
    ThreadEnv& enter(JNIEnv* env, const char* function, bool allowedWithPending, Lock& lock);

    // VM life cycle (callers hold the lock).
    bool created() const { return created_; }
    bool destroyed() const { return destroyed_; }
    ThreadEnv& createMainThread(DWORD tid);
    void setHooks(void* exitHook, void* abortHook);
    ThreadEnv* attach(DWORD tid, bool daemon, const char* name);
    ThreadEnv* current(DWORD tid);
    void detach(ThreadEnv& thread);
    // DestroyJavaVM: waits until no non-daemon thread other than the caller is left.
    void destroy(Lock& lock);

    // References (callers hold the lock). A deleted or unknown reference is
    // logged as an error and reads as null.
    jobject newRef(const ObjectPtr& object);
    ObjectPtr deref(jobject ref, const char* function);
    bool deleteRef(jobject ref);

    Lock guard() { return Lock(mutex_); }

    Klass* findClass(std::string_view name);  // builtin, application or thrown class; null if none
    Klass& throwableClass(std::string_view name);
    Klass& arrayClass(std::string_view descriptor);  // "[C", "[Ljava/lang/String;"
    ObjectPtr newObject(const Klass& klass, Kind kind);
    ObjectPtr newString(std::u16string text);
    ObjectPtr newThrowable(std::string_view trace);  // UTF-8, \n between lines
    void throwNew(ThreadEnv& thread, std::string_view className, std::string_view message);

    // The method behind an id, or null when the id is not one the double gave out.
    const Method* method(jmethodID id) const;
    const Field* field(jfieldID id) const;
    ObjectPtr staticValue(const Field& field) const;

    // Log text for an object: strings quoted, classes as "class <name>",
    // arrays as <element class>[n]@id or, expanded, as ["a","b"], others as <class>@id.
    std::string describe(const ObjectPtr& object, bool expandArrays) const;

    // Runs a Java method with its arguments. Called with the lock held; the
    // lock is released while application code runs. Sets the thread's pending
    // exception when the method throws.
    struct Result {
        jint integer = 0;
        ObjectPtr object;
    };
    Result invoke(ThreadEnv& thread, const Method& method, const ObjectPtr& self, const std::vector<Arg>& args,
                  Lock& lock);

    // Prints the pending exception as an uncaught one to System.err and clears
    // it; returns "<exception> -> <where it went>", or nothing when none is pending.
    std::string describeException(ThreadEnv& thread);

    // The boot layer cannot resolve the main module: the VM prints why and
    // aborts inside JNI_CreateJavaVM. Called without the lock.
    [[noreturn]] void failBootLayer(const std::string& module);

    // Modified UTF-8 buffers handed out by GetStringUTFChars.
    const char* keepUtfChars(std::string bytes);
    bool releaseUtfChars(const char* chars);

private:
    void defineBuiltins();
    Klass& defineClass(std::string name, const Klass* super);
    void addMethod(Klass& klass, std::string name, std::string signature, bool isStatic, Behaviour behaviour);
    void addStaticField(Klass& klass, std::string name, std::string signature);
    void openJar(ThreadEnv& thread, const ObjectPtr& self, const ObjectPtr& name);
    Result checkAndLoadMain(ThreadEnv& thread, const std::vector<Arg>& args, Lock& lock);
    std::string threadName();

    void println(const ObjectPtr& printStream, std::u16string_view text);
    void close(const ObjectPtr& stream);
    void writeBytes(const ObjectPtr& stream, std::string_view bytes);
    std::string describeSink(const ObjectPtr& printStream) const;
    // The next two are called without the lock and end the process.
    [[noreturn]] void systemExit(jint status);
    [[noreturn]] void abortVm();
    // Runs scenario steps, without the lock, for `who` ("main", "secondaryMain", a thread name).
    void runSteps(ThreadEnv& thread, const std::string& who, const std::vector<Step>& steps, std::size_t from);
    void startBackground(const std::vector<Step>& steps, std::size_t from);
    jint secondaryResult(const ClassSpec& declared, const std::vector<Arg>& args);
    ThreadEnv& addThread(DWORD tid, std::string name, bool daemon);

    std::mutex mutex_;
    std::condition_variable threadEnded_;
    bool scenarioLoaded_ = false;
    Scenario scenario_;
    std::map<std::string, std::unique_ptr<Klass>, std::less<>> classes_;
    std::vector<ObjectPtr> refs_;
    long nextObjectId_ = 1;
    std::vector<std::unique_ptr<ThreadEnv>> threads_;  // kept after detaching: a stale env stays readable
    int nextThreadNumber_ = 1;
    bool created_ = false;
    bool destroyed_ = false;
    ObjectPtr systemOut_;
    ObjectPtr systemErr_;
    void(JNICALL* exitHook_)(jint) = nullptr;
    void(JNICALL* abortHook_)() = nullptr;
    std::map<const char*, std::unique_ptr<std::string>> utfChars_;
};

World& world();

// Waits up to two minutes for the file to exist; false when it never came.
bool waitForFile(const std::string& utf8Path);

// The JNIEnv function table: every slot, with the unimplemented ones logging
// "unexpected <name>".
const JNINativeInterface_* envFunctions();

}  // namespace jvm_double
