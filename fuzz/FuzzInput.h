#pragma once

// What the fuzz targets share: cutting one input into the pieces a tool's answer arrives in, and
// stopping the run when a reader breaks a promise its header makes.

#include <QByteArray>
#include <QByteArrayList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// 0xFF never occurs in UTF-8, so cutting there takes no text away from what the tools print.
inline QByteArrayList piecesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\xff');
}

[[noreturn]] inline void brokenPromise(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: broken promise: %s\n", file, line, condition);
    std::abort();
}

#define FUZZ_EXPECT(condition)                                                                     \
    ((condition) ? void() : brokenPromise(#condition, __FILE__, __LINE__))
