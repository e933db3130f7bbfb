#pragma once

#include <QString>

// Whether a piece of sudo's standard error says the password it was handed was wrong: sudo -S
// answers each wrong one with "Sorry, try again." and, once its standard input is used up, ends
// with "sudo: N incorrect password attempt(s)".
bool sudoRejectedPassword(const QString &errorChunk);

// The prompt the program has sudo print on standard error before it reads the password.
inline constexpr char sudoPrompt[] = "Password:";

// What of a piece of sudo's standard error came from the command: the piece without the prompts
// it begins with (sudo prints one before each attempt, with no line break after it).
QString withoutSudoPrompt(const QString &errorChunk);
