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

// Installs the listener the hooks call (null removes it); the caller keeps it
// alive for as long as the VM may call the hooks.
void setVmEventListener(VmEventListener* listener);

// Installs a listener for as long as it lives; null installs none.
class VmEventListenerScope {
public:
    explicit VmEventListenerScope(VmEventListener* listener) : installed_(listener != nullptr) {
        if (installed_) setVmEventListener(listener);
    }
    VmEventListenerScope(const VmEventListenerScope&) = delete;
    VmEventListenerScope& operator=(const VmEventListenerScope&) = delete;
    ~VmEventListenerScope() {
        if (installed_) setVmEventListener(nullptr);
    }

private:
    bool installed_;
};

void JNICALL vmExitHook(jint code);
void JNICALL vmAbortHook();
