#include "vm/vm_creation.h"

#include "vm/jdk11_init_args.h"

bool createJavaVm(CreateJavaVmFunction create, const VmOptionList& options, const StandardStreamFiles& streams,
                  FolderOperations& folders, JavaVmSlots& slots, Messages& messages) {
    VmOptionRecords records(options);
    JavaVMInitArgs args = records.initArgs();
    void* env = nullptr;
    const jint result = create(&slots.vm, &env, &args);
    if (result != JNI_OK) {
        const TextId reason = vmCreationReasonId(result);
        messages.report(IDS_JNI_EXCEPTION_REASON,
                        {messages.text(IDS_VM_CREATION_FAILED), reason ? messages.text(reason) : Text()});
        slots = {};
        return false;
    }
    slots.env = static_cast<JNIEnv*>(env);
    redirectStandardStreams(slots.env, streams, folders);
    return true;
}

TextId vmCreationReasonId(jint result) {
    switch (result) {
    case JNI_ERR: return IDS_REASON_UNKNOWN;
    case JNI_EDETACHED: return IDS_REASON_DETACHED;
    case JNI_EVERSION: return IDS_REASON_VERSION;
    case JNI_ENOMEM: return IDS_REASON_NO_MEMORY;
    case JNI_EEXIST: return IDS_REASON_EXISTS;
    case JNI_EINVAL: return IDS_REASON_INVALID;
    default: return 0;
    }
}

std::uint64_t defaultJavaStackSize(GetDefaultJavaVmInitArgsFunction getDefaults) {
    // Only javaStackSize is read, whatever the call returns: VMs that no
    // longer support version 1.1 still fill it in.
    JDK1_1InitArgs args{};
    args.version = JNI_VERSION_1_1;
    getDefaults(&args);
    return args.javaStackSize > 0 ? static_cast<std::uint64_t>(args.javaStackSize) : 0;
}
