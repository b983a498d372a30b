#pragma once
// The option records handed to JNI_CreateJavaVM.

#include <jni.h>

#include <string>
#include <vector>

#include "vm/vm_settings.h"

// The list's entries in order, then "abort" and "exit" carrying the hooks.
// The records point into strings held here.
class VmOptionRecords {
public:
    explicit VmOptionRecords(const VmOptionList& options);
    VmOptionRecords(const VmOptionRecords&) = delete;
    VmOptionRecords& operator=(const VmOptionRecords&) = delete;

    // Version 1.2; unrecognised options make creation fail.
    JavaVMInitArgs initArgs();
    const std::vector<JavaVMOption>& records() const { return records_; }

private:
    std::vector<std::string> strings_;
    std::vector<JavaVMOption> records_;
};
