#pragma once
// Pointing the application's System.out and System.err at files. Only the Java
// streams change; the process's native standard handles stay as they are.

#include <jni.h>

#include "common/text.h"
#include "vm/folder_operations.h"

enum class StandardStream { Output, Error };

struct StandardStreamFiles {
    Text output;  // empty: System.out stays
    Text error;   // empty: System.err stays
};

// A new local reference to System.out or System.err; null when the VM gives none.
jobject systemStream(JNIEnv* env, StandardStream stream);

// Makes the PrintStream System.out or System.err; false (described) when the VM refuses.
bool setSystemStream(JNIEnv* env, jobject printStream, StandardStream stream);

class StreamRedirection {
public:
    explicit StreamRedirection(FolderOperations& folders) : folders_(folders) {}

    // Creates the file's missing folders, then creates or empties the file and
    // makes it the stream. False leaves the stream as it was, usually with the
    // VM's exception pending.
    bool redirect(JNIEnv* env, const Text& path, StandardStream stream) const;

private:
    FolderOperations& folders_;
};

// Standard output first, then standard error, each only when named. A failed
// redirection is described by the VM and passed over.
void redirectStandardStreams(JNIEnv* env, const StandardStreamFiles& files, FolderOperations& folders);
