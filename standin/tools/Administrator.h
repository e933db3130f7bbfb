#pragma once

#include <QByteArray>

class World;

// A stand-in Mac has no root user of its own (and on a build machine everything may run as root
// already), so the rights a process holds in a world travel in the environment: sudo and an
// administrator `do shell script` mark their command as the world's administrator, children
// inherit the mark as they would root's rights, and tools that need rights look for it.
namespace Administrator {

inline constexpr char variable[] = "TESSALINE_STANDIN_ADMIN";

// Whether this process holds administrator rights in `world`.
bool isActing(const World &world);
// The value of `variable` that grants those rights in `world`.
QByteArray mark(const World &world);

} // namespace Administrator
