#pragma once

#include "exec/JobThreads.h"

#include <QCoreApplication>
#include <QThreadPool>

// Waits until no work started in the background is left: the shared pool's short tasks and the
// jobs' own threads, including any one of them starts as it ends. Finished job threads' objects
// are deleted before it returns: what their ends posted to this thread is delivered first, so that
// nothing they made is left for the application's exit to free.
inline void waitForBackgroundWork()
{
    do {
        QThreadPool::globalInstance()->waitForDone();
        JobThreads::waitForAll();
    } while (QThreadPool::globalInstance()->activeThreadCount() > 0 || JobThreads::running() > 0);
    if (QCoreApplication::instance()) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
