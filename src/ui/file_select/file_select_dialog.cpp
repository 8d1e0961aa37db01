#include "ui/file_select/file_select_dialog.h"

#include "core/dialog/file_list_model.h"
#include "core/dialog/folder_commands.h"
#include "core/dialog/folder_list_model.h"
#include "core/platform/file_exists.h"
#include "core/platform/site_io_task.h"
#include "core/platform/twips.h"
#include "ui/common/accessible_names.h"
#include "ui/common/control_table.h"
#include "ui/common/message_box.h"
#include "ui/common/window_caption.h"
#include "ui/file_select/file_select_layout.h"
#include "ui/file_select/folder_item_delegate.h"

#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>

namespace card {

namespace {

constexpr int kFolderIconPixels = 12;

void setUpList(QListView* view, QAbstractItemModel* model)
{
    view->setUniformItemSizes(true); // keeps a folder of 100,000 entries instant to show
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setModel(model);
}

QString workingFolder()
{
    return QDir::toNativeSeparators(QDir::currentPath());
}

} // namespace

FileSelectDialog::FileSelectDialog(FileSelectExchange& exchange, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_exchange(exchange)
    , m_folders(new FolderListModel(this))
    , m_files(new FileListModel(kParameterFilePattern, this))
{
    setObjectName(QStringLiteral("file_select"));
    setFixedSize(twipsToPixels(kFileSelectWidthTwips), twipsToPixels(kFileSelectHeightTwips));
    buildParts();
    describeControlsByName(this);
    setFocusOrder();
    startOnWorkingFolder();
    connectParts();
    runOpeningSteps();
}

FileSelectDialog::~FileSelectDialog() = default;

void FileSelectDialog::showModal(FileSelectExchange& exchange, QWidget* owner)
{
    FileSelectDialog dialog(exchange, owner);
    dialog.exec();
}

void FileSelectDialog::buildParts()
{
    const PlacedControls placed = card::createControls(fileSelectControlTable(), this);
    FileSelectControls& c = m_controls;
    c.driveCaption = placed.get<QLabel>("Label1(0)");
    c.folderCaption = placed.get<QLabel>("Label1(1)");
    c.fileListCaption = placed.get<QLabel>("Label1(2)");
    c.fileNameCaption = placed.get<QLabel>("Label1(3)");
    c.driveList = placed.get<QComboBox>("Drive1");
    c.folderList = placed.get<QListView>("Dir1");
    c.fileList = placed.get<QListView>("File1");
    c.addFolderButton = placed.get<QPushButton>("Cmd_Add");
    c.removeFolderButton = placed.get<QPushButton>("Cmd_Del");
    c.fileNameEdit = placed.get<QLineEdit>("Text1");
    c.newButton = placed.get<QPushButton>("Command1(0)");
    c.selectButton = placed.get<QPushButton>("Command1(1)");
    c.cancelButton = placed.get<QPushButton>("Command1(2)");
    c.selectButton->setDefault(true);

    setUpList(c.folderList, m_folders);
    c.folderList->setItemDelegate(new FolderItemDelegate(c.folderList));
    c.folderList->setIconSize(QSize(kFolderIconPixels, kFolderIconPixels)); // one text line per row
    setUpList(c.fileList, m_files);
}

void FileSelectDialog::setFocusOrder()
{
    const FileSelectControls& c = m_controls;
    const std::array<QWidget*, 9> order = {c.fileList,     c.driveList,       c.folderList,
                                           c.newButton,    c.selectButton,    c.cancelButton,
                                           c.fileNameEdit, c.addFolderButton, c.removeFolderButton};
    for (size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void FileSelectDialog::startOnWorkingFolder()
{
    // Both run on siteIoPool(): the mount table names disks that may not answer, and the
    // working folder may itself lie on a slow share.
    runOnSiteIo(this, &machineDrives, [this](const QList<Drive>& drives) { takeDrives(drives); });
    // The file list is on the working folder from the start, so a name typed at once is looked for
    // there.
    m_files->setFolder(workingFolder());
    m_folders->open(workingFolder());
}

void FileSelectDialog::takeDrives(const QList<Drive>& drives)
{
    m_drives = drives;
    const qsizetype drive = driveIndexOf(m_drives, workingFolder());
    {
        // Filling the list is no drive change by the operator.
        const QSignalBlocker blocker(m_controls.driveList);
        for (const Drive& each : std::as_const(m_drives))
            m_controls.driveList->addItem(each.name);
        m_controls.driveList->setCurrentIndex(static_cast<int>(drive));
    }
    if (drive >= 0)
        m_folders->setDriveRoot(m_drives.at(drive).root);
    showOpenFolder();
    if (!m_startFolder.isEmpty())
        openStartFolder(m_startFolder);
}

void FileSelectDialog::connectParts()
{
    const FileSelectControls& c = m_controls;
    connect(c.newButton, &QPushButton::clicked, this,
            [this] { pressConfirmButton(ConfirmButton::NewName); });
    connect(c.selectButton, &QPushButton::clicked, this,
            [this] { pressConfirmButton(ConfirmButton::Select); });
    connect(c.cancelButton, &QPushButton::clicked, this,
            [this] { pressConfirmButton(ConfirmButton::Cancel); });
    connect(c.driveList, &QComboBox::currentIndexChanged, this, &FileSelectDialog::openChosenDrive);
    connect(m_folders, &FolderListModel::openFolderChanged, this,
            &FileSelectDialog::listOpenFolderFiles);
    connect(c.folderList, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        m_folders->open(m_folders->folderAt(index.row()));
    });
    c.folderList->installEventFilter(this);
    c.fileList->installEventFilter(this);
    // A click, or a move of the selection by the keyboard, both put the file into the file name
    // field.
    connect(c.fileList, &QListView::clicked, this, &FileSelectDialog::takeSelectedFile);
    connect(c.fileList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FileSelectDialog::takeSelectedFile);
    connect(c.fileList, &QListView::doubleClicked, this, &FileSelectDialog::selectFileAndConfirm);
    connect(c.addFolderButton, &QPushButton::clicked, this, &FileSelectDialog::addFolder);
    connect(c.removeFolderButton, &QPushButton::clicked, this, &FileSelectDialog::removeFolder);
}

void FileSelectDialog::runOpeningSteps()
{
    setCaption(this, m_exchange.title);
    if (m_exchange.mode == FileSelectMode::Load)
        m_controls.newButton->hide();
    if (m_exchange.mode != FileSelectMode::Folder) {
        m_controls.fileList->setFocus();
        return;
    }
    enterFolderMode();
    m_startFolder = m_exchange.folder; // opened when the drives are known
}

void FileSelectDialog::enterFolderMode()
{
    const FileSelectControls& c = m_controls;
    for (QWidget* control :
         {static_cast<QWidget*>(c.fileNameEdit), static_cast<QWidget*>(c.fileNameCaption),
          static_cast<QWidget*>(c.newButton), static_cast<QWidget*>(c.fileList),
          static_cast<QWidget*>(c.fileListCaption)})
        control->hide();
    c.driveList->setFocus();
}

void FileSelectDialog::openStartFolder(const QString& folder)
{
    // Each step that fails is skipped without a message: the lists stay where the previous
    // step left them, so the drive's root, then the working folder, are the fall-backs.
    const qsizetype drive = driveIndexOf(m_drives, folder);
    QStringList candidates{folder};
    std::optional<QString> root;
    if (drive >= 0) {
        root = m_drives.at(drive).root;
        // Only choosing another drive moves the folder list to that drive's root.
        if (drive != m_controls.driveList->currentIndex())
            candidates.append(*root);
        const QSignalBlocker blocker(m_controls.driveList);
        m_controls.driveList->setCurrentIndex(static_cast<int>(drive));
    }
    // The working folder's own answer is superseded by this request when it is still pending.
    if (m_folders->openFolder().isEmpty())
        candidates.append(workingFolder());
    m_folders->openFirstOf(candidates, root);
}

void FileSelectDialog::showOpenFolder()
{
    const QModelIndex open = m_folders->index(m_folders->openFolderRow());
    m_controls.folderList->setCurrentIndex(open);
    m_controls.folderList->scrollTo(open);
}

ConfirmFields FileSelectDialog::confirmFields() const
{
    return {m_controls.fileNameEdit->text(), m_files->folder(), m_folders->openFolder()};
}

void FileSelectDialog::pressConfirmButton(ConfirmButton button)
{
    const ConfirmFields fields = confirmFields();
    const std::optional<QString> path = testedPath(m_exchange, button, fields);
    if (!path) {
        // Decided without the file system; a test still pending is dropped.
        m_confirm.drop();
        applyConfirm(pressConfirm(m_exchange, button, fields, [](const QString&) {
            Q_ASSERT_X(false, "pressConfirmButton", "a rule tested a path it did not announce");
            return false;
        }));
        return;
    }
    const LatestRequest::Ticket press = m_confirm.start();
    runOnSiteIo(
        this, [tested = *path] { return fileExists(tested); },
        [this, press, button, fields](bool exists) {
            if (m_confirm.finish(press))
                applyConfirm(pressConfirm(m_exchange, button, fields,
                                          [exists](const QString&) { return exists; }));
        });
}

void FileSelectDialog::applyConfirm(ConfirmOutcome outcome)
{
    if (outcome.next == ConfirmNext::AskToContinue)
        outcome = answerContinue(m_exchange, askYesNo(this, outcome.message));
    else if (!outcome.message.isEmpty())
        showMessage(this, outcome.message);
    if (outcome.next == ConfirmNext::Close)
        accept();
}

void FileSelectDialog::done(int result)
{
    // However the dialog closes, an existence test still running no longer answers.
    m_confirm.drop();
    QDialog::done(result);
}

void FileSelectDialog::openChosenDrive()
{
    // A drive that is not ready leaves the folder and file lists where they were, without a
    // message.
    const int drive = m_controls.driveList->currentIndex();
    if (drive < 0 || drive >= m_drives.size())
        return;
    m_folders->openDrive(m_drives.at(drive).root);
}

void FileSelectDialog::listOpenFolderFiles()
{
    if (m_files->folder() != m_folders->openFolder())
        m_files->setFolder(m_folders->openFolder());
    showOpenFolder();
}

void FileSelectDialog::takeSelectedFile()
{
    // The selection, not the current row: focus alone makes a row current without choosing it.
    const QModelIndexList selected = m_controls.fileList->selectionModel()->selectedRows();
    if (!selected.isEmpty())
        m_controls.fileNameEdit->setText(m_files->fileName(selected.first().row()));
}

void FileSelectDialog::selectFileAndConfirm()
{
    takeSelectedFile();
    pressConfirmButton(ConfirmButton::Select);
}

void FileSelectDialog::addFolder()
{
    if (m_folderCommand.pending())
        return;
    const QString name = askText(this, kNewFolderPrompt, kNewFolderTitle);
    if (name.isEmpty())
        return;
    const LatestRequest::Ticket command = m_folderCommand.start();
    const QString folder = m_folders->openFolder();
    runOnSiteIo(
        this, [folder, name] { return createSubfolder(folder, name); },
        [this, command](bool created) {
            m_folderCommand.finish(command);
            if (!created) {
                showMessage(this, kNewFolderFailed);
                return;
            }
            m_folders->refresh();
            showOpenFolder();
        });
}

void FileSelectDialog::removeFolder()
{
    if (m_folderCommand.pending())
        return;
    const LatestRequest::Ticket command = m_folderCommand.start();
    const QString removed = m_folders->openFolder();
    runOnSiteIo(
        this, [removed] { return removeEmptyFolder(removed); },
        [this, command, removed](bool done) {
            m_folderCommand.finish(command);
            if (!done) {
                showMessage(this, kRemoveFolderFailed);
                return;
            }
            showMessage(this, removed);
            // Opening the working folder reads its subfolders afresh, which is the
            // refresh as well.
            connect(
                m_folders, &FolderListModel::openFinished, this,
                [this](bool opened) {
                    if (!opened)
                        showMessage(this, kRemoveFolderFailed);
                },
                Qt::SingleShotConnection);
            m_folders->open(workingFolder());
        });
}

void FileSelectDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_controls.cancelButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

// With no file selected yet, the first Down, Up, Home or Space selects the first file (and so
// fills the file name field), as list boxes of this kind do; afterwards the keys move one row as
// usual.
bool FileSelectDialog::selectsFirstFile(int key)
{
    const QListView* list = m_controls.fileList;
    const bool firstKey =
        key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_Home || key == Qt::Key_Space;
    if (!firstKey || list->selectionModel()->hasSelection() || m_files->rowCount() == 0)
        return false;
    list->selectionModel()->setCurrentIndex(m_files->index(0), QItemSelectionModel::ClearAndSelect);
    return true;
}

// The keyboard's way to open a folder, as a double-click does: Enter on a highlighted folder
// other than the open one. On the open folder Enter presses the default button, as anywhere.
bool FileSelectDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_controls.fileList && event->type() == QEvent::KeyPress &&
        selectsFirstFile(static_cast<QKeyEvent*>(event)->key()))
        return true;
    if (watched == m_controls.folderList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int row = m_controls.folderList->currentIndex().row();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && row >= 0 &&
            row != m_folders->openFolderRow()) {
            m_folders->open(m_folders->folderAt(row));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace card
