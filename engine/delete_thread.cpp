#include "engine/delete_thread.h"

CDeleteThread::~CDeleteThread() {
    if (thread_) CloseHandle(thread_);
    if (running_) CloseHandle(running_);
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

void CDeleteThread::Pause() { ResetEvent(running_); }
void CDeleteThread::ResumeFromPause() { SetEvent(running_); }
void CDeleteThread::WaitWhilePaused() { WaitForSingleObject(running_, INFINITE); }
bool CDeleteThread::paused() const { return WaitForSingleObject(running_, 0) == WAIT_TIMEOUT; }

DWORD WINAPI CDeleteThread::Entry(void* self) {
    auto* thread = static_cast<CDeleteThread*>(self);
    try {
        if (thread->work_) thread->work_(*thread);
    } catch (...) {
        // Nothing may escape a thread entry; the run's own end handling has posted what it could.
    }
    return 0;
}
