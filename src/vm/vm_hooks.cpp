#include "vm/vm_hooks.h"

#include <atomic>

namespace {

// The one process-wide reference the hooks need: the VM calls them with no
// context argument. Atomic because any VM thread may read it.
std::atomic<VmEventListener*> installedListener{nullptr};

} // namespace

VmEventListener* setVmEventListener(VmEventListener* listener) { return installedListener.exchange(listener); }

void JNICALL vmExitHook(jint code) {
    if (VmEventListener* listener = installedListener.load()) listener->exit(code);
}

void JNICALL vmAbortHook() {
    if (VmEventListener* listener = installedListener.load()) listener->abort();
}
