#include "core/dialog/load_command.h"

#include <QTest>

namespace {

const QString kDesignCaption = QStringLiteral("刷卡影像資料查詢");

// A main window stand-in: the dialog leaves the given code and path, the reader answers ok.
struct FakeWindow {
    QString caption = kDesignCaption;
    QStringList reads;
    QStringList dialogTitles;
    QStringList dialogModes;

    card::LoadCommandHost host(card::DialogPara& para, const QString& code, const QString& path,
                               bool readOk)
    {
        return {[this, &para, code, path] {
                    dialogTitles.append(para[card::kDialogTitleSlot]);
                    dialogModes.append(para[card::kDialogCodeSlot]);
                    para[card::kDialogCodeSlot] = code;
                    para[card::kDialogPathSlot] = path;
                },
                [this, readOk](const QString& file) {
                    reads.append(file);
                    return readOk;
                },
                [this] { return caption; },
                [this](const QString& text) {
                    caption = text;
                }};
    }
};

} // namespace

class TestLoadCommand : public QObject {
    Q_OBJECT
private slots:
    void reactionToCodes_data();
    void reactionToCodes();
    void suffixNeverStacks();
    void goodLoadAfterBadOneDropsSuffix();
};

void TestLoadCommand::reactionToCodes_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("readOk");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("reads");

    const QString loaded = QStringLiteral("刷卡影像資料查詢：/site/site.spf");
    QTest::newRow("selected and read whole") << "1"
                                             << "/site/site.spf" << true << loaded << true;
    QTest::newRow("selected but malformed")
        << "1"
        << "/site/site.spf" << false << loaded + QStringLiteral(" 不正確參數檔") << true;
    QTest::newRow("cancelled") << "3"
                               << "" << true << kDesignCaption << false;
    QTest::newRow("new name is not loaded") << "0"
                                            << "/site/new.spf" << true << kDesignCaption << false;
    QTest::newRow("folder mode end") << ""
                                     << "/site/site.spf" << true << kDesignCaption << false;
    QTest::newRow("closed by the frame") << "5"
                                         << "/site/site.spf" << true << kDesignCaption << false;
    QTest::newRow("selected with an empty path") << "1"
                                                 << "" << true << kDesignCaption << false;
    QTest::newRow("padded code") << "1 "
                                 << "/site/site.spf" << true << kDesignCaption << false;
}

void TestLoadCommand::reactionToCodes()
{
    QFETCH(QString, code);
    QFETCH(QString, path);
    QFETCH(bool, readOk);
    QFETCH(QString, caption);
    QFETCH(bool, reads);

    FakeWindow window;
    card::DialogPara para{{{}, {}, {}, QStringLiteral("/kept")}};
    card::runLoadCommand(para, window.host(para, code, path, readOk));

    QCOMPARE(window.dialogTitles, QStringList{QStringLiteral("伺服器參數檔載入")});
    QCOMPARE(window.dialogModes, QStringList{QStringLiteral("5")});
    QCOMPARE(window.caption, caption);
    QCOMPARE(window.reads, reads ? QStringList{path} : QStringList{});
    QCOMPARE(para[card::kDialogFolderSlot], QStringLiteral("/kept"));
}

void TestLoadCommand::suffixNeverStacks()
{
    FakeWindow window;
    card::DialogPara para;
    card::runLoadCommand(para, window.host(para, "1", "/a.spf", false));
    card::runLoadCommand(para, window.host(para, "1", "/a.spf", false));
    QCOMPARE(window.caption, QStringLiteral("刷卡影像資料查詢：/a.spf 不正確參數檔"));
    QCOMPARE(window.reads.size(), 2);
}

void TestLoadCommand::goodLoadAfterBadOneDropsSuffix()
{
    FakeWindow window;
    card::DialogPara para;
    card::runLoadCommand(para, window.host(para, "1", "/bad.spf", false));
    card::runLoadCommand(para, window.host(para, "1", "/good.spf", true));
    QCOMPARE(window.caption, QStringLiteral("刷卡影像資料查詢：/good.spf"));
}

QTEST_GUILESS_MAIN(TestLoadCommand)
#include "tst_load_command.moc"
