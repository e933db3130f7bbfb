#pragma once

#include <QString>

#include <optional>

// The computer's name as the user knows it ("Anna's MacBook Pro"); none where the platform has
// no such name.
std::optional<QString> macComputerName();
