#pragma once

#include "model/Secret.h"

// A test's password as the terminal path takes it.
inline Secret secretOf(QString text)
{
    return Secret::takeText(text);
}
