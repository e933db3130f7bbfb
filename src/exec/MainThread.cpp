#include "exec/MainThread.h"

#include <QCoreApplication>

void runOnMainThread(std::function<void()> task)
{
    if (QCoreApplication *application = QCoreApplication::instance())
        QMetaObject::invokeMethod(application, std::move(task), Qt::QueuedConnection);
}
