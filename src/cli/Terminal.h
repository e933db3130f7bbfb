#pragma once

#include "model/Secret.h"

#include <QString>

#include <cstdio>
#include <optional>

// The terminal tessaline-cli may be run from: whether a stream is one, and the questions asked
// on it. Questions go to standard error, so that standard output stays what the command prints.
namespace Terminal {

bool isInteractive(std::FILE *stream);
// Writes `text` to `stream` as UTF-8, at once.
void print(std::FILE *stream, const QString &text);
// Asks `question` and reads one line of standard input; nothing at its end.
std::optional<QString> ask(const QString &question);
// One line of `stream`, without its line break, as a secret: on a terminal it is not echoed,
// after `prompt`. The bytes are read one at a time, so nothing after the line is taken from the
// stream, and every buffer that held them is zeroed. Nothing at the stream's end.
std::optional<Secret> readSecretLine(std::FILE *stream, const QString &prompt);

} // namespace Terminal
