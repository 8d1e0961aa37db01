#include "ui/file_select/file_select_dialog.h"

#include "core/dialog/file_list_model.h"
#include "core/dialog/folder_list_model.h"
#include "core/platform/twips.h"
#include "support/controlled_file_access.h"
#include "support/modal_script.h"
#include "support/temp_site.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

using card::FileSelectDialog;
using card::FileSelectExchange;
using card::FileSelectMode;
using card::FileSelectResult;
using card::test::ModalScript;
using card::test::pressButton;

namespace {

const QString kOk = QStringLiteral("確定");
const QString kCancel = QStringLiteral("取消");

FileSelectDialog& dialogOf(QWidget* modal)
{
    auto* dialog = qobject_cast<FileSelectDialog*>(modal);
    if (!dialog)
        qFatal("the modal window is not file_select");
    return *dialog;
}

FileSelectExchange exchangeFor(const QString& title, FileSelectMode mode, const QString& path = {},
                               const QString& folder = {})
{
    return {title, mode, FileSelectResult::None, path, folder};
}

// Waits until the dialog's lists have caught up with it: the drives known, no folder waiting to
// be opened, the open folder's subfolders and files read.
bool settled(FileSelectDialog& dialog)
{
    return QTest::qWaitFor([&dialog] {
        const card::FolderListModel& folders = dialog.folders();
        return dialog.controls().driveList->count() > 0 && !folders.openPending() &&
               folders.scanComplete() && dialog.files().scanComplete() &&
               dialog.files().folder() == folders.openFolder();
    });
}

// Opens folder in the folder list and waits until the lists show it.
bool openAndSettle(FileSelectDialog& dialog, const QString& folder)
{
    dialog.folders().open(folder);
    return settled(dialog) && dialog.folders().openFolder() == folder;
}

// Presses a confirm button and waits until the existence test it started has been answered.
void pressAndSettle(QWidget* modal, const QString& button)
{
    pressButton(modal, button);
    QTRY_VERIFY(!dialogOf(modal).confirmPending());
}

void clickRow(QListView* view, int row, bool twice = false)
{
    const QPoint centre = view->visualRect(view->model()->index(row, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
    if (twice)
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
}

int rowOf(const QAbstractItemModel& model, const QString& text)
{
    for (int row = 0; row < model.rowCount(); ++row) {
        if (model.index(row, 0).data().toString() == text)
            return row;
    }
    return -1;
}

} // namespace

class TestFileSelectDialog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void controls_data();
    void controls();
    void focusOrder();
    void modes_data();
    void modes();
    void captionIsTheRequestedTitle_data();
    void captionIsTheRequestedTitle();
    void enterSelectsAndEscCancels_data();
    void enterSelectsAndEscCancels();
    void frameCloseWritesNothing();
    void refusedSelectShowsItsMessage_data();
    void refusedSelectShowsItsMessage();
    void newNameOnExistingFileAsks();
    void doubleClickOnFileSelectsIt();
    void firstKeySelectsTheFirstFile_data();
    void firstKeySelectsTheFirstFile();
    void browsingMovesTheListsInStep();
    void enterOnAnotherFolderOpensIt();
    void driveChangeOpensItsRoot();
    void folderModeReturnsTheOpenFolder();
    void folderModeStartFolder_data();
    void folderModeStartFolder();
    void newFolder_data();
    void newFolder();
    void deleteFolder_data();
    void deleteFolder();
    void closesWhileTheShareHangs_data();
    void closesWhileTheShareHangs();
    void laterSelectReplacesAPendingOne();

private:
    std::unique_ptr<card::test::TempSite> m_site;
    QString m_previousFolder;
};

void TestFileSelectDialog::init()
{
    m_site = std::make_unique<card::test::TempSite>();
    m_site->write("site.spf", "x");
    m_site->write("other.SPF", "x");
    m_site->write("mixed.Spf", "x");
    m_site->write("notes.txt", "x");
    m_site->write("sub/inner.spf", "x");
    m_previousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_site->path()));
}

void TestFileSelectDialog::cleanup()
{
    QDir::setCurrent(m_previousFolder);
    m_site.reset();
}

