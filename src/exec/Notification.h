#pragma once

#include <QString>

// Posts `text` as a notification of the system's, titled "Tessaline", through osascript on a
// thread of the shared pool, and returns at once. Nothing waits for it: a notification that
// could not be posted is one diagnostic line.
void postNotification(const QString &text);
