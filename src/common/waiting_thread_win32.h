#pragma once
// The launcher's main thread while it waits for the Java main thread: it
// waits alertably, so work queued to it from the Java main thread runs there,
// beside the VM's creation. The queueing thread pays only for the queueing,
// not for creating a thread or loading its libraries.

#include <windows.h>

#include "common/unique_handle_win32.h"

class WaitingThread {
public:
    // The calling thread is the one that will wait.
    WaitingThread();

    // Runs routine(context) on the waiting thread, or at once on the calling
    // thread when that is the waiting thread or the queueing fails.
    void run(PAPCFUNC routine, ULONG_PTR context) const;

private:
    UniqueHandle thread_;
};

// Waits for the event, running work queued to the calling thread meanwhile:
// the waiting thread itself may have yet to run what sets the event.
void waitRunningQueuedWork(HANDLE event);
