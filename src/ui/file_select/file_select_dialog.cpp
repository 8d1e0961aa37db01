#include "ui/file_select/file_select_dialog.h"

#include "core/dialog/file_list_model.h"
#include "core/dialog/folder_commands.h"
#include "core/dialog/folder_list_model.h"
#include "core/platform/file_exists.h"
#include "core/platform/twips.h"
#include "ui/common/accessible_names.h"
#include "ui/common/control_placement.h"
#include "ui/common/message_box.h"
#include "ui/common/window_caption.h"
#include "ui/file_select/folder_item_delegate.h"

#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

namespace card {

namespace {

constexpr int kClientWidthTwips = 4770;
constexpr int kClientHeightTwips = 3465;
constexpr int kFolderIconPixels = 12;

QListView* listView(QWidget* parent)
{
    auto* view = new QListView(parent);
    view->setUniformItemSizes(true); // keeps a folder of 100,000 entries instant to show
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    return view;
}

QString workingFolder()
{
    return QDir::toNativeSeparators(QDir::currentPath());
}

// Lists and the file name box have no caption of their own: they are named by their role in
// words. Labels are not named, their text is what a screen reader speaks.
void nameControlsWithoutCaption(const FileSelectControls& c)
{
    c.driveList->setAccessibleName(QStringLiteral("磁碟清單"));
    c.folderList->setAccessibleName(QStringLiteral("路徑清單"));
    c.fileList->setAccessibleName(QStringLiteral("檔案清單"));
    c.fileNameEdit->setAccessibleName(QStringLiteral("檔案名稱文字方塊"));
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
    setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    createControls();
    nameControlsWithoutCaption(m_controls);
    describeControlsByName(this);
    setFocusOrder();
    startOnWorkingFolder();
    connectEvents();
    runOpeningSteps();
}

FileSelectDialog::~FileSelectDialog() = default;

void FileSelectDialog::showModal(FileSelectExchange& exchange, QWidget* owner)
{
    FileSelectDialog dialog(exchange, owner);
    dialog.exec();
}

void FileSelectDialog::createControls()
{
    FileSelectControls& c = m_controls;
    c.driveCaption = place(new QLabel(QStringLiteral("選擇磁碟"), this), indexed("Label1", 0), 180,
                           225, 915, 240);
    c.driveList = place(new QComboBox(this), QStringLiteral("Drive1"), 120, 450, 1830, 300);
    c.folderCaption = place(new QLabel(QStringLiteral("選擇路徑"), this), indexed("Label1", 1), 180,
                            855, 915, 240);
    c.fileListCaption = place(new QLabel(QStringLiteral("檔案清單"), this), indexed("Label1", 2),
                              2160, 225, 915, 240);
    // The folder buttons lie beneath File1: created first, they are covered while it shows.
    c.addFolderButton = place(new QPushButton(QStringLiteral("新增資料夾"), this),
                              QStringLiteral("Cmd_Add"), 2205, 495, 1050, 420);
    c.removeFolderButton = place(new QPushButton(QStringLiteral("刪除資料夾"), this),
                                 QStringLiteral("Cmd_Del"), 2205, 1440, 1050, 420);
    createLists();
    c.fileNameCaption = place(new QLabel(QStringLiteral("檔案名稱:"), this), indexed("Label1", 3),
                              270, 2610, 915, 240);
    c.fileNameEdit = place(new QLineEdit(this), QStringLiteral("Text1"), 1125, 2565, 3390, 285);
    c.newButton = place(new QPushButton(QStringLiteral("新增"), this), indexed("Command1", 0), 795,
                        2985, 1095, 375);
    c.selectButton = place(new QPushButton(QStringLiteral("選擇"), this), indexed("Command1", 1),
                           2115, 3000, 1095, 375);
    c.cancelButton = place(new QPushButton(QStringLiteral("取消"), this), indexed("Command1", 2),
                           3435, 3000, 1095, 375);
    c.selectButton->setDefault(true);
}

void FileSelectDialog::createLists()
{
    FileSelectControls& c = m_controls;
    c.folderList = place(listView(this), QStringLiteral("Dir1"), 120, 1110, 1845, 1350);
    c.folderList->setModel(m_folders);
    c.folderList->setItemDelegate(new FolderItemDelegate(c.folderList));
    c.folderList->setIconSize(QSize(kFolderIconPixels, kFolderIconPixels)); // one text line per row
    c.fileList = place(listView(this), QStringLiteral("File1"), 2160, 450, 2355, 1830);
    c.fileList->setModel(m_files);
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
    const QString folder = workingFolder();
    m_drives = machineDrives();
    for (const Drive& drive : std::as_const(m_drives))
        m_controls.driveList->addItem(drive.name);
    m_controls.driveList->setCurrentIndex(static_cast<int>(driveIndexOf(m_drives, folder)));
    if (m_folders->open(folder))
        listOpenFolderFiles();
}

void FileSelectDialog::connectEvents()
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
    // A click, or a move of the selection by the keyboard, both put the file into Text1.
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
    if (!m_exchange.folder.isEmpty())
        openStartFolder(m_exchange.folder);
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
    // Each step that fails is skipped without a message: the lists stay where they were.
    const qsizetype drive = driveIndexOf(m_drives, folder);
    if (drive >= 0)
        m_controls.driveList->setCurrentIndex(static_cast<int>(drive));
    m_folders->open(folder);
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
    ConfirmOutcome outcome = pressConfirm(m_exchange, button, confirmFields(), &fileExists);
    if (outcome.next == ConfirmNext::AskToContinue)
        outcome = answerContinue(m_exchange, askYesNo(this, outcome.message));
    else if (!outcome.message.isEmpty())
        showMessage(this, outcome.message);
    if (outcome.next == ConfirmNext::Close)
        accept();
}

void FileSelectDialog::openChosenDrive()
{
    // A drive that is not ready leaves Dir1 and File1 where they were, without a message.
    const int drive = m_controls.driveList->currentIndex();
    if (drive >= 0 && drive < m_drives.size())
        m_folders->open(m_drives.at(drive).root);
}

void FileSelectDialog::listOpenFolderFiles()
{
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
    const QString name = askText(this, kNewFolderPrompt, kNewFolderTitle);
    if (name.isEmpty())
        return;
    if (!createSubfolder(m_folders->openFolder(), name)) {
        showMessage(this, kNewFolderFailed);
        return;
    }
    m_folders->refresh();
    showOpenFolder();
}

void FileSelectDialog::removeFolder()
{
    const QString removed = m_folders->openFolder();
    if (!removeEmptyFolder(removed)) {
        showMessage(this, kRemoveFolderFailed);
        return;
    }
    showMessage(this, removed);
    // Opening the working folder reads its subfolders afresh, which is the refresh as well.
    if (!m_folders->open(workingFolder()))
        showMessage(this, kRemoveFolderFailed);
}

void FileSelectDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_controls.cancelButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

// The keyboard's way to open a folder, as a double-click does: Enter on a highlighted folder
// other than the open one. On the open folder Enter presses the default button, as anywhere.
bool FileSelectDialog::eventFilter(QObject* watched, QEvent* event)
{
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
