#include "engine/clearing_lease.h"

#include <windows.h>

namespace {

// One clearing at a time in the whole session, not only in this process: a command-line run and
// the program in the tray must never clear at once. A semaphore, not a mutex: the lease may be given
// back on another thread than the one that took it (a threaded run ends on its worker).
HANDLE SessionClearing() {
    static const HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 1, "Local\\ZephyrlanthorpeClearing");
    return semaphore;
}

// Only the process's own record stands for the program; records that tests make for themselves
// keep to their process.
HANDLE SessionClearingOf(const ProgramSettings& settings) {
    return &settings == &Settings() ? SessionClearing() : nullptr;
}

} // namespace

bool TryBeginClearing(ProgramSettings& settings) {
    static_assert(sizeof settings.runActive == sizeof(LONG));
    auto* active = reinterpret_cast<volatile LONG*>(&settings.runActive);
    if (InterlockedCompareExchange(active, 1, 0) != 0) return false;
    const HANDLE session = SessionClearingOf(settings);
    if (session && WaitForSingleObject(session, 0) != WAIT_OBJECT_0) {
        InterlockedExchange(active, 0);
        return false;
    }
    return true;
}

void EndClearing(ProgramSettings& settings) {
    auto* active = reinterpret_cast<volatile LONG*>(&settings.runActive);
    if (InterlockedExchange(active, 0) != 0)
        if (const HANDLE session = SessionClearingOf(settings)) ReleaseSemaphore(session, 1, nullptr);
}
