#include "launcher/single_instance_win32.h"

#include <atomic>
#include <optional>
#include <utility>
#include <vector>

#include "common/wide_win32.h"
#include "launcher/single_instance.h"
#include "vm/secondary_call.h"

namespace {

constexpr std::uint32_t kFailureExitCode = 0xFFFFFFFF;
// How long a start waits for the one ahead of it to finish its hand-over.
constexpr DWORD kHandOverLockWait = 30000;
// The listener copies the arguments as soon as the message arrives; a first
// instance that takes longer has stopped serving hand-overs.
constexpr DWORD kArgumentsTakenWait = 10000;
// How long a start waits for a first instance that is being replaced to end,
// and how often it tries again after that.
constexpr DWORD kEndingInstanceWait = 10000;
constexpr int kSetUpAttempts = 10;
// A reply's lParam: the hand-over was not given to the application, try again.
constexpr LPARAM kTryAgain = 1;

// A hand-over taken from a later start, until the application receives it
// or it is given back. Whoever claims it first decides which.
struct PendingHandOver {
    DWORD laterThreadId = 0;
    std::atomic<bool> claimed{false};
};

// What a SecondaryCall thread needs. Shared, so that a call still waiting
// for main when the launcher shuts down keeps its event and texts alive.
struct SecondaryCallContext {
    UniqueHandle mainStarted;
    UINT messageId = 0;
    SecondaryCallSettings call;
    SRWLOCK pendingLock = SRWLOCK_INIT;
    std::vector<std::shared_ptr<PendingHandOver>> pending;
    // Held shared by each call into the VM, taken exclusively once
    // DestroyJavaVM has returned: no call attaches to a VM that is gone.
    SRWLOCK vmLock = SRWLOCK_INIT;
    std::atomic<bool> vmGone{false};

    std::shared_ptr<PendingHandOver> addPending(DWORD laterThreadId) {
        auto added = std::make_shared<PendingHandOver>();
        added->laterThreadId = laterThreadId;
        AcquireSRWLockExclusive(&pendingLock);
        std::erase_if(pending, [](const auto& handOver) { return handOver->claimed.load(); });
        pending.push_back(added);
        ReleaseSRWLockExclusive(&pendingLock);
        return added;
    }

    void giveBackUnclaimed() {
        AcquireSRWLockExclusive(&pendingLock);
        for (const auto& handOver : pending) {
            if (!handOver->claimed.exchange(true)) PostThreadMessageW(handOver->laterThreadId, messageId, 0, kTryAgain);
        }
        ReleaseSRWLockExclusive(&pendingLock);
    }
};

struct SecondaryCallJob {
    std::shared_ptr<SecondaryCallContext> context;
    std::shared_ptr<PendingHandOver> handOver;
    TextList arguments;
};

// Held while a first instance publishes its listener and while a later
// start's arguments sit in the block, so that no hand-over overwrites
// arguments the first instance has not copied yet.
class HandOverLock {
public:
    explicit HandOverLock(const Text& instance)
        : mutex_(CreateMutexW(nullptr, FALSE, wide(handOverMutexName(instance)))) {
        if (!mutex_) return;
        const DWORD waited = WaitForSingleObject(mutex_.get(), kHandOverLockWait);
        // A holder that died mid-hand-over leaves the lock abandoned, not lost.
        held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    HandOverLock(const HandOverLock&) = delete;
    HandOverLock& operator=(const HandOverLock&) = delete;
    ~HandOverLock() {
        if (held_) ReleaseMutex(mutex_.get());
    }
    bool held() const { return held_; }

private:
    UniqueHandle mutex_;
    bool held_ = false;
};

DWORD WINAPI secondaryCallThread(LPVOID parameter) {
    const std::unique_ptr<SecondaryCallJob> job(static_cast<SecondaryCallJob*>(parameter));
    SecondaryCallContext& context = *job->context;
    WaitForSingleObject(context.mainStarted.get(), INFINITE);
    // Given back to its later start while this thread waited.
    if (job->handOver->claimed.exchange(true)) return 0;
    JavaVM* const vm = context.call.vm ? *context.call.vm : nullptr;
    if (!vm) return 0;
    const DWORD laterThreadId = job->handOver->laterThreadId;
    AcquireSRWLockShared(&context.vmLock);
    const auto release = [&] { ReleaseSRWLockShared(&context.vmLock); };
    if (context.vmGone.load()) {
        // Attaching now is undefined (a use of freed memory in some VMs): the
        // later start tries again, and takes the role of the instance ending.
        release();
        PostThreadMessageW(laterThreadId, context.messageId, 0, kTryAgain);
        return 0;
    }
    const SecondaryReply reply = [&](std::int32_t value) {
        // Sign-extended; the later start takes the low 32 bits.
        PostThreadMessageW(laterThreadId, context.messageId, static_cast<WPARAM>(static_cast<LONG_PTR>(value)), 0);
    };
    callSecondaryMain(vm, {*context.call.mainClass, std::move(job->arguments), context.call.ibmAdmitted}, reply);
    release();
    return 0;
}

void startSecondaryCall(const std::shared_ptr<SecondaryCallContext>& context, DWORD laterThreadId, TextList arguments) {
    auto job = std::make_unique<SecondaryCallJob>(
        SecondaryCallJob{context, context->addPending(laterThreadId), std::move(arguments)});
    const UniqueHandle thread(CreateThread(nullptr, 0, secondaryCallThread, job.get(), 0, nullptr));
    if (thread) static_cast<void>(job.release());  // the thread owns it now
}

UniqueHandle newUnnamedEvent() {
    return UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

std::uint32_t exitCodeOf(HANDLE process) {
    DWORD code = 0;
    return GetExitCodeProcess(process, &code) ? code : kFailureExitCode;
}

} // namespace

struct ListenerState {
    std::shared_ptr<SecondaryCallContext> context;
    ConstInstanceBlockView block;
    Text instance;
    UniqueHandle queueReady = newUnnamedEvent();

