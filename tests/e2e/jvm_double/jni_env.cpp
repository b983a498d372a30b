// The JNIEnv function table. Each implemented entry logs one line with its
// key arguments and result; calls into Java methods log the call, then what
// the method did, then "<function> -> <result>".

#include "event_log.h"
#include "text_codec.h"
#include "world.h"

#include <array>
#include <cstdarg>
#include <cstring>
#include <utility>

namespace jvm_double {
namespace {

constexpr const char* slotNames[] = {
#include "jni_slot_names.inc"
};
constexpr std::size_t slotCount = std::size(slotNames);
static_assert(sizeof(JNINativeInterface_) == slotCount * sizeof(void*), "jni.h and jni_slot_names.inc disagree");

// Entries that report a status return JNI_ERR when unexpected; all others
// return 0, which is null for the many that return a reference.
constexpr bool returnsStatus(std::string_view name) {
    return name == "Throw" || name == "ThrowNew" || name == "PushLocalFrame" || name == "EnsureLocalCapacity" ||
           name == "RegisterNatives" || name == "UnregisterNatives" || name == "MonitorEnter" ||
           name == "MonitorExit";
}

// Any argument list is accepted: on x64 the caller cleans up, and nothing is read.
template <std::size_t N>
jlong JNICALL unexpected(JNIEnv*, ...) {
    logEvent(std::string("unexpected ") + slotNames[N]);
    return returnsStatus(slotNames[N]) ? JNI_ERR : 0;
}

template <std::size_t... I>
std::array<void*, slotCount> unexpectedSlots(std::index_sequence<I...>) {
    return {reinterpret_cast<void*>(&unexpected<I>)...};
}

std::string pendingSuffix(const ThreadEnv& t) {
    return t.pending ? ", pending " + t.pending->klass->name : std::string();
}

std::string decodedName(const char* bytes, std::u16string& units) {
    if (!bytes) return "null";
    return fromModifiedUtf8(bytes, units) ? quote(units) : quoteBytes(bytes);
}

// --- classes and methods ----------------------------------------------------

jclass JNICALL FindClass(JNIEnv* env, const char* name) {
    World& w = world();
    World::Lock lock;
    ThreadEnv& t = w.enter(env, "FindClass", false, lock);
    std::u16string units;
    std::string shown = decodedName(name, units);
    std::string utf8 = utf16ToUtf8(units);
    Klass* klass = nullptr;
    const ClassSpec* declared = w.scenario().findClass(utf8);
    if (declared && declared->findClassError) {
        t.pending = w.newThrowable(*declared->findClassError);
    } else if (!(klass = w.findClass(utf8))) {
        std::string dotted = utf8;
        for (char& c : dotted)
            if (c == '/') c = '.';
        w.throwNew(t, "java/lang/NoClassDefFoundError", utf8 + "\nCaused by: java.lang.ClassNotFoundException: " + dotted);
    }
    logEvent("FindClass " + shown + " -> " + (klass ? "class " + klass->name : "null" + pendingSuffix(t)));
    return klass ? static_cast<jclass>(w.newRef(klass->mirror)) : nullptr;
}

jclass JNICALL GetObjectClass(JNIEnv* env, jobject obj) {
    World& w = world();
    World::Lock lock;
    w.enter(env, "GetObjectClass", false, lock);
    auto o = w.deref(obj, "GetObjectClass");
    if (!o) {
        logEvent("error GetObjectClass: null object");
        return nullptr;
    }
    logEvent("GetObjectClass " + w.describe(o, false) + " -> class " + o->klass->name);
    return static_cast<jclass>(w.newRef(o->klass->mirror));
}

jmethodID lookUpMethod(JNIEnv* env, jclass clazz, const char* name, const char* sig, bool isStatic) {
    const char* function = isStatic ? "GetStaticMethodID" : "GetMethodID";
    World& w = world();
    World::Lock lock;
    ThreadEnv& t = w.enter(env, function, false, lock);
    auto mirror = w.deref(clazz, function);
    std::u16string nameUnits, sigUnits;
    std::string line = std::string(function) + " " + (mirror ? w.describe(mirror, false) : "null") + " " +
                       decodedName(name, nameUnits) + " " + decodedName(sig, sigUnits) + " -> ";
    if (!mirror || mirror->kind != Kind::Mirror) {
        logEvent(std::string("error ") + function + ": not a class: " + w.describe(mirror, false));
        return nullptr;
    }
    const Method* m = mirror->type->find(utf16ToUtf8(nameUnits), utf16ToUtf8(sigUnits), isStatic);
    if (!m && w.scenario().methodNotFoundThrows) w.throwNew(t, "java/lang/NoSuchMethodError", utf16ToUtf8(nameUnits));
    logEvent(line + (m ? m->describe() : "null" + pendingSuffix(t)));
    return reinterpret_cast<jmethodID>(const_cast<Method*>(m));
}

jmethodID JNICALL GetMethodID(JNIEnv* env, jclass clazz, const char* name, const char* sig) {
    return lookUpMethod(env, clazz, name, sig, false);
}

jmethodID JNICALL GetStaticMethodID(JNIEnv* env, jclass clazz, const char* name, const char* sig) {
    return lookUpMethod(env, clazz, name, sig, true);
}

jfieldID JNICALL GetStaticFieldID(JNIEnv* env, jclass clazz, const char* name, const char* sig) {
    World& w = world();
    World::Lock lock;
    ThreadEnv& t = w.enter(env, "GetStaticFieldID", false, lock);
    auto mirror = w.deref(clazz, "GetStaticFieldID");
    std::u16string nameUnits, sigUnits;
    std::string line = "GetStaticFieldID " + w.describe(mirror, false) + " " + decodedName(name, nameUnits) + " " +
                       decodedName(sig, sigUnits) + " -> ";
    if (!mirror || mirror->kind != Kind::Mirror) {
        logEvent("error GetStaticFieldID: not a class: " + w.describe(mirror, false));
        return nullptr;
    }
    const Field* f = mirror->type->findStaticField(utf16ToUtf8(nameUnits), utf16ToUtf8(sigUnits));
    if (!f) w.throwNew(t, "java/lang/NoSuchFieldError", utf16ToUtf8(nameUnits));
    logEvent(line + (f ? f->describe() : "null" + pendingSuffix(t)));
    return reinterpret_cast<jfieldID>(const_cast<Field*>(f));
}

jobject JNICALL GetStaticObjectField(JNIEnv* env, jclass clazz, jfieldID id) {
    World& w = world();
    World::Lock lock;
    w.enter(env, "GetStaticObjectField", false, lock);
    auto mirror = w.deref(clazz, "GetStaticObjectField");
    const Field* f = w.field(id);
    if (!f) {
        logEvent("error GetStaticObjectField: invalid field id");
        return nullptr;
    }
    if (!mirror || mirror->kind != Kind::Mirror || !mirror->type->isA(f->owner->name)) {
        logEvent("error GetStaticObjectField: " + f->describe() + " read through " + w.describe(mirror, false));
        return nullptr;
    }
    auto value = w.staticValue(*f);
    logEvent("GetStaticObjectField " + f->describe() + " -> " + w.describe(value, false));
    return w.newRef(value);
}

// --- calls ------------------------------------------------------------------

std::vector<Arg> readArgs(const Method& m, va_list args) {
    std::vector<Arg> out;
    for (char p : m.params) {
        Arg a;
        switch (p) {
        case 'L': a.ref = va_arg(args, jobject); break;
        case 'J': a.integer = va_arg(args, jlong); break;
        case 'F':
        case 'D': a.real = va_arg(args, double); break;  // float is promoted
        default: a.integer = va_arg(args, int); break;   // so are boolean, byte, char, short
        }
        out.push_back(a);
    }
    return out;
}

std::vector<Arg> readArgs(const Method& m, const jvalue* args) {
    std::vector<Arg> out;
    for (std::size_t i = 0; i < m.params.size(); ++i) {
        Arg a;
        switch (m.params[i]) {
        case 'L': a.ref = args[i].l; break;
        case 'J': a.integer = args[i].j; break;
        case 'F': a.real = args[i].f; break;
        case 'D': a.real = args[i].d; break;
        case 'Z': a.integer = args[i].z; break;
        case 'B': a.integer = args[i].b; break;
        case 'C': a.integer = args[i].c; break;
        case 'S': a.integer = args[i].s; break;
        default: a.integer = args[i].i; break;
        }
        out.push_back(a);
    }
    return out;
}

Kind kindOf(const Klass& k) {
    if (k.isA("java/lang/String")) return Kind::String;
    if (k.isA("java/lang/Throwable")) return Kind::Throwable;
    if (k.isA("java/io/ByteArrayOutputStream")) return Kind::ByteStream;
    if (k.isA("java/io/FileOutputStream")) return Kind::FileStream;
    if (k.isA("java/io/PrintStream")) return Kind::PrintStream;
    if (k.isA("java/util/jar/JarFile")) return Kind::JarFile;
    return Kind::Plain;
}

enum class Form { Construct, Instance, Static };

struct CallResult {
    jint integer = 0;
    jobject ref = nullptr;
};

// One Java call. `expected` is the result letter of the Call<Type>Method
// family used: V, I or L. A void method may be called through the Object
// family (a real VM then gives null), so that is accepted without comment.
template <typename ReadArgs>
CallResult call(JNIEnv* env, const char* function, Form form, char expected, jobject target, jmethodID id,
                ReadArgs readArgsOf) {
    World& w = world();
    World::Lock lock;
    ThreadEnv& t = w.enter(env, function, false, lock);
    const Method* m = w.method(id);
    if (!m) {
        logEvent(std::string("error ") + function + ": invalid method id");
        return {};
    }
    std::vector<Arg> args = readArgsOf(*m);
    auto on = w.deref(target, function);
    std::string line = function;
    ObjectPtr self;
    std::string problem;
    if (form == Form::Instance) {
        line += " " + w.describe(on, false);
        self = on;
        if (m->isStatic) problem = "static method called as an instance method";
        else if (on && !on->klass->isA(m->owner->name)) problem = "receiver is not a " + m->owner->name;
    } else if (!on || on->kind != Kind::Mirror) {
        problem = "not a class";
    } else if (form == Form::Static) {
        if (!m->isStatic) problem = "instance method called as a static method";
        else if (!on->type->isA(m->owner->name)) problem = "method of another class";
    } else {
        if (m->name != "<init>" || m->owner != on->type) problem = "not a constructor of " + on->type->name;
        else self = w.newObject(*on->type, kindOf(*on->type));
    }
    if (!(m->result == expected || (expected == 'L' && m->result == 'V')))
        problem = std::string("result is ") + m->result + ", not " + expected;
    line += " " + m->describe();
    for (std::size_t i = 0; i < args.size(); ++i) {
        char p = m->params[i];
        line += " ";
        if (p == 'L') line += w.describe(w.deref(args[i].ref, function), true);
        else if (p == 'Z') line += args[i].integer ? "true" : "false";
        else if (p == 'F' || p == 'D') line += std::to_string(args[i].real);
        else line += std::to_string(args[i].integer);
    }
    logEvent(line);
    if (!problem.empty()) {
        logEvent(std::string("error ") + function + ": " + problem);
        return {};
    }
    if (form == Form::Instance && !self) {
        w.throwNew(t, "java/lang/NullPointerException", "");
        logEvent(std::string(function) + " -> " + (expected == 'I' ? "0" : "null") + pendingSuffix(t));
        return {};
    }
    World::Result r = w.invoke(t, *m, self, args, lock);
    if (form == Form::Construct) r.object = t.pending ? nullptr : self;
    std::string shown = expected == 'V' ? "void" : expected == 'I' ? std::to_string(r.integer) : w.describe(r.object, false);
    logEvent(std::string(function) + " -> " + shown + pendingSuffix(t));
    return {r.integer, w.newRef(r.object)};
}

#define JVM_DOUBLE_CALLS(Name, Form, Letter, Ret, Pick, Target)                                               \
    Ret JNICALL Name##V(JNIEnv* env, Target target, jmethodID id, va_list args) {                             \
        return Pick(call(env, #Name "V", Form, Letter, target, id,                                           \
                         [&](const Method& m) { return readArgs(m, args); }));                               \
    }                                                                                                          \
    Ret JNICALL Name##A(JNIEnv* env, Target target, jmethodID id, const jvalue* args) {                       \
        return Pick(call(env, #Name "A", Form, Letter, target, id,                                           \
                         [&](const Method& m) { return readArgs(m, args); }));                               \
    }                                                                                                          \
    Ret JNICALL Name(JNIEnv* env, Target target, jmethodID id, ...) {                                         \
        va_list args;                                                                                          \
        va_start(args, id);                                                                                    \
        auto r = call(env, #Name, Form, Letter, target, id, [&](const Method& m) { return readArgs(m, args); }); \
        va_end(args);                                                                                          \
        return Pick(r);                                                                                        \
    }

inline jobject pickRef(const CallResult& r) { return r.ref; }
inline jint pickInt(const CallResult& r) { return r.integer; }
inline void pickNothing(const CallResult&) {}

JVM_DOUBLE_CALLS(NewObject, Form::Construct, 'L', jobject, pickRef, jclass)
JVM_DOUBLE_CALLS(CallObjectMethod, Form::Instance, 'L', jobject, pickRef, jobject)
JVM_DOUBLE_CALLS(CallVoidMethod, Form::Instance, 'V', void, pickNothing, jobject)
JVM_DOUBLE_CALLS(CallStaticVoidMethod, Form::Static, 'V', void, pickNothing, jclass)
JVM_DOUBLE_CALLS(CallStaticIntMethod, Form::Static, 'I', jint, pickInt, jclass)
JVM_DOUBLE_CALLS(CallStaticObjectMethod, Form::Static, 'L', jobject, pickRef, jclass)
JVM_DOUBLE_CALLS(CallIntMethod, Form::Instance, 'I', jint, pickInt, jobject)

#undef JVM_DOUBLE_CALLS

// --- arrays and strings -----------------------------------------------------

jcharArray JNICALL NewCharArray(JNIEnv* env, jsize len) {
    World& w = world();
    World::Lock lock;
    ThreadEnv& t = w.enter(env, "NewCharArray", false, lock);
    ObjectPtr a;
    if (len < 0) {
        w.throwNew(t, "java/lang/NegativeArraySizeException", std::to_string(len));
    } else {
        a = w.newObject(w.arrayClass("[C"), Kind::CharArray);
        a->text.assign(static_cast<std::size_t>(len), u'\0');
    }
    logEvent("NewCharArray " + std::to_string(len) + " -> " + w.describe(a, false) + pendingSuffix(t));
    return static_cast<jcharArray>(w.newRef(a));
}

void JNICALL SetCharArrayRegion(JNIEnv* env, jcharArray array, jsize start, jsize len, const jchar* buf) {
    World& w = world();
    World::Lock lock;
    ThreadEnv& t = w.enter(env, "SetCharArrayRegion", false, lock);
    auto a = w.deref(array, "SetCharArrayRegion");
    std::u16string given;
    if (buf && len > 0) given.assign(reinterpret_cast<const char16_t*>(buf), static_cast<std::size_t>(len));
    std::string line = "SetCharArrayRegion " + w.describe(a, false) + " " + std::to_string(start) + " " +
                       std::to_string(len) + " " + quote(given);
    if (!a || a->kind != Kind::CharArray) {
        logEvent("error SetCharArrayRegion: not a char[]: " + w.describe(a, false));
        return;
    }
    if (start < 0 || len < 0 || static_cast<std::size_t>(start) + static_cast<std::size_t>(len) > a->text.size()) {
        w.throwNew(t, "java/lang/ArrayIndexOutOfBoundsException",
                   "Array region " + std::to_string(start) + ".." + std::to_string(static_cast<long long>(start) + len) +
                       " out of bounds for length " + std::to_string(a->text.size()));
    } else {
        a->text.replace(static_cast<std::size_t>(start), given.size(), given);
    }
    logEvent(line + pendingSuffix(t));
}

jbyteArray JNICALL NewByteArray(JNIEnv* env, jsize len) {
    World& w = world();
    World::Lock lock;
    ThreadEnv& t = w.enter(env, "NewByteArray", false, lock);
    ObjectPtr a;
    if (len < 0) {
        w.throwNew(t, "java/lang/NegativeArraySizeException", std::to_string(len));
    } else {
        a = w.newObject(w.arrayClass("[B"), Kind::ByteArray);
        a->bytes.assign(static_cast<std::size_t>(len), '\0');
    }
    logEvent("NewByteArray " + std::to_string(len) + " -> " + w.describe(a, false) + pendingSuffix(t));
    return static_cast<jbyteArray>(w.newRef(a));
}

void JNICALL GetByteArrayRegion(JNIEnv* env, jbyteArray array, jsize start, jsize len, jbyte* buf) {
    World& w = world();
    World::Lock lock;
    ThreadEnv& t = w.enter(env, "GetByteArrayRegion", false, lock);
    auto a = w.deref(array, "GetByteArrayRegion");
    std::string line =
        "GetByteArrayRegion " + w.describe(a, false) + " " + std::to_string(start) + " " + std::to_string(len);
    if (!a || a->kind != Kind::ByteArray) {
        logEvent("error GetByteArrayRegion: not a byte[]: " + w.describe(a, false));
        return;
    }
    if (start < 0 || len < 0 || static_cast<std::size_t>(start) + static_cast<std::size_t>(len) > a->bytes.size()) {
        w.throwNew(t, "java/lang/ArrayIndexOutOfBoundsException",
                   "Array region " + std::to_string(start) + ".." + std::to_string(static_cast<long long>(start) + len) +
                       " out of bounds for length " + std::to_string(a->bytes.size()));
    } else if (len > 0) {
        std::memcpy(buf, a->bytes.data() + start, static_cast<std::size_t>(len));
    }
    logEvent(line + pendingSuffix(t));
}

jobjectArray JNICALL NewObjectArray(JNIEnv* env, jsize len, jclass clazz, jobject init) {
    World& w = world();
    World::Lock lock;
    ThreadEnv& t = w.enter(env, "NewObjectArray", false, lock);
    auto mirror = w.deref(clazz, "NewObjectArray");
    auto initial = w.deref(init, "NewObjectArray");
    std::string line = "NewObjectArray " + std::to_string(len) + " " + w.describe(mirror, false) + " " +
                       w.describe(initial, false) + " -> ";
    if (!mirror || mirror->kind != Kind::Mirror) {
        logEvent("error NewObjectArray: not a class: " + w.describe(mirror, false));
        return nullptr;
    }
    ObjectPtr a;
    if (len < 0) {
        w.throwNew(t, "java/lang/NegativeArraySizeException", std::to_string(len));
    } else {
        a = w.newObject(w.arrayClass("[L" + mirror->type->name + ";"), Kind::ObjectArray);
        a->type = mirror->type;
        a->elements.assign(static_cast<std::size_t>(len), initial);
    }
    logEvent(line + w.describe(a, false) + pendingSuffix(t));
    return static_cast<jobjectArray>(w.newRef(a));
}

void JNICALL SetObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index, jobject val) {
    World& w = world();
    World::Lock lock;
    ThreadEnv& t = w.enter(env, "SetObjectArrayElement", false, lock);
    auto a = w.deref(array, "SetObjectArrayElement");
    auto v = w.deref(val, "SetObjectArrayElement");
    std::string line =
        "SetObjectArrayElement " + w.describe(a, false) + " " + std::to_string(index) + " " + w.describe(v, false);
    if (!a || a->kind != Kind::ObjectArray) {
        logEvent("error SetObjectArrayElement: not an object array: " + w.describe(a, false));
        return;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= a->elements.size()) {
        w.throwNew(t, "java/lang/ArrayIndexOutOfBoundsException",
                   "Index " + std::to_string(index) + " out of bounds for length " + std::to_string(a->elements.size()));
    } else if (v && !v->klass->isA(a->type->name)) {
        w.throwNew(t, "java/lang/ArrayStoreException", v->klass->name);
    } else {
        a->elements[static_cast<std::size_t>(index)] = v;
    }
    logEvent(line + pendingSuffix(t));
}

