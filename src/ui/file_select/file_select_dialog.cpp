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
    c.Drive1->setAccessibleName(QStringLiteral("磁碟清單"));
    c.Dir1->setAccessibleName(QStringLiteral("路徑清單"));
    c.File1->setAccessibleName(QStringLiteral("檔案清單"));
    c.Text1->setAccessibleName(QStringLiteral("檔案名稱文字方塊"));
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
    c.Label1[0] = place(new QLabel(QStringLiteral("選擇磁碟"), this), indexed("Label1", 0), 180,
                        225, 915, 240);
    c.Drive1 = place(new QComboBox(this), QStringLiteral("Drive1"), 120, 450, 1830, 300);
    c.Label1[1] = place(new QLabel(QStringLiteral("選擇路徑"), this), indexed("Label1", 1), 180,
                        855, 915, 240);
    c.Label1[2] = place(new QLabel(QStringLiteral("檔案清單"), this), indexed("Label1", 2), 2160,
                        225, 915, 240);
    // The folder buttons lie beneath File1: created first, they are covered while it shows.
    c.Cmd_Add = place(new QPushButton(QStringLiteral("新增資料夾"), this),
                      QStringLiteral("Cmd_Add"), 2205, 495, 1050, 420);
    c.Cmd_Del = place(new QPushButton(QStringLiteral("刪除資料夾"), this),
                      QStringLiteral("Cmd_Del"), 2205, 1440, 1050, 420);
    createLists();
    c.Label1[3] = place(new QLabel(QStringLiteral("檔案名稱:"), this), indexed("Label1", 3), 270,
                        2610, 915, 240);
    c.Text1 = place(new QLineEdit(this), QStringLiteral("Text1"), 1125, 2565, 3390, 285);
    c.Command1[0] = place(new QPushButton(QStringLiteral("新增"), this), indexed("Command1", 0),
                          795, 2985, 1095, 375);
    c.Command1[1] = place(new QPushButton(QStringLiteral("選擇"), this), indexed("Command1", 1),
                          2115, 3000, 1095, 375);
    c.Command1[2] = place(new QPushButton(QStringLiteral("取消"), this), indexed("Command1", 2),
                          3435, 3000, 1095, 375);
    c.Command1[1]->setDefault(true);
}

void FileSelectDialog::createLists()
{
    FileSelectControls& c = m_controls;
    c.Dir1 = place(listView(this), QStringLiteral("Dir1"), 120, 1110, 1845, 1350);
    c.Dir1->setModel(m_folders);
    c.Dir1->setItemDelegate(new FolderItemDelegate(c.Dir1));
    c.Dir1->setIconSize(QSize(kFolderIconPixels, kFolderIconPixels)); // one text line per row
    c.File1 = place(listView(this), QStringLiteral("File1"), 2160, 450, 2355, 1830);
    c.File1->setModel(m_files);
}

