#pragma once
// Single-instance operation: the first start of an executable runs the
// application; a later start hands its arguments to the first one, whose
// secondaryMain receives them, and ends with the reply.

#include <windows.h>

#include <jni.h>

#include <cstdint>
#include <memory>

#include "common/argument_list.h"
#include "common/unique_handle_win32.h"
#include "launcher/instance_block.h"
#include "launcher/launch_host.h"

struct SecondaryCallSettings {
    // The launcher's main class slot (slash form): the configured class, or
    // the one a jar or module named, set before the main-started event is.
    const Text* mainClass = nullptr;
    bool ibmAdmitted = false;
    // The launcher's VM slot; filled before the main-started event is set.
    JavaVM* const* vm = nullptr;
};

struct ListenerState;

class SingleInstance {
public:
    SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();

    // For a launch whose settings ask for single-instance operation. False
    // only when this is a later start that could not hand its arguments over;
    // trouble in a first instance makes it run on its own. A first instance
    // that is being replaced is waited for, and the set-up tried again.
    bool setUp(const Text& modulePath, const ArgumentList& arguments, const SecondaryCallSettings& call);

    bool isLaterStart() const { return role_ == Role::LaterStart; }
    // The event to set just before main is called; null unless this is the first instance.
    HANDLE mainStartedEvent() const;
    // The whole run phase of a later start.
    LaterStartEnd waitForPrimary();
    // For a first instance about to be replaced by a new start of its
    // executable: it stops serving hand-overs, and those not yet given to the
    // application go back to their later starts to be tried again.
    void withdraw();
    // Once DestroyJavaVM has returned: no hand-over calls into the VM any
    // more; later starts try again and may take this instance's role.
    void vmDestroyed();
    // Stops the listener and releases the block.
    void stop();

private:
    enum class Role { Independent, FirstInstance, LaterStart };
    // How one attempt at setting up ended: done (true or false as setUp), or
    // the process of a first instance that is ending.
    struct Attempt {
        bool result = true;
        std::uint32_t endingFirstInstance = 0;
    };

    Attempt trySetUp(const Text& instance, const ArgumentList& arguments, const SecondaryCallSettings& call);
    void becomeFirstInstance(const Text& instance, const SecondaryCallSettings& call);
    bool startListener(ListenerState& state);
    void stopListener();
    bool handOver(const Text& instance, const ArgumentList& arguments);
    InstanceBlockView block() const;

    Role role_ = Role::Independent;
    Text instance_;
    UniqueHandle mapping_;
    UniqueMappedView view_;
    UniqueHandle listener_;
    DWORD listenerId_ = 0;
    std::unique_ptr<ListenerState> listenerState_;
    UniqueHandle firstProcess_;  // later start: the first instance
    UINT messageId_ = 0;
};
