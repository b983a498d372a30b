#include "vm/java_main.h"

std::uint32_t runJavaMain(const JavaMainJob& job, JavaVmSlots& slots, FolderOperations& folders,
                          JavaMainActions& actions, Messages& messages) {
    if (!createJavaVm(job.createJavaVm, job.options, job.streams, folders, slots, messages)) return 1;
    return invokeMain(slots.vm, slots.env, job.main, actions, messages) ? 0 : 1;
}
