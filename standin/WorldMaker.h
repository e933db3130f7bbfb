#pragma once

#include <QString>

// Lays out a new stand-in Mac in `folder`, which must be empty or missing. The tools are links to
// `program`. Returns an empty string on success, else what went wrong.
QString makeWorld(const QString &folder, const QString &program);