    // Copies the arguments first, then confirms them to the later start, which
    // then lets the next hand-over write. A later start that gave up has closed
    // its event: the block may hold someone else's arguments by then.
    std::optional<TextList> takeArguments(DWORD laterThreadId) const {
        TextList arguments = readHandOverArguments(block);
        const UniqueHandle taken(
            OpenEventW(EVENT_MODIFY_STATE, FALSE, wide(argumentsTakenEventName(instance, laterThreadId))));
        if (!taken || !SetEvent(taken.get())) return std::nullopt;
        return arguments;
    }
};

namespace {

DWORD WINAPI listenerThread(LPVOID parameter) {
    const ListenerState& state = *static_cast<const ListenerState*>(parameter);
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // makes the queue later starts post to
    SetEvent(state.queueReady.get());
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message != state.context->messageId) continue;
        const auto laterThreadId = static_cast<DWORD>(message.wParam);
        if (auto arguments = state.takeArguments(laterThreadId)) {
            startSecondaryCall(state.context, laterThreadId, std::move(*arguments));
        }
    }
    return 0;
}

} // namespace

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance() {
    stop();
}

bool SingleInstance::setUp(const Text& modulePath, const ArgumentList& arguments, const SecondaryCallSettings& call) {
    const Text instance = instanceName(modulePath);
    for (int attempt = 0; attempt < kSetUpAttempts; ++attempt) {
        stop();
        role_ = Role::Independent;
        const Attempt outcome = trySetUp(instance, arguments, call);
        if (outcome.endingFirstInstance == 0) return outcome.result;
        // Its block goes with its last handle: wait for it to end, then start over.
        const UniqueHandle ending(OpenProcess(SYNCHRONIZE, FALSE, outcome.endingFirstInstance));
        if (!ending || WaitForSingleObject(ending.get(), kEndingInstanceWait) != WAIT_OBJECT_0) Sleep(50);
    }
    return false;
}

SingleInstance::Attempt SingleInstance::trySetUp(const Text& instance, const ArgumentList& arguments,
                                                 const SecondaryCallSettings& call) {
    const HandOverLock lock(instance);
    SetLastError(ERROR_SUCCESS);
    const HANDLE mapping =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, instance_block::kSize, wide(instance));
    const bool isFirst = GetLastError() == ERROR_SUCCESS;
    mapping_.reset(mapping);
    if (!mapping_) return {};
    view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, 0));
    if (!view_) {
        mapping_.reset();
        return {};
    }
    if (isFirst) {
        becomeFirstInstance(instance, call);
        return {};
    }
    role_ = Role::LaterStart;
    const InstanceHeader first = readInstanceHeader(block());
    if (first.listenerThreadId == 0 && first.processId != 0) {
        stop();
        return {true, first.processId};
    }
    return {lock.held() && handOver(instance, arguments)};
}

// Any failure here leaves an independent instance. Its block stays, naming
// no listener, so later starts find it, cannot post and end with -1.
void SingleInstance::becomeFirstInstance(const Text& instance, const SecondaryCallSettings& call) {
    auto context = std::make_shared<SecondaryCallContext>();
    context->mainStarted.reset(CreateEventW(nullptr, TRUE, FALSE, wide(mainStartedEventName(instance))));
    // An instance that is still ending may leave its event set.
    if (context->mainStarted) ResetEvent(context->mainStarted.get());
    context->messageId = RegisterWindowMessageW(wide(instance));
    context->call = call;
    if (!context->mainStarted || context->messageId == 0) return;
    listenerState_ = std::make_unique<ListenerState>(ListenerState{std::move(context), block(), instance});
    instance_ = instance;
    if (startListener(*listenerState_)) role_ = Role::FirstInstance;
}

