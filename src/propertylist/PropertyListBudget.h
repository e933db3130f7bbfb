#pragma once

#include <QByteArray>

// What a property list may cost to read. libplist copies a binary list's shared objects once for
// every reference to them, so a few hundred bytes can name billions of nodes; and it follows
// nesting on the stack. These bounds are far above anything a real Info.plist or diskutil answer
// holds.
namespace PropertyListBudget {

inline constexpr qsizetype maximumBytes = 16 * 1024 * 1024;
// Nodes once every reference is expanded, keys included.
inline constexpr qint64 maximumNodes = 100'000;
// Arrays and dictionaries inside each other, the outermost one counting as one.
inline constexpr int maximumDepth = 64;

// Whether `bytes` stay within the bounds once read. A binary list is measured by walking its
// object table (not parsed: only the containers' references are read), and malformed structure
// is refused; an XML list by its size and the nesting of its array and dict tags.
bool allowsBinary(const QByteArray &bytes);
bool allowsXml(const QByteArray &bytes);

} // namespace PropertyListBudget
