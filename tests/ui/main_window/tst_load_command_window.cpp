#include "ui/main_window/card_image_window.h"

#include "core/dialog/file_list_model.h"
#include "support/modal_script.h"
#include "support/settle.h"
#include "support/temp_site.h"

#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QWindow>

using card::CardImageWindow;
using card::test::ModalScript;

namespace {

const QString kOk = QStringLiteral("確定");

QByteArray values(const char* prefix, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += prefix + QByteArray::number(i) + "\r\n";
    return bytes;
}

// One opening of the dialog: "cancel", "close" (the frame) or "pick <name>".
void answerOpening(ModalScript& modals, const QString& action)
{
    if (action == u"cancel") {
        modals.press("Command1(2)");
    } else if (action == u"close") {
        modals.close();
    } else {
        const QString name = action.section(u' ', 1);
        modals.then([name](QWidget* modal) {
            modal->findChild<QLineEdit*>("Text1")->setText(name);
            card::test::pressButton(modal, "Command1(1)");
            QTRY_VERIFY(!modal->isVisible()); // the file's existence test has come back
        });
        if (name == u"short.spf")
            modals.press(kOk); // readParameters's own message
    }
}

// The caption as the window system is given it to show.
QString shownCaption(const QWidget& window)
{
    return window.windowHandle()->title();
}

} // namespace

class TestLoadCommandWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startupOpensTheDialogOnTheWorkingFolder();
    void loads_data();
    void loads();

private:
    std::unique_ptr<card::test::TempSite> m_site;
    QString m_folder; // the working folder, whose name Qt would read as a modified mark
    QString m_previousFolder;
};

void TestLoadCommandWindow::init()
{
    m_site = std::make_unique<card::test::TempSite>();
    m_folder = m_site->makeFolder("[*]site");
    m_site->write("[*]site/good.spf", values("g", 26));
    m_site->write("[*]site/short.spf", values("s", 10));
    m_previousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_folder));
}

void TestLoadCommandWindow::cleanup()
{
    QDir::setCurrent(m_previousFolder);
    m_site.reset();
}

void TestLoadCommandWindow::startupOpensTheDialogOnTheWorkingFolder()
{
    CardImageWindow window;
    window.createWinId();
    QStringList listed;
    bool windowShown = true;
    ModalScript modals;
    modals.then([&](QWidget* modal) {
        windowShown = window.isVisible();
        const auto* files = qobject_cast<const card::FileListModel*>(
            modal->findChild<QListView*>("File1")->model());
        QTRY_VERIFY(files->folder() == m_folder && files->scanComplete());
        for (int row = 0; row < files->rowCount(); ++row)
            listed.append(files->index(row, 0).data().toString());
        modal->findChild<QLineEdit*>("Text1")->setText("good.spf");
        card::test::pressButton(modal, "Command1(1)");
        QTRY_VERIFY(!modal->isVisible());
    });
    window.runStartup();
    QVERIFY(card::test::settled(window));
    QVERIFY(!windowShown);
    QCOMPARE(listed, (QStringList{"good.spf", "short.spf"}));
    QCOMPARE(shownCaption(window), QStringLiteral("刷卡影像資料查詢：") + m_folder + "/good.spf");
    QCOMPARE(window.state().parameters[card::kPhotoFolderSlot], QStringLiteral("g19"));
}

void TestLoadCommandWindow::loads_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("para0");
    QTest::addColumn<QString>("para17");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<card::FileSelectResult>("result");

    const QString good = QStringLiteral("刷卡影像資料查詢：@/good.spf");
    const QString bad = QStringLiteral("刷卡影像資料查詢：@/short.spf 不正確參數檔");
    const QStringList none;
    const card::FileSelectResult selected = card::FileSelectResult::Selected;
    const card::FileSelectResult cancelled = card::FileSelectResult::Cancelled;
    const card::FileSelectResult noResult = card::FileSelectResult::None; // the frame's close
    const QStringList badFile{QStringLiteral("不正確參數檔")};
    QTest::newRow("cancel") << QStringList{"cancel"} << "刷卡影像資料查詢"
                            << ""
                            << "" << none << cancelled;
    QTest::newRow("26 values") << QStringList{"pick good.spf"} << good << "g0"
                               << "g17" << none << selected;
    QTest::newRow("10 values") << QStringList{"pick short.spf"} << bad << "s0"
                               << "" << badFile << selected;
    QTest::newRow("two failed loads")
        << QStringList{"pick short.spf", "pick short.spf"} << bad << "s0"
        << "" << badFile + badFile << selected;
    QTest::newRow("short file after a good one")
        << QStringList{"pick good.spf", "pick short.spf"} << bad << "s0"
        << "g17" << badFile << selected;
    QTest::newRow("good file after a short one")
        << QStringList{"pick short.spf", "pick good.spf"} << good << "g0"
        << "g17" << badFile << selected;
    QTest::newRow("frame close after a good load")
        << QStringList{"pick good.spf", "close"} << good << "g0"
        << "g17" << none << noResult;
    QTest::newRow("cancel after a good load")
        << QStringList{"pick good.spf", "cancel"} << good << "g0"
        << "g17" << none << cancelled;
}

void TestLoadCommandWindow::loads()
{
    QFETCH(QStringList, actions);
    QFETCH(QString, caption);
    QFETCH(QString, para0);
    QFETCH(QString, para17);
    QFETCH(QStringList, messages);
    QFETCH(card::FileSelectResult, result);

    CardImageWindow window;
    window.createWinId();
    ModalScript modals;
    for (const QString& action : std::as_const(actions)) {
        answerOpening(modals, action);
        window.loadParameters();
        QVERIFY(card::test::settled(window));
        // Changed once loaded: an opening that loads nothing must not read it again.
        if (action == u"pick good.spf")
            m_site->write("[*]site/good.spf", values("changed", 26));
    }

    QStringList dialogTitles;
    QStringList shown;
    for (const card::test::SeenModal& seen : modals.seen()) {
        QVERIFY(seen.expected);
        if (seen.objectName == u"file_select")
            dialogTitles.append(seen.title);
        else
            shown.append(seen.text);
    }
    QCOMPARE(dialogTitles, QStringList(actions.size(), QStringLiteral("伺服器參數檔載入")));
    QCOMPARE(shown, messages);
    QCOMPARE(shownCaption(window), QString(caption).replace(u'@', m_folder));
    QCOMPARE(window.state().parameters[0], para0);
    QCOMPARE(window.state().parameters[card::kRecordsFolderSlot], para17);

    const card::FileSelectExchange& exchange = window.fileSelectExchange();
    QCOMPARE(exchange.result, result);
    if (actions.last() == u"close")
        QCOMPARE(exchange.path, m_folder + "/good.spf");
}

QTEST_MAIN(TestLoadCommandWindow)
#include "tst_load_command_window.moc"