void TestFileSelectDialog::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("drive label") << "Label1(0)"
                                 << "選擇磁碟" << QRect(180, 225, 915, 240);
    QTest::newRow("drive list") << "Drive1"
                                << "" << QRect(120, 450, 1830, 300);
    QTest::newRow("path label") << "Label1(1)"
                                << "選擇路徑" << QRect(180, 855, 915, 240);
    QTest::newRow("folder list") << "Dir1"
                                 << "" << QRect(120, 1110, 1845, 1350);
    QTest::newRow("file label") << "Label1(2)"
                                << "檔案清單" << QRect(2160, 225, 915, 240);
    QTest::newRow("file list") << "File1"
                               << "" << QRect(2160, 450, 2355, 1830);
    QTest::newRow("new folder") << "Cmd_Add"
                                << "新增資料夾" << QRect(2205, 495, 1050, 420);
    QTest::newRow("delete folder") << "Cmd_Del"
                                   << "刪除資料夾" << QRect(2205, 1440, 1050, 420);
    QTest::newRow("name label") << "Label1(3)"
                                << "檔案名稱:" << QRect(270, 2610, 915, 240);
    QTest::newRow("name box") << "Text1"
                              << "" << QRect(1125, 2565, 3390, 285);
    QTest::newRow("new") << "Command1(0)"
                         << "新增" << QRect(795, 2985, 1095, 375);
    QTest::newRow("select") << "Command1(1)"
                            << "選擇" << QRect(2115, 3000, 1095, 375);
    QTest::newRow("cancel") << "Command1(2)"
                            << "取消" << QRect(3435, 3000, 1095, 375);
}

void TestFileSelectDialog::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    FileSelectExchange exchange = exchangeFor("t", FileSelectMode::General);
    FileSelectDialog dialog(exchange, nullptr);
    QCOMPARE(dialog.objectName(), QStringLiteral("file_select"));
    QCOMPARE(dialog.size(), QSize(318, 231));
    auto* control = dialog.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(),
             card::twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    QString text;
    if (auto* label = qobject_cast<QLabel*>(control))
        text = label->text();
    else if (auto* button = qobject_cast<QPushButton*>(control))
        text = button->text();
    QCOMPARE(text, caption);
}

void TestFileSelectDialog::focusOrder()
{
    FileSelectExchange exchange = exchangeFor("t", FileSelectMode::General);
    FileSelectDialog dialog(exchange, nullptr);
    QStringList order;
    QWidget* widget = dialog.controls().fileList;
    do {
        if (widget->parentWidget() == &dialog && (widget->focusPolicy() & Qt::TabFocus))
            order.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != dialog.controls().fileList);
    QCOMPARE(order, (QStringList{"File1", "Drive1", "Dir1", "Command1(0)", "Command1(1)",
                                 "Command1(2)", "Text1", "Cmd_Add", "Cmd_Del"}));
}

void TestFileSelectDialog::modes_data()
{
    QTest::addColumn<FileSelectMode>("mode");
    QTest::addColumn<FileSelectResult>("earlier"); // the result an earlier opening left
    QTest::addColumn<QStringList>("hidden");
    QTest::addColumn<QString>("firstFocus");
    const FileSelectResult none = FileSelectResult::None;
    QTest::newRow("load") << FileSelectMode::Load << none << QStringList{"Command1(0)"} << "File1";
    QTest::newRow("general") << FileSelectMode::General << none << QStringList{} << "File1";
    QTest::newRow("general with a result code")
        << FileSelectMode::General << FileSelectResult::Selected << QStringList{} << "File1";
    QTest::newRow("folder") << FileSelectMode::Folder << none
                            << QStringList{"Text1", "Label1(3)", "Command1(0)", "File1",
                                           "Label1(2)"}
                            << "Drive1";
}

