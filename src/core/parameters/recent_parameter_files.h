// The parameter files loaded last, kept in the settings so the operator can load one again from
// the lists' menu.
#pragma once

#include <QString>
#include <QStringList>

namespace card {

inline constexpr int kRecentParameterFiles = 5;

// Newest first, at most kRecentParameterFiles.
QStringList recentParameterFiles();

// Puts path first among the recent files, once, keeping the newest kRecentParameterFiles.
void rememberParameterFile(const QString& path);

} // namespace card
