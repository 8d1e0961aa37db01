// The one way the product asks where to save a file: a save dialog in the operator's language,
// the type's extension added to a bare name, the site's own files refused before any question,
// and a question before an existing file is replaced.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace card {

struct SaveQuestion {
    QString title;
    // A bare file name, proposed in the folder last used for the extension (else Documents,
    // else home); or, to ask again after a failed write, the whole path that failed.
    QString proposedPath;
    QString filter;              // the dialog's file type, "CSV 文件 (*.csv)"
    QString extension;           // added to a typed name without one: "csv"
    QStringList protectedPlaces; // the records and photo folders and the loaded parameter file
};

// Asks until the operator cancels (an empty string) or names a target that may be written and,
// if a file is there, agrees to replace it. A refused target is said at once and asked again.
// The chosen folder is kept as the one last used for the extension.
QString askSaveTarget(QWidget* parent, const SaveQuestion& question);

} // namespace card
