#include "engine/delete_thread.h"

#include "app/main_window.h"
#include "engine/clearing_run.h"
#include "ui/progress_window.h"

CDeleteThread::~CDeleteThread() {
    if (thread_) CloseHandle(thread_);
}

bool CDeleteThread::CreateSuspended() {
    thread_ = CreateThread(nullptr, 0, Entry, this, CREATE_SUSPENDED, nullptr);
    return thread_ != nullptr;
}

void CDeleteThread::Resume() {
    if (thread_) ResumeThread(thread_);
}

void CDeleteThread::Join(DWORD timeoutMs) {
    if (thread_) WaitForSingleObject(thread_, timeoutMs);
}

DWORD WINAPI CDeleteThread::Entry(void* self) {
    auto* thread = static_cast<CDeleteThread*>(self);
    try {
        if (thread->work_) thread->work_(*thread);
    } catch (...) {
        // Nothing may escape a thread entry; the run's own end handling has posted what it could.
    }
    return 0;
}

void RunThreadedClearing(CDeleteThread& thread) {
    RunClearingSteps(*thread.cleaner, *thread.settings, thread.progressWindow ? thread.progressWindow->hwnd() : nullptr,
                     thread.mainWindow ? thread.mainWindow->hwnd() : nullptr, &thread.done);
}
