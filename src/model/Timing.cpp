#include "model/Timing.h"

#include <mutex>

namespace {

std::mutex timingLock;
Timing installedTiming;

} // namespace

Timing Timing::current()
{
    std::lock_guard guard(timingLock);
    return installedTiming;
}

void Timing::setCurrent(const Timing &timing)
{
    std::lock_guard guard(timingLock);
    installedTiming = timing;
}