void JNICALL DeleteLocalRef(JNIEnv* env, jobject ref) {
    World& w = world();
    World::Lock lock;
    w.enter(env, "DeleteLocalRef", true, lock);
    if (!ref) {
        logEvent("DeleteLocalRef null");
        return;
    }
    auto o = w.deref(ref, "DeleteLocalRef");
    if (o) {
        logEvent("DeleteLocalRef " + w.describe(o, false));
        w.deleteRef(ref);
    }
}

const char* JNICALL GetStringUTFChars(JNIEnv* env, jstring str, jboolean* isCopy) {
    World& w = world();
    World::Lock lock;
    w.enter(env, "GetStringUTFChars", false, lock);
    auto s = w.deref(str, "GetStringUTFChars");
    if (!s || s->kind != Kind::String) {
        logEvent("error GetStringUTFChars: not a string: " + w.describe(s, false));
        return nullptr;
    }
    std::string bytes = toModifiedUtf8(s->text);
    logEvent("GetStringUTFChars " + quote(s->text) + " -> " + std::to_string(bytes.size()) + " bytes");
    if (isCopy) *isCopy = JNI_TRUE;
    return w.keepUtfChars(std::move(bytes));
}

void JNICALL ReleaseStringUTFChars(JNIEnv* env, jstring str, const char* chars) {
    World& w = world();
    World::Lock lock;
    w.enter(env, "ReleaseStringUTFChars", true, lock);
    auto s = w.deref(str, "ReleaseStringUTFChars");
    logEvent("ReleaseStringUTFChars " + w.describe(s, false));
    if (!w.releaseUtfChars(chars)) logEvent("error ReleaseStringUTFChars: chars not from GetStringUTFChars");
}

