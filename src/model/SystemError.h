#pragma once

#include <QString>

#include <cstring>

// The C library's words for `error` (an errno value), as the user is shown them.
inline QString systemErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
