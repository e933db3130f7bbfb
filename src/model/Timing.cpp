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

QString Timing::describe(Duration duration)
{
    using namespace std::chrono;
    if (duration >= hours(1) && duration % hours(1) == Duration::zero()) {
        const qint64 count = duration_cast<hours>(duration).count();
        return (count == 1 ? tr("%1 hour") : tr("%1 hours")).arg(QString::number(count));
    }
    if (duration >= minutes(1) && duration % minutes(1) == Duration::zero()) {
        const qint64 count = duration_cast<minutes>(duration).count();
        return (count == 1 ? tr("%1 minute") : tr("%1 minutes")).arg(QString::number(count));
    }
    if (duration >= seconds(1) && duration % seconds(1) == Duration::zero()) {
        const qint64 count = duration_cast<seconds>(duration).count();
        return (count == 1 ? tr("%1 second") : tr("%1 seconds")).arg(QString::number(count));
    }
    const qint64 count = duration.count();
    return (count == 1 ? tr("%1 millisecond") : tr("%1 milliseconds")).arg(QString::number(count));
}
