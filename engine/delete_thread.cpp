#include "engine/delete_thread.h"

#include <objbase.h>

#include "engine/clearing_run.h"

bool CDeleteThread::CreateSuspended() {
    thread_.Reset(CreateThread(nullptr, 0, Entry, this, CREATE_SUSPENDED, nullptr));
    return thread_.valid();
}

void CDeleteThread::Resume() {
    if (thread_.valid()) ResumeThread(thread_.get());
}

bool CDeleteThread::Join(DWORD timeoutMs) {
    return !thread_.valid() || WaitForSingleObject(thread_.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD WINAPI CDeleteThread::Entry(void* self) {
    auto* thread = static_cast<CDeleteThread*>(self);
    // The URL history object and some shell calls of the cleaners are COM: without an apartment of
    // its own the worker would silently skip them.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    try {
        if (thread->work_) thread->work_(*thread);
    } catch (...) {
        // Nothing may escape a thread entry; the run's own end handling has posted what it could.
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}

CDeleteThread::Work ThreadedClearing(std::string trigger, std::string reportsFolder) {
    return [trigger = std::move(trigger), reportsFolder = std::move(reportsFolder)](CDeleteThread& thread) {
        RunClearingSteps(*thread.cleaner, *thread.settings, &thread.done, trigger, reportsFolder);
    };
}