void TestFileSelectDialog::modes()
{
    QFETCH(FileSelectMode, mode);
    QFETCH(FileSelectResult, earlier);
    QFETCH(QStringList, hidden);
    QFETCH(QString, firstFocus);
    FileSelectExchange exchange = exchangeFor("t", mode);
    exchange.result = earlier;
    QString focused;
    QStringList hiddenSeen;
    QStringList covered;
    ModalScript modals;
    modals.then([&](QWidget* modal) {
        // Under load the dialog may be shown before the window system has activated it.
        if (QTest::qWaitForWindowActive(modal))
            focused =
                QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
        const QList<QWidget*> children = modal->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* child : children) {
            if (child->isHidden())
                hiddenSeen.append(child->objectName());
            // What lies under the centre of a folder button: itself only when the file list is
            // hidden.
            if (child->objectName().startsWith(QLatin1String("Cmd_"))) {
                QWidget* top = modal->childAt(child->geometry().center());
                if (top && top != child && !child->isAncestorOf(top))
                    covered.append(child->objectName());
            }
        }
        pressButton(modal, "Command1(2)");
    });
    FileSelectDialog::showModal(exchange, nullptr);
    QCOMPARE(modals.seen().size(), 1);
    hiddenSeen.sort();
    hidden.sort();
    QCOMPARE(hiddenSeen, hidden);
    QCOMPARE(focused, firstFocus);
    QCOMPARE(covered.isEmpty(), mode == FileSelectMode::Folder);
}

void TestFileSelectDialog::captionIsTheRequestedTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("load title") << "伺服器參數檔載入";
    QTest::newRow("empty title") << "";
}

void TestFileSelectDialog::captionIsTheRequestedTitle()
{
    QFETCH(QString, title);
    FileSelectExchange exchange = exchangeFor(title, FileSelectMode::Load);
    ModalScript modals;
    modals.press("Command1(2)");
    FileSelectDialog::showModal(exchange, nullptr);
    QCOMPARE(modals.seen().size(), 1);
    QCOMPARE(modals.seen().first().title, title);
}

void TestFileSelectDialog::enterSelectsAndEscCancels_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<FileSelectResult>("result");
    QTest::addColumn<QString>("path");
    QTest::newRow("enter in the name box")
        << int(Qt::Key_Return) << FileSelectResult::Selected << "@/site.spf";
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << FileSelectResult::Selected
                                  << "@/site.spf";
    QTest::newRow("esc") << int(Qt::Key_Escape) << FileSelectResult::Cancelled << "";
}

void TestFileSelectDialog::enterSelectsAndEscCancels()
{
    QFETCH(int, key);
    QFETCH(FileSelectResult, result);
    QFETCH(QString, path);
    FileSelectExchange exchange = exchangeFor("t", FileSelectMode::Load, "/earlier.spf");
    ModalScript modals;
    modals.then([key](QWidget* modal) {
        QLineEdit* text = dialogOf(modal).controls().fileNameEdit;
        text->setText("site.spf");
        QTest::keyClick(text, Qt::Key(key));
        QTRY_VERIFY(!dialogOf(modal).confirmPending());
    });
    FileSelectDialog::showModal(exchange, nullptr);
    QCOMPARE(modals.seen().size(), 1);
    QCOMPARE(exchange.result, result);
    QCOMPARE(exchange.path, QString(path).replace(u'@', m_site->path()));
}

void TestFileSelectDialog::frameCloseWritesNothing()
{
    FileSelectExchange exchange = exchangeFor("t", FileSelectMode::Load, "/earlier.spf", "/kept");
    ModalScript modals;
    modals.then([](QWidget* modal) {
        dialogOf(modal).controls().fileNameEdit->setText("absent.spf");
        pressAndSettle(modal, "Command1(1)");
        modal->close();
    });
    modals.press(kOk);
    FileSelectDialog::showModal(exchange, nullptr);
    QCOMPARE(modals.seen().size(), 2);
    QCOMPARE(exchange.result, FileSelectResult::None);
    QCOMPARE(exchange.path, m_site->filePath("absent.spf"));
    QCOMPARE(exchange.folder, QStringLiteral("/kept"));
}

void TestFileSelectDialog::refusedSelectShowsItsMessage_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty name") << ""
                                << "尚未選擇或輸入參數檔案名稱";
    QTest::newRow("missing file") << "absent.spf"
                                  << "選擇或輸入參數檔案名稱不存在";
    QTest::newRow("pattern") << "*.spf"
                             << "選擇或輸入參數檔案名稱不存在";
    QTest::newRow("folder") << "sub"
                            << "選擇或輸入參數檔案名稱不存在";
}

