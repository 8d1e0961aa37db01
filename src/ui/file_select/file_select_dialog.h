// file_select: the modal dialog in which the operator picks a parameter file (or a folder).
#pragma once

#include "core/dialog/dialog_rules.h"
#include "core/dialog/drive_list.h"
#include "core/dialog/file_select_exchange.h"
#include "core/platform/latest_request.h"
#include "ui/file_select/file_select_controls.h"

#include <QDialog>

namespace card {

class FileListModel;
class FolderListModel;

class FileSelectDialog : public QDialog {
    Q_OBJECT
public:
    // Built from its design state; the opening steps read the title and mode from the exchange,
    // which the confirm buttons answer in.
    FileSelectDialog(FileSelectExchange& exchange, QWidget* owner);
    ~FileSelectDialog() override;

    // Builds the dialog, shows it modally owned by owner and destroys it when it closes.
    static void showModal(FileSelectExchange& exchange, QWidget* owner);

    const FileSelectControls& controls() const { return m_controls; }
    FolderListModel& folders() { return *m_folders; }
    FileListModel& files() { return *m_files; }

    // Reactions to the controls.
    // A press whose rule tests a file's existence finishes when the test, run on siteIoPool(),
    // comes back. A newer press replaces one still pending; "取消", and closing the window,
    // drop it.
    void pressConfirmButton(ConfirmButton button);
    void openChosenDrive();      // the root of the drive chosen in the drive list
    void listOpenFolderFiles();  // the file list follows the folder list's open folder
    void takeSelectedFile();     // the selected file's name into the file name box
    void selectFileAndConfirm(); // a double-click on a file: take it and press "選擇"
    // The folder buttons run on siteIoPool() as well; a press while one runs is ignored.
    void addFolder();    // a subfolder of the open folder, named by the operator
    void removeFolder(); // the open folder, when empty

    // The confirm press whose existence test has not come back yet, if any.
    bool confirmPending() const { return m_confirm.pending(); }
    // A folder button's work that has not come back yet.
    bool folderCommandPending() const { return m_folderCommand.pending(); }

    void done(int result) override;

protected:
    // Esc presses the cancel button; the frame's close box still closes without writing anything.
    void keyPressEvent(QKeyEvent* event) override;
    // Enter in the folder list on a folder other than the open one opens it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildParts();
    void setFocusOrder();
    void connectParts();
    void startOnWorkingFolder();
    void takeDrives(const QList<Drive>& drives);
    void runOpeningSteps();
    void enterFolderMode();
    void openStartFolder(const QString& folder);
    void showOpenFolder();
    ConfirmFields confirmFields() const;
    void applyConfirm(ConfirmOutcome outcome);
    bool selectsFirstFile(int key);

    FileSelectExchange& m_exchange;
    FileSelectControls m_controls;
    FolderListModel* m_folders = nullptr;
    FileListModel* m_files = nullptr;
    QList<Drive> m_drives;
    QString m_startFolder; // folder mode: opened once the drives are known
    LatestRequest m_confirm;
    LatestRequest m_folderCommand;
};

} // namespace card
