// Which local folder stands for a Windows folder: asked after a parameter file names a folder
// no mapping covers, and used by the mapping editor to add or change one.
#pragma once

#include "core/platform/folder_mapping.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;

namespace card {

class FolderMappingDialog : public QDialog {
    Q_OBJECT
public:
    // With a Windows folder that is fixed, the dialog asks only for its local folder and says
    // why; without one (the editor's new mapping) both are typed.
    FolderMappingDialog(QWidget* parent, const FolderMapping& shown, bool windowsFolderFixed);

    // The mapping as typed, once accepted.
    FolderMapping mapping() const;

    // After a parameter file is read: asks once for each of folders that no mapping covers and
    // saves each answer. Cancel stops asking; the folders are then read as written.
    static void askForUnmapped(QWidget* parent, const QStringList& folders);

    void accept() override;

private:
    void buildParts(const FolderMapping& shown, bool windowsFolderFixed);
    void browse();

    QLabel* m_question;
    QLineEdit* m_windows;
    QComboBox* m_local;
};

} // namespace card
