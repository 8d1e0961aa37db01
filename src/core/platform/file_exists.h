// The one existence test of the product: used by the dialog, the query and the viewer.
#pragma once

#include <QString>

#include <functional>

namespace card {

// True when an ordinary, visible file exists at exactly this path. Folders and hidden files
// never count; '*' and '?' are ordinary characters. A single status call: the folder is never
// listed, so a folder of millions of files costs no more than an empty one.
bool fileExists(const QString& path);

// An existence test as the rules take it: fileExists in the product, a stand-in in tests.
using ExistenceTest = std::function<bool(const QString& path)>;

} // namespace card
