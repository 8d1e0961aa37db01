// The names proposed for the files the operator saves: one builder, so that a searched text or
// a case name can never make a path or a name Windows refuses.
#pragma once

#include <QString>
#include <QStringList>

namespace card {

// "<kind>-<part>-<part>.<extension>", each part with the characters no file name may hold
// (path separators, Windows' reserved ones, control characters) replaced by '_'.
QString proposedFileName(const QString& kind, const QStringList& parts, const QString& extension);

} // namespace card
