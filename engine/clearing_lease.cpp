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

} // namespace

bool TryBeginClearing(ProgramSettings& settings) {
    static_assert(sizeof settings.runActive == sizeof(LONG));
    auto* active = reinterpret_cast<volatile LONG*>(&settings.runActive);
    if (InterlockedCompareExchange(active, 1, 0) != 0) return false;
    const HANDLE session = SessionClearing();
    if (session && WaitForSingleObject(session, 0) != WAIT_OBJECT_0) {
        InterlockedExchange(active, 0);
        return false;
    }
    return true;
}

void EndClearing(ProgramSettings& settings) {
    auto* active = reinterpret_cast<volatile LONG*>(&settings.runActive);
    if (InterlockedExchange(active, 0) != 0)
        if (const HANDLE session = SessionClearing()) ReleaseSemaphore(session, 1, nullptr);
}
