#pragma once
// Finding the class whose main starts the application: by its name, from a
// jar's manifest, or from a module.

#include <jni.h>

#include "common/messages.h"
#include "vm/main_invocation.h"

// A new local reference; null when there is none (reported). A class the jar
// or module named is passed to mainClassFound.
jclass lookUpMainClass(JNIEnv* env, const MainClassSource& source, JavaMainActions& actions, Messages& messages);
