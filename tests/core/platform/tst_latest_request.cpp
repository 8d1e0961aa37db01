#include "core/platform/latest_request.h"

#include <QTest>

using card::LatestRequest;

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
    QTest::addColumn<bool>("pendingAfter");
    QTest::newRow("only request") << "s" << 0 << true << false;
    QTest::newRow("earlier of two") << "ss" << 0 << false << true;
    QTest::newRow("later of two") << "ss" << 1 << true << false;
    QTest::newRow("dropped") << "sd" << 0 << false << false;
    QTest::newRow("started after a drop") << "sds" << 1 << true << false;
}

void TestLatestRequest::onlyTheNewestAnswerCounts()
{
    QFETCH(QString, steps);
    QFETCH(int, answered);
    QFETCH(bool, used);
    QFETCH(bool, pendingAfter);
    LatestRequest requests;
    QList<LatestRequest::Ticket> tickets;
    for (const QChar step : steps) {
        if (step == u's')
            tickets.append(requests.start());
        else
            requests.drop();
    }
    QCOMPARE(requests.isCurrent(tickets.at(answered)), used);
    QCOMPARE(requests.finish(tickets.at(answered)), used);
    QCOMPARE(requests.pending(), pendingAfter);
    QCOMPARE(requests.isCurrent(tickets.at(answered)), used);
}

QTEST_APPLESS_MAIN(TestLatestRequest)
#include "tst_latest_request.moc"
