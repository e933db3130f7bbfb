#pragma once

#include <QString>

// Whether a piece of sudo's standard error says the password it was handed was wrong: sudo -S
// answers each wrong one with "Sorry, try again." and, once its standard input is used up, ends
// with "sudo: N incorrect password attempt(s)".
bool sudoRejectedPassword(const QString &errorChunk);