// --- exceptions -------------------------------------------------------------

jthrowable JNICALL ExceptionOccurred(JNIEnv* env) {
    World& w = world();
    World::Lock lock;
    ThreadEnv& t = w.enter(env, "ExceptionOccurred", true, lock);
    logEvent("ExceptionOccurred -> " + w.describe(t.pending, false));
    return static_cast<jthrowable>(w.newRef(t.pending));
}

void JNICALL ExceptionDescribe(JNIEnv* env) {
    World& w = world();
    World::Lock lock;
    ThreadEnv& t = w.enter(env, "ExceptionDescribe", true, lock);
    std::string described = w.describeException(t);
    logEvent("ExceptionDescribe " + (described.empty() ? std::string("nothing pending") : described));
}

jboolean JNICALL ExceptionCheck(JNIEnv* env) {
    World& w = world();
    World::Lock lock;
    ThreadEnv& t = w.enter(env, "ExceptionCheck", true, lock);
    logEvent(std::string("ExceptionCheck -> ") + (t.pending ? "true" : "false"));
    return t.pending ? JNI_TRUE : JNI_FALSE;
}

void JNICALL ExceptionClear(JNIEnv* env) {
    World& w = world();
    World::Lock lock;
    ThreadEnv& t = w.enter(env, "ExceptionClear", true, lock);
    logEvent("ExceptionClear " + (t.pending ? w.describe(t.pending, false) : std::string("nothing pending")));
    t.pending.reset();
}

}  // namespace

