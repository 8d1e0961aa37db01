// Messages and file writes of the developer tools.
#pragma once

#include <QByteArray>
#include <QString>

namespace card::tools {

// Names the tool in every message it prints.
void setToolName(const char* name);

// Prints "<tool>: message" on the standard error.
void fail(const QString& message);

// Writes bytes to path, replacing the file; reports a failure through fail().
bool writeBytes(const QString& path, const QByteArray& bytes);

} // namespace card::tools
