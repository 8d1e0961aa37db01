// Where a save may land: the name the operator typed, completed with its type's extension and
// judged against the site's own files before anything is asked or written.
#pragma once

#include <QString>
#include <QStringList>

namespace card {

// A typed target as it will be written.
struct SaveTarget {
    QString path;      // the typed path, with the extension added when it had none
    QString refusedBy; // the protected place that holds path; empty when path may be written
    bool exists = false;
    bool refused() const { return !refusedBy.isEmpty(); }
};

// typed with "." + extension appended when its file name has no extension of its own.
QString withDefaultExtension(const QString& typed, const QString& extension);

// Completes typed with extension and judges it against protectedPlaces (folders, such as the
// records and photo folders, or single files, such as the loaded parameter file), all compared
// after resolving links. Only a target that is not refused is looked up for existence.
SaveTarget judgeSaveTarget(const QString& typed, const QString& extension,
                           const QStringList& protectedPlaces);

} // namespace card
