#pragma once

#include <QString>

// A byte count as the user sees it everywhere in the program: gigabytes only, decimal units
// (1 GB = 1,000,000,000 bytes), two decimals, in the user's locale.
QString formatGigabytes(qint64 bytes);
