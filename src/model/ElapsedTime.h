#pragma once

#include <QString>

#include <chrono>

// How long a job took, as its result says it: "45 s", "3 min 12 s", "1 h 05 min".
QString formatElapsed(std::chrono::milliseconds elapsed);
