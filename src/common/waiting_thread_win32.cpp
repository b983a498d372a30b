#include "common/waiting_thread_win32.h"

WaitingThread::WaitingThread() {
    HANDLE self = nullptr;
    if (DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0, FALSE,
                        DUPLICATE_SAME_ACCESS)) {
        thread_.reset(self);
    }
}

void WaitingThread::run(PAPCFUNC routine, ULONG_PTR context) const {
    if (thread_ && GetThreadId(thread_.get()) != GetCurrentThreadId() && QueueUserAPC(routine, thread_.get(), context)) {
        return;
    }
    routine(context);
}

void waitRunningQueuedWork(HANDLE event) {
    while (WaitForSingleObjectEx(event, INFINITE, TRUE) == WAIT_IO_COMPLETION) {
    }
}
