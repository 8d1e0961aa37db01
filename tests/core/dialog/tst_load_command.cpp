#include "core/dialog/load_command.h"

#include <QTest>

using card::FileSelectExchange;
using card::FileSelectMode;
using card::FileSelectResult;

class TestLoadCommand : public QObject {
    Q_OBJECT
private slots:
    void requestKeepsTheEarlierAnswer();
    void reactionToResults_data();
    void reactionToResults();
    void captions_data();
    void captions();
};

void TestLoadCommand::requestKeepsTheEarlierAnswer()
{
    FileSelectExchange exchange{QStringLiteral("old"), FileSelectMode::Folder,
                                FileSelectResult::Selected, QStringLiteral("/site/a.spf"),
                                QStringLiteral("/kept")};
    card::requestParameterFile(exchange);
    QCOMPARE(exchange.title, QStringLiteral("伺服器參數檔載入"));
    QCOMPARE(exchange.mode, FileSelectMode::Load);
    QCOMPARE(exchange.result, FileSelectResult::None);
    QCOMPARE(exchange.path, QStringLiteral("/site/a.spf"));
    QCOMPARE(exchange.folder, QStringLiteral("/kept"));
}

void TestLoadCommand::reactionToResults_data()
{
    QTest::addColumn<FileSelectResult>("result");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("reads");

    QTest::newRow("selected") << FileSelectResult::Selected << "/site/site.spf" << true;
    QTest::newRow("cancelled") << FileSelectResult::Cancelled << "" << false;
    QTest::newRow("new name is not loaded")
        << FileSelectResult::NewName << "/site/new.spf" << false;
    // Folder mode's end and a frame close both leave no result, and may leave a path.
    QTest::newRow("no result with a path") << FileSelectResult::None << "/site/site.spf" << false;
    QTest::newRow("selected with an empty path") << FileSelectResult::Selected << "" << false;
}

void TestLoadCommand::reactionToResults()
{
    QFETCH(FileSelectResult, result);
    QFETCH(QString, path);
    QFETCH(bool, reads);

    FileSelectExchange exchange;
    card::requestParameterFile(exchange);
    exchange.result = result;
    exchange.path = path;
    QCOMPARE(card::chosenParameterFile(exchange), reads ? path : QString());
}

void TestLoadCommand::captions_data()
{
    QTest::addColumn<bool>("readWhole");
    QTest::addColumn<QString>("caption");
    QTest::newRow("read whole") << true << QStringLiteral("刷卡影像資料查詢：/site/a.spf");
    QTest::newRow("malformed") << false
                               << QStringLiteral("刷卡影像資料查詢：/site/a.spf 不正確參數檔");
}

void TestLoadCommand::captions()
{
    QFETCH(bool, readWhole);
    QFETCH(QString, caption);
    const QString loaded = card::loadedCaption(QStringLiteral("/site/a.spf"));
    QCOMPARE(readWhole ? loaded : card::badFileCaption(loaded), caption);
}

QTEST_GUILESS_MAIN(TestLoadCommand)
#include "tst_load_command.moc"