void TestFileSelectDialog::refusedSelectShowsItsMessage()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    FileSelectExchange exchange = exchangeFor("t", FileSelectMode::Load);
    bool stayedOpen = false;
    QString textAfter;
    ModalScript modals;
    modals.then([&](QWidget* modal) {
        dialogOf(modal).controls().fileNameEdit->setText(typed);
        pressAndSettle(modal, "Command1(1)");
        stayedOpen = modal->isVisible();
        textAfter = dialogOf(modal).controls().fileNameEdit->text();
        pressButton(modal, "Command1(2)");
    });
    modals.press(kOk);
    FileSelectDialog::showModal(exchange, nullptr);
    QCOMPARE(modals.seen().size(), 2);
    QCOMPARE(modals.seen().at(1).text, message);
    QCOMPARE(modals.seen().at(1).title, QStringLiteral("刷卡影像資料查詢"));
    QVERIFY(stayedOpen);
    QCOMPARE(textAfter, typed);
    QCOMPARE(exchange.result, FileSelectResult::Cancelled);
}

void TestFileSelectDialog::newNameOnExistingFileAsks()
{
    FileSelectExchange exchange = exchangeFor("t", FileSelectMode::General);
    FileSelectResult resultAfterNo = FileSelectResult::NewName;
    ModalScript modals;
    modals.then([&](QWidget* modal) {
        dialogOf(modal).controls().fileNameEdit->setText("site");
        pressAndSettle(modal, "Command1(0)");
        resultAfterNo = exchange.result;
        pressAndSettle(modal, "Command1(0)");
    });
    modals.press(QStringLiteral("否")).press(QStringLiteral("是"));
    FileSelectDialog::showModal(exchange, nullptr);
    QCOMPARE(modals.seen().size(), 3);
    QCOMPARE(modals.seen().at(1).text,
             QStringLiteral("選擇或輸入參數檔案名稱已存在，是否繼續進行?"));
    QCOMPARE(resultAfterNo, FileSelectResult::None);
    QCOMPARE(exchange.result, FileSelectResult::NewName);
    QCOMPARE(exchange.path, m_site->filePath("site.spf"));
}

void TestFileSelectDialog::doubleClickOnFileSelectsIt()
{
    FileSelectExchange exchange = exchangeFor("t", FileSelectMode::Load);
    QStringList listed;
    ModalScript modals;
    modals.then([&](QWidget* modal) {
        FileSelectDialog& dialog = dialogOf(modal);
        QVERIFY(settled(dialog));
        for (int row = 0; row < dialog.files().rowCount(); ++row)
            listed.append(dialog.files().fileName(row));
        clickRow(dialog.controls().fileList, int(listed.indexOf("site.spf")), true);
        QTRY_VERIFY(!dialog.confirmPending());
    });
    FileSelectDialog::showModal(exchange, nullptr);
    QCOMPARE(listed, (QStringList{"other.SPF", "site.spf"}));
    QCOMPARE(modals.seen().size(), 1);
    QCOMPARE(exchange.result, FileSelectResult::Selected);
    QCOMPARE(exchange.path, m_site->filePath("site.spf"));
}

void TestFileSelectDialog::firstKeySelectsTheFirstFile_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QStringList>(
        "shown"); // the file name field after the key, then after one more Down
    const QStringList one{"a.spf"};
    const QStringList three{"a.spf", "b.spf", "c.spf"};
    for (auto [name, key] : {std::pair{"Down", Qt::Key_Down}, std::pair{"Up", Qt::Key_Up},
                             std::pair{"Home", Qt::Key_Home}, std::pair{"Space", Qt::Key_Space}}) {
        QTest::addRow("one file, %s", name) << one << key << QStringList{"a.spf", "a.spf"};
        QTest::addRow("three files, %s", name) << three << key << QStringList{"a.spf", "b.spf"};
    }
}

void TestFileSelectDialog::firstKeySelectsTheFirstFile()
{
    QFETCH(QStringList, files);
    QFETCH(Qt::Key, key);
    QFETCH(QStringList, shown);
    for (const QString& file : files)
        m_site->write("keys/" + file, "x");
    FileSelectExchange exchange = exchangeFor("t", FileSelectMode::Load);
    FileSelectDialog dialog(exchange, nullptr);
    QVERIFY(openAndSettle(dialog, m_site->filePath("keys")));
    dialog.show();
    QListView* list = dialog.controls().fileList;
    QCOMPARE(dialog.files().rowCount(), files.size());
    list->setFocus();
    QStringList texts;
    QTest::keyClick(list, key);
    texts << dialog.controls().fileNameEdit->text();
    QTest::keyClick(list, Qt::Key_Down);
    texts << dialog.controls().fileNameEdit->text();
    QCOMPARE(texts, shown);
}