void FileSelectDialog::setFocusOrder()
{
    const FileSelectControls& c = m_controls;
    const std::array<QWidget*, 9> order = {c.File1,       c.Drive1,      c.Dir1,
                                           c.Command1[0], c.Command1[1], c.Command1[2],
                                           c.Text1,       c.Cmd_Add,     c.Cmd_Del};
    for (size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void FileSelectDialog::startOnWorkingFolder()
{
    const QString folder = workingFolder();
    m_drives = machineDrives();
    for (const Drive& drive : std::as_const(m_drives))
        m_controls.Drive1->addItem(drive.name);
    m_controls.Drive1->setCurrentIndex(static_cast<int>(driveIndexOf(m_drives, folder)));
    if (m_folders->open(folder))
        Dir1_Change();
}

void FileSelectDialog::connectEvents()
{
    const FileSelectControls& c = m_controls;
    for (int i = 0; i < 3; ++i)
        connect(c.Command1[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [this, i] { Command1_Click(i); });
    connect(c.Drive1, &QComboBox::currentIndexChanged, this, &FileSelectDialog::Drive1_Change);
    connect(m_folders, &FolderListModel::openFolderChanged, this, &FileSelectDialog::Dir1_Change);
    connect(c.Dir1, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        m_folders->open(m_folders->folderAt(index.row()));
    });
    c.Dir1->installEventFilter(this);
    // A click, or a move of the selection by the keyboard, both put the file into Text1.
    connect(c.File1, &QListView::clicked, this, &FileSelectDialog::File1_Click);
    connect(c.File1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FileSelectDialog::File1_Click);
    connect(c.File1, &QListView::doubleClicked, this, &FileSelectDialog::File1_DblClick);
    connect(c.Cmd_Add, &QPushButton::clicked, this, &FileSelectDialog::Cmd_Add_Click);
    connect(c.Cmd_Del, &QPushButton::clicked, this, &FileSelectDialog::Cmd_Del_Click);
}

void FileSelectDialog::runOpeningSteps()
{
    setCaption(this, m_exchange.title);
    if (m_exchange.mode == FileSelectMode::Load)
        m_controls.Command1[0]->hide();
    if (m_exchange.mode != FileSelectMode::Folder) {
        m_controls.File1->setFocus();
        return;
    }
    enterFolderMode();
    if (!m_exchange.folder.isEmpty())
        openStartFolder(m_exchange.folder);
}

void FileSelectDialog::enterFolderMode()
{
    const FileSelectControls& c = m_controls;
    for (QWidget* control : {static_cast<QWidget*>(c.Text1), static_cast<QWidget*>(c.Label1[3]),
                             static_cast<QWidget*>(c.Command1[0]), static_cast<QWidget*>(c.File1),
                             static_cast<QWidget*>(c.Label1[2])})
        control->hide();
    c.Drive1->setFocus();
}

void FileSelectDialog::openStartFolder(const QString& folder)
{
    // Each step that fails is skipped without a message: the lists stay where they were.
    const qsizetype drive = driveIndexOf(m_drives, folder);
    if (drive >= 0)
        m_controls.Drive1->setCurrentIndex(static_cast<int>(drive));
    m_folders->open(folder);
}

void FileSelectDialog::showOpenFolder()
{
    const QModelIndex open = m_folders->index(m_folders->openFolderRow());
    m_controls.Dir1->setCurrentIndex(open);
    m_controls.Dir1->scrollTo(open);
}

ConfirmFields FileSelectDialog::confirmFields() const
{
    return {m_controls.Text1->text(), m_files->folder(), m_folders->openFolder()};
}

void FileSelectDialog::Command1_Click(int index)
{
    ConfirmOutcome outcome =
        pressConfirm(m_exchange, static_cast<ConfirmButton>(index), confirmFields(), &fileExists);
    if (outcome.next == ConfirmNext::AskToContinue)
        outcome = answerContinue(m_exchange, askYesNo(this, outcome.message));
    else if (!outcome.message.isEmpty())
        showMessage(this, outcome.message);
    if (outcome.next == ConfirmNext::Close)
        accept();
}

void FileSelectDialog::Drive1_Change()
{
    // A drive that is not ready leaves Dir1 and File1 where they were, without a message.
    const int drive = m_controls.Drive1->currentIndex();
    if (drive >= 0 && drive < m_drives.size())
        m_folders->open(m_drives.at(drive).root);
}

void FileSelectDialog::Dir1_Change()
{
    m_files->setFolder(m_folders->openFolder());
    showOpenFolder();
}

void FileSelectDialog::File1_Click()
{
    // The selection, not the current row: focus alone makes a row current without choosing it.
    const QModelIndexList selected = m_controls.File1->selectionModel()->selectedRows();
    if (!selected.isEmpty())
        m_controls.Text1->setText(m_files->fileName(selected.first().row()));
}

void FileSelectDialog::File1_DblClick()
{
    File1_Click();
    Command1_Click(static_cast<int>(ConfirmButton::Select));
}

void FileSelectDialog::Cmd_Add_Click()
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

void FileSelectDialog::Cmd_Del_Click()
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
        m_controls.Command1[2]->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

// The keyboard's way to open a folder, as a double-click does: Enter on a highlighted folder
// other than the open one. On the open folder Enter presses the default button, as anywhere.
bool FileSelectDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_controls.Dir1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int row = m_controls.Dir1->currentIndex().row();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && row >= 0 &&
            row != m_folders->openFolderRow()) {
            m_folders->open(m_folders->folderAt(row));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace card
