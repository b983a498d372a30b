#pragma once
// The main class a jar's manifest names, read through the runtime's own
// java.util.jar.JarFile, so that the launcher needs no zip reader.

#include <jni.h>

#include "common/text.h"

struct JarMainClass {
    enum class Result { Found, NotOpened, NoManifest, NoMainClass };
    Result result = Result::NotOpened;
    Text value;  // Found: the class as the manifest writes it; NotOpened: the runtime's reason
};

// No exception is left pending.
JarMainClass readJarMainClass(JNIEnv* env, const Text& jar);