void TestFileSelectDialog::enterOnAnotherFolderOpensIt()
{
    FileSelectExchange exchange = exchangeFor("t", FileSelectMode::Load);
    QString openedByEnter;
    ModalScript modals;
    modals.then([&](QWidget* modal) {
        FileSelectDialog& dialog = dialogOf(modal);
        QVERIFY(settled(dialog));
        QListView* folders = dialog.controls().folderList;
        folders->setFocus();
        folders->setCurrentIndex(folders->model()->index(rowOf(*folders->model(), "sub"), 0));
        QTest::keyClick(folders, Qt::Key_Return);
        QVERIFY(settled(dialog));
        openedByEnter = dialog.folders().openFolder();
        // On the open folder Enter presses "選擇", here with no file name.
        QTest::keyClick(folders, Qt::Key_Return);
        pressButton(modal, "Command1(2)");
    });
    modals.press(kOk);
    FileSelectDialog::showModal(exchange, nullptr);
    QCOMPARE(openedByEnter, m_site->filePath("sub"));
    QCOMPARE(modals.seen().size(), 2);
    QCOMPARE(modals.seen().last().text, QStringLiteral("尚未選擇或輸入參數檔案名稱"));
    QCOMPARE(exchange.result, FileSelectResult::Cancelled);
}

void TestFileSelectDialog::browsingMovesTheListsInStep()
{
    FileSelectExchange exchange = exchangeFor("t", FileSelectMode::Load);
    FileSelectDialog dialog(exchange, nullptr);
    const card::FileSelectControls& c = dialog.controls();
    QVERIFY(settled(dialog));
    QCOMPARE(dialog.folders().openFolder(), m_site->path());
    QCOMPARE(dialog.files().folder(), m_site->path());
    QVERIFY(c.fileNameEdit->text().isEmpty());

    clickRow(c.fileList, 0);
    QCOMPARE(c.fileNameEdit->text(), QStringLiteral("other.SPF"));

    // A single click only highlights a folder; a double-click opens it.
    const int sub = rowOf(dialog.folders(), "sub");
    QVERIFY(sub > 0);
    clickRow(c.folderList, sub);
    QCOMPARE(dialog.folders().openFolder(), m_site->path());
    clickRow(c.folderList, sub, true);
    QVERIFY(settled(dialog));
    QCOMPARE(dialog.folders().openFolder(), m_site->filePath("sub"));
    QCOMPARE(dialog.files().folder(), m_site->filePath("sub"));
    QCOMPARE(dialog.files().fileName(0), QStringLiteral("inner.spf"));
    QCOMPARE(c.fileNameEdit->text(), QStringLiteral("other.SPF"));
    QCOMPARE(c.driveList->currentIndex(), 0);
}

void TestFileSelectDialog::driveChangeOpensItsRoot()
{
    FileSelectExchange exchange = exchangeFor("t", FileSelectMode::Load);
    FileSelectDialog dialog(exchange, nullptr);
    QVERIFY(settled(dialog));
    dialog.openChosenDrive();
    QVERIFY(settled(dialog));
    QCOMPARE(dialog.folders().openFolder(), QDir::toNativeSeparators(QDir::rootPath()));
    QCOMPARE(dialog.files().folder(), dialog.folders().openFolder());
}

void TestFileSelectDialog::folderModeReturnsTheOpenFolder()
{
    FileSelectExchange exchange = exchangeFor("t", FileSelectMode::Folder, "/earlier.spf");
    ModalScript modals;
    modals.then([](QWidget* modal) {
        FileSelectDialog& dialog = dialogOf(modal);
        QVERIFY(settled(dialog));
        QVERIFY(openAndSettle(dialog, dialog.folders().folderAt(rowOf(dialog.folders(), "sub"))));
        // Highlighting the parent folder does not open it.
        clickRow(dialog.controls().folderList, dialog.folders().openFolderRow() - 1);
        pressButton(modal, "Command1(1)");
    });
    FileSelectDialog::showModal(exchange, nullptr);
    QCOMPARE(exchange.result, FileSelectResult::None);
    QCOMPARE(exchange.folder, m_site->filePath("sub"));
    QCOMPARE(exchange.path, QStringLiteral("/earlier.spf"));
}

