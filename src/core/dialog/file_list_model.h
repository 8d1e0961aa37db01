// The file list: the files of one folder that match its pattern, read lazily.
#pragma once

#include "core/dialog/scanned_list_model.h"

namespace card {

// The file list's pattern: two wildcards joined by ";", compared case-sensitively.
inline const QString kParameterFilePattern = QStringLiteral("*.spf;*.SPF");

class FileListModel : public ScannedListModel {
    Q_OBJECT
public:
    explicit FileListModel(const QString& pattern, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The folder listed, exactly as it was set.
    QString folder() const { return m_folder; }
    void setFolder(const QString& folder);

    // Name and extension of the file in row, without folder.
    QString fileName(int row) const;

private:
    QStringList m_patterns;
    QString m_folder;
};

} // namespace card
