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
    const auto plural = [](qint64 count, const char *unit) {
        return QStringLiteral("%1 %2%3")
            .arg(count)
            .arg(QLatin1String(unit))
            .arg(count == 1 ? QString() : QStringLiteral("s"));
    };
    if (duration >= hours(1) && duration % hours(1) == Duration::zero())
        return plural(duration_cast<hours>(duration).count(), "hour");
    if (duration >= minutes(1) && duration % minutes(1) == Duration::zero())
        return plural(duration_cast<minutes>(duration).count(), "minute");
    if (duration >= seconds(1) && duration % seconds(1) == Duration::zero())
        return plural(duration_cast<seconds>(duration).count(), "second");
    return plural(duration.count(), "millisecond");
}