const JNINativeInterface_* envFunctions() {
    static const JNINativeInterface_ table = [] {
        JNINativeInterface_ t;
        auto stubs = unexpectedSlots(std::make_index_sequence<slotCount>());
        std::memcpy(&t, stubs.data(), sizeof t);
        t.FindClass = &FindClass;
        t.GetObjectClass = &GetObjectClass;
        t.GetMethodID = &GetMethodID;
        t.GetStaticMethodID = &GetStaticMethodID;
        t.NewObject = &NewObject;
        t.NewObjectV = &NewObjectV;
        t.NewObjectA = &NewObjectA;
        t.CallObjectMethod = &CallObjectMethod;
        t.CallObjectMethodV = &CallObjectMethodV;
        t.CallObjectMethodA = &CallObjectMethodA;
        t.CallVoidMethod = &CallVoidMethod;
        t.CallVoidMethodV = &CallVoidMethodV;
        t.CallVoidMethodA = &CallVoidMethodA;
        t.CallStaticVoidMethod = &CallStaticVoidMethod;
        t.CallStaticVoidMethodV = &CallStaticVoidMethodV;
        t.CallStaticVoidMethodA = &CallStaticVoidMethodA;
        t.CallStaticIntMethod = &CallStaticIntMethod;
        t.CallStaticIntMethodV = &CallStaticIntMethodV;
        t.CallStaticIntMethodA = &CallStaticIntMethodA;
        t.CallStaticObjectMethod = &CallStaticObjectMethod;
        t.CallStaticObjectMethodV = &CallStaticObjectMethodV;
        t.CallStaticObjectMethodA = &CallStaticObjectMethodA;
        t.CallIntMethod = &CallIntMethod;
        t.CallIntMethodV = &CallIntMethodV;
        t.CallIntMethodA = &CallIntMethodA;
        t.GetStaticFieldID = &GetStaticFieldID;
        t.GetStaticObjectField = &GetStaticObjectField;
        t.NewByteArray = &NewByteArray;
        t.GetByteArrayRegion = &GetByteArrayRegion;
        t.ExceptionCheck = &ExceptionCheck;
        t.NewCharArray = &NewCharArray;
        t.SetCharArrayRegion = &SetCharArrayRegion;
        t.NewObjectArray = &NewObjectArray;
        t.SetObjectArrayElement = &SetObjectArrayElement;
        t.DeleteLocalRef = &DeleteLocalRef;
        t.GetStringUTFChars = &GetStringUTFChars;
        t.ReleaseStringUTFChars = &ReleaseStringUTFChars;
        t.ExceptionOccurred = &ExceptionOccurred;
        t.ExceptionDescribe = &ExceptionDescribe;
        t.ExceptionClear = &ExceptionClear;
        return t;
    }();
    return &table;
}

}  // namespace jvm_double
