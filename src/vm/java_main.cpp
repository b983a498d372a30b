#include "vm/java_main.h"

#include "vm/vm_hooks.h"

namespace {

// A module that cannot be resolved stops the VM inside its creation, through
// the abort hook, with the reason printed to a console a GUI process lacks.
class ModuleResolutionWatch final : public VmEventListener {
public:
    // Watches only a module launch.
    ModuleResolutionWatch(Messages& messages, const Text& module) : messages_(messages), module_(module) {}

    void exit(jint) override {}
    void abort() override { messages_.report(IDS_MODULE_NOT_RESOLVED, {module_}); }

private:
    Messages& messages_;
    Text module_;
    const VmEventListenerScope scope_{module_.empty() ? nullptr : this};
};

} // namespace

std::uint32_t runJavaMain(const JavaMainJob& job, JavaVmSlots& slots, FolderOperations& folders,
                          JavaMainActions& actions, Messages& messages) {
    if (job.beforeVmCreation) job.beforeVmCreation();
    {
        const ModuleResolutionWatch watch(messages, job.main.mainClass.module.module);
        if (!createJavaVm(job.createJavaVm, job.options, job.streams, folders, slots, messages)) return 1;
    }
    actions.beforeApplicationCode();
    return invokeMain(slots.vm, slots.env, job.main, actions, messages) ? 0 : 1;
}