void TestFileSelectDialog::folderModeStartFolder_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("returned");
    QTest::newRow("start folder opened") << "@/sub"
                                         << "Command1(1)"
                                         << "@/sub"
                                         << "@/sub";
    QTest::newRow("no start folder") << ""
                                     << "Command1(1)"
                                     << "@"
                                     << "@";
    QTest::newRow("missing start folder") << "@/missing"
                                          << "Command1(1)"
                                          << "@"
                                          << "@";
    QTest::newRow("cancel") << "@/sub"
                            << "Command1(2)"
                            << "@/sub"
                            << "";
}

void TestFileSelectDialog::folderModeStartFolder()
{
    QFETCH(QString, start);
    QFETCH(QString, button);
    QFETCH(QString, opened);
    QFETCH(QString, returned);
    const QString site = m_site->path();
    FileSelectExchange exchange =
        exchangeFor("t", FileSelectMode::Folder, {}, start.replace(u'@', site));
    QString openAtStart;
    ModalScript modals;
    modals.then([&](QWidget* modal) {
        QVERIFY(settled(dialogOf(modal)));
        openAtStart = dialogOf(modal).folders().openFolder();
        pressButton(modal, button);
    });
    FileSelectDialog::showModal(exchange, nullptr);
    QCOMPARE(modals.seen().size(), 1);
    QCOMPARE(openAtStart, opened.replace(u'@', site));
    QCOMPARE(exchange.result, FileSelectResult::None);
    QCOMPARE(exchange.folder, returned.replace(u'@', site));
}

void TestFileSelectDialog::newFolder_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("inputButton");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("created");
    QTest::newRow("new name") << "made" << kOk << "" << true;
    QTest::newRow("cancelled") << "made" << kCancel << "" << false;
    QTest::newRow("existing folder") << "sub" << kOk << "資料夾已存在或命名不符規則" << false;
    QTest::newRow("nested path") << "a/b" << kOk << "資料夾已存在或命名不符規則" << false;
}

