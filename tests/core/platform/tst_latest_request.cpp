#include "core/platform/latest_request.h"

#include <QTest>

class TestLatestRequest : public QObject {
    Q_OBJECT
private slots:
    void onlyTheNewestAnswerCounts_data();
    void onlyTheNewestAnswerCounts();
};

void TestLatestRequest::onlyTheNewestAnswerCounts_data()
{
    // steps: s starts a request, d drops all; answered: which start's answer comes back.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("answered");
    QTest::addColumn<bool>("used");
    QTest::newRow("only request") << "s" << 0 << true;
    QTest::newRow("earlier of two") << "ss" << 0 << false;
    QTest::newRow("later of two") << "ss" << 1 << true;
    QTest::newRow("dropped") << "sd" << 0 << false;
    QTest::newRow("started after a drop") << "sds" << 1 << true;
}

void TestLatestRequest::onlyTheNewestAnswerCounts()
{
    QFETCH(QString, steps);
    QFETCH(int, answered);
    QFETCH(bool, used);
    card::LatestRequest requests;
    QList<card::LatestRequest::Ticket> tickets;
    for (const QChar step : steps)
        step == u's' ? tickets.append(requests.start()) : requests.drop();
    const bool wasPending = requests.pending();
    QCOMPARE(requests.finish(tickets.at(answered)), used);
    // Only the newest answer ends the waiting.
    QCOMPARE(requests.pending(), wasPending && !used);
}

QTEST_APPLESS_MAIN(TestLatestRequest)
#include "tst_latest_request.moc"
