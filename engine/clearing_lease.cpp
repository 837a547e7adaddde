#include "engine/clearing_lease.h"

#include <windows.h>

bool TryBeginClearing(ProgramSettings& settings) {
    static_assert(sizeof settings.runActive == sizeof(LONG));
    return InterlockedCompareExchange(reinterpret_cast<volatile LONG*>(&settings.runActive), 1, 0) == 0;
}

void EndClearing(ProgramSettings& settings) {
    InterlockedExchange(reinterpret_cast<volatile LONG*>(&settings.runActive), 0);
}
