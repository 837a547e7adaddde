#include "engine/cleaners/index_dat_plan.h"

uint64_t IndexDatPlan::ClearEnd(uint64_t length) const {
    uint64_t blocks = 1; // the block at 32 is cleared even when the limit lies before it
    if (limit > kKeptHeader) blocks = (limit - kKeptHeader + kBlock - 1) / kBlock;
    const uint64_t end = kKeptHeader + blocks * kBlock;
    if (length <= kKeptHeader) return kKeptHeader;
    return length < end ? length : end;
}
