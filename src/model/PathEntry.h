#pragma once

#include <QString>

// `name` made fit to be one entry of a path, for the files and mount points named after an
// installer: a slash becomes a colon (the Finder shows a colon in a file name as a slash), and a
// name that would mean "this folder" or "the folder above" gets a leading underscore. Any other
// name, every real installer's among them, is returned as it is.
QString asPathEntry(const QString &name);
