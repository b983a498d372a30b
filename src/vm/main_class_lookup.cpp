#include "vm/main_class_lookup.h"

#include <optional>

#include "vm/jar_main_class.h"
#include "vm/jni_calls.h"
#include "vm/jni_strings.h"
#include "vm/launcher_helper.h"

namespace {

jclass findNamedClass(JNIEnv* env, const Text& name, Messages& messages) {
    const LocalRef<jstring> javaName(env, newJavaString(env, name));
    if (!javaName) {
        messages.report(IDS_MAIN_CLASS_LOAD_FAILED, {name});
        return nullptr;
    }
    const JavaUtfChars bytes(env, javaName.get());
    if (!bytes.bytes()) {
        describePendingException(env);
        return nullptr;
    }
    const jclass found = env->FindClass(bytes.bytes());
    if (!found) {
        describePendingException(env);
        messages.report(IDS_MAIN_CLASS_NOT_FOUND, {bytes.text()});
    }
    return found;
}

// The manifest's class, or nothing with the reason reported.
std::optional<Text> manifestClass(JNIEnv* env, const Text& jar, Messages& messages) {
    const JarMainClass read = readJarMainClass(env, jar);
    switch (read.result) {
    case JarMainClass::Result::Found:
        return read.value;
    case JarMainClass::Result::NotOpened:
        messages.report(IDS_MAIN_JAR_NOT_OPENED, {jar, read.value});
        break;
    case JarMainClass::Result::NoManifest:
        messages.report(IDS_MAIN_JAR_NO_MANIFEST, {jar});
        break;
    case JarMainClass::Result::NoMainClass:
        messages.report(IDS_MAIN_JAR_NO_MAIN_CLASS, {jar});
        break;
    }
    return std::nullopt;
}

jclass classFromJar(JNIEnv* env, const Text& jar, JavaMainActions& actions, Messages& messages) {
    // Read in every case: it gives the launcher's own messages for a jar
    // without a manifest or main class, and the class where no helper applies the rest.
    const std::optional<Text> named = manifestClass(env, jar, messages);
    if (!named) return nullptr;
    const HelperLookup helper = loadMainThroughHelper(env, HelperMode::Jar, jar, actions, messages);
    return helper.available ? helper.mainClass : findNamedClass(env, named->replaced(u'.', u'/'), messages);
}

jclass classFromModule(JNIEnv* env, const ModuleName& module, JavaMainActions& actions, Messages& messages) {
    const HelperLookup helper =
        loadMainThroughHelper(env, HelperMode::Module, moduleArgument(module), actions, messages);
    if (!helper.available) messages.report(IDS_MODULES_NEED_JAVA_9, {module.module});
    return helper.mainClass;
}

void tellClassName(JNIEnv* env, jclass found, JavaMainActions& actions) {
    const LocalRef<jstring> name(env, static_cast<jstring>(callObjectMethod(env, found, "java/lang/Class", "getName",
                                                                            "()Ljava/lang/String;")));
    const auto text = name ? javaStringText(env, name.get()) : std::nullopt;
    env->ExceptionClear();
    if (text) actions.mainClassFound(text->replaced(u'.', u'/'));
}

} // namespace

jclass lookUpMainClass(JNIEnv* env, const MainClassSource& source, JavaMainActions& actions, Messages& messages) {
    if (!source.className.empty()) return findNamedClass(env, source.className, messages);
    const jclass found = source.module.module.empty() ? classFromJar(env, source.jar, actions, messages)
                                               : classFromModule(env, source.module, actions, messages);
    if (found) tellClassName(env, found, actions);
    return found;
}
