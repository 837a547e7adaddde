#include "ui/progress_throttle.h"

#include <algorithm>

void ProgressThrottle::Reset() {
    *this = ProgressThrottle(interval_);
}

void ProgressThrottle::StartRange(uint64_t range, uint32_t pixels) {
    if (range != postedRange_ || !posted_) rangeDirty_ = true;
    range_ = range;
    step_ = std::max<uint64_t>(1, range / (pixels ? pixels : 100));
    position_ = 0;
}

ProgressThrottle::Posts ProgressThrottle::Due(uint32_t nowMs) {
    Posts posts;
    if (posted_ && nowMs - lastPost_ < interval_) return posts;
    const uint64_t moved =
        position_ > postedPosition_ ? position_ - postedPosition_ : postedPosition_ - position_;
    const bool reachedEnd = position_ >= range_ && postedPosition_ < range_;
    posts.name = nameDirty_;
    posts.range = rangeDirty_;
    posts.position = rangeDirty_ || (moved != 0 && (moved >= step_ || reachedEnd));
    if (!posts.Any()) return posts;
    posts.rangeValue = range_;
    posts.positionValue = position_;
    nameDirty_ = rangeDirty_ = false;
    postedRange_ = range_;
    postedPosition_ = position_;
    lastPost_ = nowMs;
    posted_ = true;
    return posts;
}
