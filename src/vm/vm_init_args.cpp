#include "vm/vm_init_args.h"

#include "vm/vm_hooks.h"

VmOptionRecords::VmOptionRecords(const VmOptionList& options) : strings_(options) {
    strings_.emplace_back("abort");
    strings_.emplace_back("exit");
    records_.reserve(strings_.size());
    for (std::string& option : strings_) records_.push_back({option.data(), nullptr});
    // A function address travels as extraInfo; the VM casts it back to the hook's type.
    records_[records_.size() - 2].extraInfo = reinterpret_cast<void*>(&vmAbortHook);
    records_.back().extraInfo = reinterpret_cast<void*>(&vmExitHook);
}

JavaVMInitArgs VmOptionRecords::initArgs() {
    JavaVMInitArgs args{};
    args.version = JNI_VERSION_1_2;
    args.nOptions = static_cast<jint>(records_.size());
    args.options = records_.data();
    args.ignoreUnrecognized = JNI_FALSE;
    return args;
}