bool SingleInstance::startListener(ListenerState& state) {
    listener_.reset(CreateThread(nullptr, 0, listenerThread, &state, 0, &listenerId_));
    if (!listener_ || !state.queueReady) return false;
    const HANDLE waits[] = {state.queueReady.get(), listener_.get()};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) return false;
    // Published only now: a later start never meets a listener without a queue.
    writeInstanceHeader(block(), {listenerId_, GetCurrentProcessId(), state.context->messageId});
    return true;
}

bool SingleInstance::handOver(const Text& instance, const ArgumentList& arguments) {
    const InstanceHeader first = readInstanceHeader(block());
    messageId_ = first.messageId;
    firstProcess_.reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, first.processId));
    MSG message;
    // The void variant's reply can come before this thread polls; it needs a queue to wait in.
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    const DWORD self = GetCurrentThreadId();
    const UniqueHandle taken(CreateEventW(nullptr, FALSE, FALSE, wide(argumentsTakenEventName(instance, self))));
    if (!taken || !writeHandOverArguments(block(), arguments)) return false;
    if (!PostThreadMessageW(first.listenerThreadId, first.messageId, self, 0)) return false;
    const HANDLE waits[] = {taken.get(), firstProcess_.get()};
    const DWORD waited = WaitForMultipleObjects(firstProcess_ ? 2 : 1, waits, FALSE, kArgumentsTakenWait);
    // A first instance that ended instead gives its exit code in waitForPrimary.
    return waited == WAIT_OBJECT_0 || waited == WAIT_OBJECT_0 + 1;
}

HANDLE SingleInstance::mainStartedEvent() const {
    return role_ == Role::FirstInstance ? listenerState_->context->mainStarted.get() : nullptr;
}

LaterStartEnd SingleInstance::waitForPrimary() {
    if (!firstProcess_) return {};
    const HANDLE first = firstProcess_.get();
    for (;;) {
        // Looked at before the queue: a reply is always posted before its sender ends.
        const bool ended = WaitForSingleObject(first, 0) == WAIT_OBJECT_0;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message != messageId_) continue;
            if (message.lParam == kTryAgain) return {0, true};
            return {static_cast<std::uint32_t>(message.wParam)};
        }
        // Waiting on the process rather than polling its exit code: an
        // instance may end with 259, the value that means "still running".
        if (ended) return {exitCodeOf(first)};
        if (MsgWaitForMultipleObjects(1, &first, FALSE, INFINITE, QS_POSTMESSAGE) == WAIT_FAILED) Sleep(100);
    }
}

void SingleInstance::vmDestroyed() {
    if (role_ != Role::FirstInstance) return;
    SecondaryCallContext& context = *listenerState_->context;
    // A call that began attaching as the VM went may never return: wait a
    // while for the calls, then refuse new ones all the same.
    constexpr int kTries = 100;
    bool locked = false;
    for (int i = 0; i < kTries && !(locked = TryAcquireSRWLockExclusive(&context.vmLock)); ++i) Sleep(10);
    context.vmGone.store(true);
    if (locked) ReleaseSRWLockExclusive(&context.vmLock);
    withdraw();
}

void SingleInstance::withdraw() {
    if (role_ == Role::FirstInstance) {
        {
            // Under the lock, so that no hand-over is half written: later
            // starts now find a first instance that is ending.
            const HandOverLock lock(instance_);
            writeInstanceHeader(block(), {0, GetCurrentProcessId(), 0});
        }
        stopListener();
        listenerState_->context->giveBackUnclaimed();
    }
    stop();
}

void SingleInstance::stop() {
    stopListener();
    listenerState_.reset();
    view_.reset();
    mapping_.reset();
    firstProcess_.reset();
}

void SingleInstance::stopListener() {
    if (listener_) {
        // A quit message is all the listener waits for.
        do {
            PostThreadMessageW(listenerId_, WM_QUIT, 0, 0);
        } while (WaitForSingleObject(listener_.get(), 100) == WAIT_TIMEOUT);
        listener_.reset();
    }
}

InstanceBlockView SingleInstance::block() const {
    return InstanceBlockView(static_cast<unsigned char*>(const_cast<void*>(view_.get())), instance_block::kSize);
}
