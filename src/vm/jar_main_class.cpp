#include "vm/jar_main_class.h"

#include <optional>
#include <string>

#include "vm/jni_calls.h"
#include "vm/jni_strings.h"
#include "vm/manifest_text.h"

namespace {

// Manifests are a few hundred bytes; this bounds what a hostile jar can make us hold.
constexpr std::size_t kManifestLimit = 1 << 20;
constexpr jsize kChunk = 8192;

struct ManifestBytes {
    bool present = false;
    std::string bytes;
    Text failure;  // set when reading failed
};

std::string readStream(JNIEnv* env, jobject stream, Text& failure) {
    std::string bytes;
    const LocalRef<jclass> type(env, env->FindClass("java/io/InputStream"));
    const jmethodID read = type ? env->GetMethodID(type.get(), "read", "([BII)I") : nullptr;
    const LocalRef<jbyteArray> chunk(env, read ? env->NewByteArray(kChunk) : nullptr);
    while (chunk && bytes.size() < kManifestLimit) {
        const jint count = env->CallIntMethod(stream, read, chunk.get(), 0, kChunk);
        if (env->ExceptionCheck() || count < 0 || count > kChunk) break;
        const std::size_t start = bytes.size();
        bytes.resize(start + static_cast<std::size_t>(count));
        env->GetByteArrayRegion(chunk.get(), 0, count, reinterpret_cast<jbyte*>(bytes.data() + start));
    }
    failure = takePendingExceptionText(env);
    if (!chunk && failure.empty()) failure = Text(u"java.io.InputStream");
    return bytes;
}

ManifestBytes readManifest(JNIEnv* env, jobject jarFile) {
    ManifestBytes manifest;
    const LocalRef<jstring> name(env, newJavaString(env, Text(u"META-INF/MANIFEST.MF")));
    const LocalRef<jobject> entry(env, name ? callObjectMethod(env, jarFile, "java/util/jar/JarFile", "getJarEntry",
                                                                "(Ljava/lang/String;)Ljava/util/jar/JarEntry;",
                                                                name.get())
                                            : nullptr);
    if (!entry) {
        manifest.failure = takePendingExceptionText(env);
        return manifest;
    }
    manifest.present = true;
    const LocalRef<jobject> stream(env, callObjectMethod(env, jarFile, "java/util/zip/ZipFile", "getInputStream",
                                                         "(Ljava/util/zip/ZipEntry;)Ljava/io/InputStream;",
                                                         entry.get()));
    if (!stream) {
        manifest.failure = takePendingExceptionText(env);
        return manifest;
    }
    manifest.bytes = readStream(env, stream.get(), manifest.failure);
    callVoidMethodQuietly(env, stream.get(), "java/io/InputStream", "close");
    return manifest;
}

} // namespace

JarMainClass readJarMainClass(JNIEnv* env, const Text& jar) {
    using Result = JarMainClass::Result;
    const LocalRef<jstring> name(env, newJavaString(env, jar));
    const LocalRef<jobject> jarFile(
        env, name ? newObject(env, "java/util/jar/JarFile", "(Ljava/lang/String;)V", name.get()) : nullptr);
    if (!jarFile) return {Result::NotOpened, takePendingExceptionText(env)};
    const ManifestBytes manifest = readManifest(env, jarFile.get());
    callVoidMethodQuietly(env, jarFile.get(), "java/util/zip/ZipFile", "close");
    if (!manifest.failure.empty()) return {Result::NotOpened, manifest.failure};
    if (!manifest.present) return {Result::NoManifest, Text()};
    const std::optional<Text> mainClass = manifestMainClass(manifest.bytes);
    if (!mainClass) return {Result::NoMainClass, Text()};
    return {Result::Found, *mainClass};
}
