#include "host/MacComputerName.h"

#ifndef __APPLE__
std::optional<QString> macComputerName()
{
    return std::nullopt;
}
#endif