void TestFileSelectDialog::newFolder()
{
    QFETCH(QString, entry);
    QFETCH(QString, inputButton);
    QFETCH(QString, message);
    QFETCH(bool, created);
    const QStringList before =
        QDir(m_site->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    FileSelectExchange exchange = exchangeFor("t", FileSelectMode::Folder);
    QString openAfter;
    int listedRow = -1;
    ModalScript modals;
    modals.then([&](QWidget* modal) {
        FileSelectDialog& dialog = dialogOf(modal);
        QVERIFY(settled(dialog));
        pressButton(modal, "Cmd_Add");
        QTRY_VERIFY(!dialog.folderCommandPending());
        QVERIFY(settled(dialog));
        openAfter = dialog.folders().openFolder();
        listedRow = rowOf(dialog.folders(), entry);
        pressButton(modal, "Command1(2)");
    });
    modals.enter(entry, inputButton);
    if (!message.isEmpty())
        modals.press(kOk);
    FileSelectDialog::showModal(exchange, nullptr);

    QCOMPARE(modals.seen().size(), message.isEmpty() ? 2 : 3);
    QCOMPARE(modals.seen().at(1).title, QStringLiteral("New_Folder"));
    QCOMPARE(modals.seen().at(1).text, QStringLiteral("請輸入新的資料夾名稱"));
    if (!message.isEmpty())
        QCOMPARE(modals.seen().at(2).text, message);
    QCOMPARE(openAfter, m_site->path());
    QStringList after = QDir(m_site->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    if (created) {
        QVERIFY(QFileInfo(m_site->filePath(entry)).isDir());
        QVERIFY(listedRow > 0);
        after.removeOne(entry);
    }
    QCOMPARE(after, before);
}

void TestFileSelectDialog::deleteFolder_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("removed");
    QTest::newRow("empty folder") << "" << true;
    QTest::newRow("folder with a filled subfolder") << "deep/b.txt" << false;
}

void TestFileSelectDialog::deleteFolder()
{
    QFETCH(QString, content);
    QFETCH(bool, removed);
    const QString target = m_site->makeFolder("sub/target");
    if (!content.isEmpty())
        m_site->write("sub/target/" + content, "x");
    FileSelectExchange exchange = exchangeFor("t", FileSelectMode::Folder);
    QString openAfter;
    QString filesAfter;
    ModalScript modals;
    modals.then([&](QWidget* modal) {
        FileSelectDialog& dialog = dialogOf(modal);
        QVERIFY(openAndSettle(dialog, target));
        // A highlighted subfolder changes nothing: the open folder is the one to remove.
        if (dialog.folders().rowCount() > dialog.folders().openFolderRow() + 1)
            clickRow(dialog.controls().folderList, dialog.folders().openFolderRow() + 1);
        pressButton(modal, "Cmd_Del");
        QTRY_VERIFY(!dialog.folderCommandPending());
        QVERIFY(settled(dialog));
        openAfter = dialog.folders().openFolder();
        filesAfter = dialog.files().folder();
        pressButton(modal, "Command1(2)");
    });
    modals.press(kOk);
    FileSelectDialog::showModal(exchange, nullptr);

    QCOMPARE(modals.seen().size(), 2);
    QCOMPARE(modals.seen().at(1).text,
             removed ? target : QStringLiteral("該資料夾非空資料夾，無法進行刪除"));
    QCOMPARE(QFileInfo(target).isDir(), !removed);
    if (!content.isEmpty())
        QVERIFY(QFileInfo::exists(target + u'/' + content));
    QCOMPARE(openAfter, removed ? m_site->path() : target);
    QCOMPARE(filesAfter, openAfter);
}

void TestFileSelectDialog::closesWhileTheShareHangs_data()
{
    QTest::addColumn<QString>("closing");
    QTest::addColumn<FileSelectResult>("result");
    QTest::newRow("cancel button") << "Command1(2)" << FileSelectResult::Cancelled;
    QTest::newRow("esc") << "Esc" << FileSelectResult::Cancelled;
    QTest::newRow("frame close box") << "frame" << FileSelectResult::None;
}

void TestFileSelectDialog::closesWhileTheShareHangs()
{
    QFETCH(QString, closing);
    QFETCH(FileSelectResult, result);
    card::test::ControlledFileAccess access;
    FileSelectExchange exchange = exchangeFor("t", FileSelectMode::Load);
    QStringList shownWhileHeld;
    ModalScript modals;
    modals.then([&](QWidget* modal) {
        FileSelectDialog& dialog = dialogOf(modal);
        QVERIFY(settled(dialog));
        // From now on the site's share stops answering: the folder listing and the existence
        // test of a press both hang.
        access.hang(m_site->path());
        dialog.folders().refresh();
        dialog.controls().fileNameEdit->setText("site.spf");
        pressButton(modal, "Command1(1)");
        QTRY_COMPARE(access.held(), 2);
        QVERIFY(dialog.confirmPending());
        for (int row = 0; row < dialog.folders().rowCount(); ++row)
            shownWhileHeld.append(dialog.folders().index(row).data().toString());
        if (closing == u"Esc")
            QTest::keyClick(dialog.controls().fileNameEdit, Qt::Key_Escape);
        else if (closing == u"frame")
            modal->close();
        else
            pressButton(modal, closing);
        QVERIFY(!modal->isVisible());
    });
    FileSelectDialog::showModal(exchange, nullptr);
    QCOMPARE(modals.seen().size(), 1);
    QCOMPARE(exchange.result, result);
    QCOMPARE(exchange.path, QString());
    // The chain down to the open folder stays; its subfolders wait for the share.
    QCOMPARE(shownWhileHeld.size(), card::folderChain(m_site->path()).size());
}

// Enter on a typed name, then a double-click on another file while the first is tested.
void TestFileSelectDialog::laterSelectReplacesAPendingOne()
{
    card::test::ControlledFileAccess access;
    FileSelectExchange exchange = exchangeFor("t", FileSelectMode::Load);
    FileSelectDialog dialog(exchange, nullptr);
    QVERIFY(openAndSettle(dialog, m_site->path()));
    dialog.show();
    access.hang("site.spf");
    dialog.controls().fileNameEdit->setText("site.spf");
    dialog.pressConfirmButton(card::ConfirmButton::Select);
    QTRY_COMPARE(access.held(), 1);
    clickRow(dialog.controls().fileList, rowOf(dialog.files(), "other.SPF"), true);
    QTRY_COMPARE(exchange.path, m_site->filePath("other.SPF"));
}

QTEST_MAIN(TestFileSelectDialog)
#include "tst_file_select_dialog.moc"
