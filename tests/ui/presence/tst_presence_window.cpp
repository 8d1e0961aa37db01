// The presence window's wiring: Ctrl+I opens it on the loaded site, it follows today's file
// with the entry photos, a tick names who ticked, and a chosen moment is read on its own.
#include "core/parameters/parameter_table.h"
#include "core/photos/photo_name.h"
#include "core/records/record_file.h"
#include "support/temp_site.h"
#include "support/test_photos.h"
#include "ui/main_window/card_image_window.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QTest>

namespace {

QByteArray record(const char* time, const char* card, const char* direction = "進")
{
    return card::test::big5(
        QStringLiteral("%1,\"%2\",\"陳怡君\",\"%3\"\r\n")
            .arg(QLatin1String(time), QLatin1String(card), QString::fromUtf8(direction)));
}

} // namespace

class TestPresenceWindow : public QObject {
    Q_OBJECT
private slots:
    void followsTicksAndReadsAMoment();
};

void TestPresenceWindow::followsTicksAndReadsAMoment()
{
    const card::test::TempSite site;
    const QDate today = QDate::currentDate();
    const QString dayFile =
        site.write(QStringLiteral("records/") + card::recordFileName(today),
                   record("00:00:01", "11") + record("00:00:02", "22") +
                       record("00:00:03", "22", "出") + record("00:00:04", "44"));
    site.write(QStringLiteral("photos/11-%1-000001-C.jpg").arg(today.toString(u"yyMMdd")),
               card::test::jpegBytes(Qt::red));
    card::CardImageWindow window;
    window.state().parameters[card::kRecordsFolderSlot] = site.filePath("records");
    window.state().parameters[card::kPhotoFolderSlot] = site.filePath("photos");
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_I, Qt::ControlModifier);
    auto* presence = window.findChild<QWidget*>(QStringLiteral("presence"));
    QVERIFY(presence && presence->isVisible());
    auto* count = presence->findChild<QLabel*>(QStringLiteral("presence_count"));
    auto* rows = presence->findChild<QAbstractItemView*>(QStringLiteral("presence_rows"));
    QTRY_COMPARE(count->text(), QStringLiteral("在場 2 人"));

    QFile file(dayFile);
    QVERIFY(file.open(QIODevice::Append));
    file.write(record("00:00:05", "55"));
    file.close();
    QTRY_COMPARE_WITH_TIMEOUT(count->text(), QStringLiteral("在場 3 人"), 3000);
    const QAbstractItemModel* model = rows->model();
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("55")); // newest entry first
    QTRY_VERIFY(!model->index(2, 0).data(Qt::DecorationRole).value<QPixmap>().isNull());

    const QModelIndex safe = model->index(1, 5);
    QVERIFY(rows->model()->setData(safe, Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(safe.data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(!safe.data().toString().isEmpty()); // who ticked, and when

    presence->findChild<QCheckBox*>(QStringLiteral("presence_now"))->setChecked(false);
    presence->findChild<QDateTimeEdit*>(QStringLiteral("presence_time"))
        ->setDateTime(QDateTime(today, QTime(0, 0, 2)));
    QTRY_COMPARE(count->text(), QStringLiteral("在場 2 人"));
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("22"));
}

QTEST_MAIN(TestPresenceWindow)
#include "tst_presence_window.moc"
