// A whole session over a site changes no file: every file keeps its content and modification
// time, and nothing is created or removed.
#include "ui/main_window/card_image_window.h"

#include "core/records/record_table_model.h"
#include "support/modal_script.h"
#include "support/settle.h"
#include "support/temp_site.h"
#include "support/test_photos.h"
#include "ui/main_window/record_list_view.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDateEdit>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using card::CardImageWindow;
using card::test::ModalScript;

namespace {

const QDate kDay(2007, 5, 3);

struct FileState {
    bool folder = false;
    QDateTime modified;
    QByteArray sha1;
    bool operator==(const FileState&) const = default;
};

using SiteState = QMap<QString, FileState>;

SiteState siteState(const QString& root)
{
    SiteState state;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        FileState file;
        file.folder = info.isDir();
        file.modified = info.lastModified();
        if (!file.folder) {
            QFile content(info.filePath());
            if (!content.open(QIODevice::ReadOnly))
                qFatal("cannot read a site file");
            file.sha1 = QCryptographicHash::hash(content.readAll(), QCryptographicHash::Sha1);
        }
        state.insert(info.filePath(), file);
    }
    return state;
}

QByteArray parameterFile(const QString& records, const QString& photos, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        if (i == card::kRecordsFolderSlot)
            bytes += '"' + records.toLocal8Bit() + '"';
        else if (i == card::kPhotoFolderSlot)
            bytes += '"' + photos.toLocal8Bit() + '"';
        else
            bytes += card::test::big5(QStringLiteral("\"參數%1\"").arg(i));
        bytes += "\r\n";
    }
    return bytes;
}

// A site with a still photo, a full sequence, a sequence with gaps, a missing photo and a
// broken one.
void writeSite(const card::test::TempSite& site)
{
    const QString records = site.makeFolder("records");
    const QString photos = site.makeFolder("photos");
    site.write("site.spf", parameterFile(records, photos, 26));
    site.write("short.spf", parameterFile(records, photos, 10));
    site.write("records/2007-5-3.txt",
               card::test::big5(QStringLiteral("08:00:00,\"001\",\"陳怡君\",\"進\"\r\n"
                                               "08:10:00,\"002\",\"林志明\",\"出\"\r\n"
                                               "08:20:00,\"003\",\"王小華\",\"進\"\r\n"
                                               "08:30:00,\"004\",\"李雅婷\",\"出\"\r\n"
                                               "08:40:00,\"005\",\"張家豪\",\"進\"\r\n")));
    const QByteArray jpeg = card::test::jpegBytes(Qt::darkCyan);
    site.write("photos/001-070503-080000-C.jpg", jpeg);
    for (int frame = 1; frame <= 5; ++frame)
        site.write(QStringLiteral("photos/002-070503-081000-%1.jpg").arg(frame), jpeg);
    site.write("photos/003-070503-082000-4.jpg", jpeg);
    site.write("photos/003-070503-082000-2.jpg", jpeg);
    site.write("photos/005-070503-084000-C.jpg", jpeg.left(jpeg.size() / 2));
}

void chooseParameterFile(ModalScript& modals, const QString& name)
{
    modals.then([name](QWidget* dialog) {
        dialog->findChild<QLineEdit*>("Text1")->setText(name);
        card::test::pressButton(dialog, "Command1(1)");
        QTRY_VERIFY(!dialog->isVisible()); // the file's existence test has come back
    });
}

void pressRow(CardImageWindow& window, int list, int row)
{
    card::RecordListView* view = window.controls().resultLists[static_cast<size_t>(list)];
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    if (!card::test::settled(window))
        qFatal("the photo work did not end");
}

} // namespace

class TestNothingWritten : public QObject {
    Q_OBJECT
private slots:
    void wholeSessionLeavesTheSiteAsItWas();
};

void TestNothingWritten::wholeSessionLeavesTheSiteAsItWas()
{
    card::test::TempSite site;
    writeSite(site);
    const SiteState before = siteState(site.path());
    const QString previousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(site.path()));
    {
        CardImageWindow window;
        const auto& c = window.controls();
        ModalScript modals;
        chooseParameterFile(modals, "site.spf");
        window.runStartup();
        QVERIFY(card::test::settled(window));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.windowTitle().endsWith(QStringLiteral("site.spf")));
        c.datePicker->setDate(kDay);

        // Every filter.
        for (QRadioButton* direction : c.directionOptions) {
            for (bool cardFilter : {false, true}) {
                direction->setChecked(true);
                c.cardFilterCheck->setChecked(cardFilter);
                c.cardNumberEdit->setText(QStringLiteral("002"));
                QTest::mouseClick(c.queryButton, Qt::LeftButton);
                QVERIFY(card::test::settled(window));
            }
        }
        c.cardFilterCheck->setChecked(false);
        c.directionOptions[2]->setChecked(true);
        QTest::mouseClick(c.queryButton, Qt::LeftButton);
        QVERIFY(card::test::settled(window));
        QCOMPARE(window.records().rowCount(), 5);

        // Every kind of photo, from every list.
        for (int row = 0; row < 5; ++row)
            pressRow(window, row % 4, row);
        QCOMPARE(c.statusLine->text(), QStringLiteral("影像不存在")); // the broken still photo

        // A full playback.
        pressRow(window, 0, 1);
        QCOMPARE(c.detailValues[3]->text(), QStringLiteral("動態播放"));
        QTRY_COMPARE_WITH_TIMEOUT(c.detailValues[3]->text(), QStringLiteral("播放結束"), 8000);

        // A failed load, then a cancelled one.
        chooseParameterFile(modals, "short.spf");
        modals.press(QStringLiteral("確定"));
        QTest::mouseClick(c.loadButton, Qt::LeftButton);
        QVERIFY(card::test::settled(window));
        QVERIFY(window.windowTitle().endsWith(QStringLiteral(" 不正確參數檔")));
        modals.press("Command1(2)");
        QTest::mouseClick(c.loadButton, Qt::LeftButton);
        QTest::mouseClick(c.clearButton, Qt::LeftButton);
        QCOMPARE(modals.pending(), 0);
    }
    QDir::setCurrent(previousFolder);
    const SiteState after = siteState(site.path());
    QCOMPARE(after.keys(), before.keys());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
}

QTEST_MAIN(TestNothingWritten)
#include "tst_nothing_written.moc"
