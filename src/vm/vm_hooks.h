#pragma once
// The "exit" and "abort" hooks handed to the VM. They can run on any VM
// thread and reach the launcher only through one process-wide listener
// reference; with no listener the VM goes on with its own exit or abort.

#include <jni.h>

class VmEventListener {
public:
    virtual ~VmEventListener() = default;
    virtual void exit(jint code) = 0;
    virtual void abort() = 0;
};

// Installs the listener the hooks call (null removes it) and returns the one
// it replaces; the caller keeps it alive for as long as the VM may call the hooks.
VmEventListener* setVmEventListener(VmEventListener* listener);

// Installs a listener for as long as it lives, then the one before it again;
// null installs none.
class VmEventListenerScope {
public:
    explicit VmEventListenerScope(VmEventListener* listener) : installed_(listener != nullptr) {
        if (installed_) previous_ = setVmEventListener(listener);
    }
    VmEventListenerScope(const VmEventListenerScope&) = delete;
    VmEventListenerScope& operator=(const VmEventListenerScope&) = delete;
    ~VmEventListenerScope() {
        if (installed_) setVmEventListener(previous_);
    }
    // The listener this one replaced, for events it leaves to it.
    VmEventListener* previous() const { return previous_; }

private:
    bool installed_;
    VmEventListener* previous_ = nullptr;
};

void JNICALL vmExitHook(jint code);
void JNICALL vmAbortHook();
