#include "ui/photo_view/photo_view_window.h"

#include "core/records/record_file.h"
#include "support/model_texts.h"
#include "support/temp_site.h"
#include "support/test_photos.h"
#include "ui/common/case_desk.h"
#include "ui/common/reference_photo_view.h"
#include "ui/common/swipe_pictures/thumbnail_list_model.h"
#include "ui/common/swipe_pictures/thumbnail_loader.h"
#include "ui/common/swipe_pictures/zoom_image_view.h"
#include "ui/live_view/live_view_window.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QLabel>
#include <QListView>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>

using card::PhotoViewWindow;
using card::Swipe;
using card::ThumbnailListModel;

namespace {

const QDate kDay(2007, 5, 3);
const QString kCard = QStringLiteral("00012345");

// Path and content hash of every file under root, to see that nothing was written.
QMap<QString, QByteArray> siteFiles(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read a site file");
        files.insert(file.fileName(),
                     QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1));
    }
    return files;
}

QStringList texts(const QAbstractItemModel* model)
{
    return card::test::columnTexts(*model);
}

QList<int> thumbnailStates(const QAbstractItemModel* model)
{
    QList<int> states;
    for (int row = 0; row < model->rowCount(); ++row)
        states << model->index(row, 0).data(ThumbnailListModel::ThumbnailStateRole).toInt();
    return states;
}

class Site {
public:
    Site()
    {
        m_site.makeFolder(QStringLiteral("photos"));
        m_site.makeFolder(QStringLiteral("records"));
    }
    void photo(const QString& time, const QString& suffix, const QByteArray& bytes) const
    {
        m_site.write(QStringLiteral("photos/%1-070503-%2-%3.jpg").arg(kCard, time, suffix), bytes);
    }
    void dayFile(const QString& text) const
    {
        m_site.write(QStringLiteral("records/") + card::recordFileName(kDay),
                     card::test::big5(text));
    }
    Swipe swipe(const QString& time, const QString& direction) const
    {
        return {time,
                kCard,
                QStringLiteral("陳怡君"),
                direction,
                kDay,
                m_site.filePath(QStringLiteral("records")),
                m_site.filePath(QStringLiteral("photos")),
                m_site.filePath(QStringLiteral("site.spf"))};
    }
    QString path() const { return m_site.path(); }

private:
    card::test::TempSite m_site;
};

struct Parts {
    explicit Parts(PhotoViewWindow& window)
        : image(window.findChild<card::ZoomImageView*>(QStringLiteral("photo_view_image")))
        , frames(window.findChild<QListView*>(QStringLiteral("photo_view_frames")))
        , cardDay(window.findChild<QListView*>(QStringLiteral("photo_view_card_day")))
        , status(window.findChild<QLabel*>(QStringLiteral("photo_view_status")))
    {
        if (!image || !frames || !cardDay || !status)
            qFatal("a part of the photo window is missing");
    }
    card::ZoomImageView* image;
    QListView* frames;
    QListView* cardDay;
    QLabel* status;
};

bool thumbnailsDone(const QAbstractItemModel* model)
{
    return !thumbnailStates(model).contains(ThumbnailListModel::Pending);
}

} // namespace

class TestPhotoView : public QObject {
    Q_OBJECT
private slots:
    void showsTheSwipesPhotos_data();
    void showsTheSwipesPhotos();
    void cardDayClickAndEnterShowThatSwipe();
    void keysPlayAndClose();
    void grownWindowDecodesTheReducedCopyAgain();
    void thumbnailsOfAReplacedLoadAreDropped();
    void leftRightPanAPictureWiderThanItsView();
    void referenceComparisonAndTone();
};

void TestPhotoView::showsTheSwipesPhotos_data()
{
    QTest::addColumn<QStringList>("suffixes");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("frameTexts");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QSize>("pictureSize"); // empty: the no-photo picture

    const QByteArray jpeg = card::test::jpegBytes(Qt::darkCyan, QSize(1600, 1200));
    QTest::newRow("all five frames")
        << QStringList{"1", "2", "3", "4", "5"} << jpeg << QStringList{"1", "2", "3", "4", "5"}
        << QStringLiteral("影格 5") << QSize(1600, 1200);
    QTest::newRow("gaps 5, 3, 1") << QStringList{"1", "3", "5"} << jpeg
                                  << QStringList{"1", "3", "5"} << QStringLiteral("影格 5")
                                  << QSize(1600, 1200);
    QTest::newRow("gaps 4, 2") << QStringList{"2", "4"} << jpeg << QStringList{"2", "4"}
                               << QStringLiteral("影格 4") << QSize(1600, 1200);
    QTest::newRow("still photo beside frames")
        << QStringList{"C", "1"} << jpeg << QStringList{QStringLiteral("刷卡照相")}
        << QStringLiteral("刷卡照相") << QSize(1600, 1200);
    QTest::newRow("no photo") << QStringList() << jpeg << QStringList()
                              << QStringLiteral("影像不存在") << QSize();
    const QString damaged = QStringLiteral("影像檔損壞：00012345-070503-081530-C.jpg");
    QTest::newRow("broken photo") << QStringList{"C"} << jpeg.left(jpeg.size() / 2)
                                  << QStringList{QStringLiteral("刷卡照相")} << damaged << QSize();
    QTest::newRow("empty photo") << QStringList{"C"} << QByteArray()
                                 << QStringList{QStringLiteral("刷卡照相")} << damaged << QSize();
    QTest::newRow("oversized photo")
        << QStringList{"C"} << card::test::withClaimedSize(jpeg, 20000, 20000)
        << QStringList{QStringLiteral("刷卡照相")} << damaged << QSize();
}

void TestPhotoView::showsTheSwipesPhotos()
{
    QFETCH(QStringList, suffixes);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, frameTexts);
    QFETCH(QString, status);
    QFETCH(QSize, pictureSize);

    const Site site;
    for (const QString& suffix : suffixes)
        site.photo(QStringLiteral("081530"), suffix, bytes);
    site.dayFile(QStringLiteral("08:15:30,\"00012345\",\"陳怡君\",\"進\"\r\n"));
    const auto before = siteFiles(site.path());

    QWidget mainWindow;
    PhotoViewWindow window(&mainWindow);
    window.show();
    window.showSwipe(site.swipe(QStringLiteral("8:15:30"), QStringLiteral("進")));
    const Parts parts(window);

    QCOMPARE(window.windowTitle(), QStringLiteral("影像檢視：2007-05-03 8:15:30 00012345 陳怡君"));
    QTRY_COMPARE(parts.status->text(), status);
    QCOMPARE(texts(parts.frames->model()), frameTexts);
    QTRY_COMPARE(parts.cardDay->model()->rowCount(), 1);
    QTRY_VERIFY(thumbnailsDone(parts.frames->model()));
    QTRY_VERIFY(thumbnailsDone(parts.cardDay->model()));
    const int thumbnail =
        pictureSize.isEmpty() ? ThumbnailListModel::NoPhoto : ThumbnailListModel::Shown;
    QCOMPARE(thumbnailStates(parts.frames->model()), QList<int>(frameTexts.size(), thumbnail));
    QCOMPARE(thumbnailStates(parts.cardDay->model()), QList<int>{thumbnail});
    if (pictureSize.isEmpty()) {
        QCOMPARE(parts.image->pictureSize(),
                 QImage(QStringLiteral(":/pictures/no_photo.gif")).size());
        // The no-photo picture keeps its own size: it is never zoomed.
        QCOMPARE(parts.image->placement().scale, 1.0);
        QTest::keyClick(parts.image, Qt::Key_Plus);
        QCOMPARE(parts.image->placement().scale, 1.0);
    } else {
        QCOMPARE(parts.image->pictureSize(), pictureSize);
        // The fitted copy comes first, the full picture after it.
        QTRY_VERIFY(parts.image->hasFullPicture());
        QCOMPARE(static_cast<ThumbnailListModel*>(parts.frames->model())->markedRow(),
                 frameTexts.size() - 1);
    }
    QCOMPARE(siteFiles(site.path()), before);
}

void TestPhotoView::cardDayClickAndEnterShowThatSwipe()
{
    const Site site;
    const QByteArray red = card::test::jpegBytes(Qt::red, QSize(320, 240));
    const QByteArray blue = card::test::jpegBytes(Qt::blue, QSize(200, 100));
    site.photo(QStringLiteral("080000"), QStringLiteral("C"), red);
    site.photo(QStringLiteral("120000"), QStringLiteral("3"), blue);
    site.photo(QStringLiteral("120000"), QStringLiteral("1"), red);
    site.dayFile(QStringLiteral("08:00:00,\"00012345\",\"陳怡君\",\"進\"\r\n"
                                "09:00:00,\"00099999\",\"王小明\",\"進\"\r\n"
                                "12:00:00,\"00012345\",\"陳怡君\",\"出\"\r\n"
                                "17:00:00,\"00012345\",\"陳怡君\",\"出\"\r\n"));

    QWidget mainWindow;
    PhotoViewWindow window(&mainWindow);
    window.show();
    window.showSwipe(site.swipe(QStringLiteral("17:00:00"), QStringLiteral("出")));
    const Parts parts(window);
    auto* dayModel = static_cast<ThumbnailListModel*>(parts.cardDay->model());
    QTRY_COMPARE(texts(dayModel),
                 (QStringList{QStringLiteral("08:00:00\n進"), QStringLiteral("12:00:00\n出"),
                              QStringLiteral("17:00:00\n出")}));
    QCOMPARE(dayModel->markedRow(), 2);
    QTRY_VERIFY(thumbnailsDone(dayModel));
    QCOMPARE(thumbnailStates(dayModel),
             (QList<int>{ThumbnailListModel::Shown, ThumbnailListModel::Shown,
                         ThumbnailListModel::NoPhoto}));
    // A sequence's small picture is its highest frame's (200 × 100, not frame 1's 320 × 240).
    QCOMPARE(dayModel->index(1).data(Qt::DecorationRole).value<QPixmap>().size(), QSize(128, 64));

    parts.cardDay->scrollTo(dayModel->index(1));
    QTest::mouseClick(parts.cardDay->viewport(), Qt::LeftButton, {},
                      parts.cardDay->visualRect(dayModel->index(1)).center());
    QCOMPARE(window.windowTitle(), QStringLiteral("影像檢視：2007-05-03 12:00:00 00012345 陳怡君"));
    QCOMPARE(dayModel->markedRow(), 1);
    QTRY_COMPARE(texts(parts.frames->model()), (QStringList{"1", "3"}));
    QTRY_COMPARE(parts.image->pictureSize(), QSize(200, 100));

    // Each swipe is shown as it is reached.
    parts.cardDay->setFocus();
    QTest::keyClick(parts.cardDay, Qt::Key_Up);
    QCOMPARE(window.windowTitle(), QStringLiteral("影像檢視：2007-05-03 08:00:00 00012345 陳怡君"));
    QCOMPARE(dayModel->markedRow(), 0);
    QTRY_COMPARE(parts.image->pictureSize(), QSize(320, 240));
    QTRY_COMPARE(parts.status->text(), QStringLiteral("刷卡照相"));
}

void TestPhotoView::keysPlayAndClose()
{
    const Site site;
    const QByteArray jpeg = card::test::jpegBytes(Qt::green, QSize(2000, 1500));
    for (const char* frame : {"1", "2", "5"})
        site.photo(QStringLiteral("081530"), QString::fromLatin1(frame), jpeg);

    QWidget mainWindow;
    mainWindow.show();
    PhotoViewWindow window(&mainWindow);
    QVERIFY(window.isWindow());
    window.show();
    window.showSwipe(site.swipe(QStringLiteral("08:15:30"), QStringLiteral("進")));
    const Parts parts(window);
    QTRY_COMPARE(parts.status->text(), QStringLiteral("影格 5"));
    QVERIFY(parts.image->isFitted());

    parts.frames->setFocus();
    QTest::keyClick(parts.frames, Qt::Key_Left);
    QTRY_COMPARE(parts.status->text(), QStringLiteral("影格 2"));
    QTest::keyClick(parts.frames, Qt::Key_1);
    QCOMPARE(parts.image->placement().scale, 1.0);
    QTest::keyClick(parts.frames, Qt::Key_Plus);
    QCOMPARE(parts.image->placement().scale, card::kZoomStep);
    QTest::keyClick(parts.frames, Qt::Key_F);
    QVERIFY(parts.image->isFitted());

    QTest::keyClick(parts.frames, Qt::Key_Space);
    QCOMPARE(parts.status->text(), QStringLiteral("影格 2　動態播放"));
    QTest::keyClick(parts.frames, Qt::Key_Space);
    QCOMPARE(parts.status->text(), QStringLiteral("影格 2"));
    // Played on, it ends at frame 1; played again, it starts over from the highest frame.
    QTest::keyClick(parts.frames, Qt::Key_Space);
    QTRY_COMPARE(parts.status->text(), QStringLiteral("影格 1　播放結束"));
    QTest::keyClick(parts.frames, Qt::Key_Space);
    QCOMPARE(parts.status->text(), QStringLiteral("影格 5　動態播放"));

    QTest::keyClick(parts.frames, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QVERIFY(mainWindow.isVisible());
}

void TestPhotoView::grownWindowDecodesTheReducedCopyAgain()
{
    const Site site;
    site.photo(QStringLiteral("081530"), QStringLiteral("C"),
               card::test::jpegBytes(Qt::gray, QSize(4000, 3000)));
    QWidget mainWindow;
    PhotoViewWindow window(&mainWindow);
    window.resize(800, 600);
    window.show();
    window.showSwipe(site.swipe(QStringLiteral("08:15:30"), QStringLiteral("進")));
    const Parts parts(window);
    QTRY_VERIFY(parts.image->hasFullPicture());
    const int before = parts.image->reducedSize().width();
    QVERIFY(before > 0);

    window.resize(1800, 1400);
    QTRY_VERIFY(parts.image->reducedSize().width() > before * 1.5);
    QVERIFY(parts.image->reducedSize().width() < 4000);
}

// A replaced load's pictures never land, and its jobs still running keep their places.
void TestPhotoView::thumbnailsOfAReplacedLoadAreDropped()
{
    card::ThumbnailLoader loader(1, nullptr);
    QSemaphore gate;
    std::atomic<int> started = 0;
    QList<int> landed;
    connect(&loader, &card::ThumbnailLoader::loaded, this,
            [&landed](int, const QImage& image) { landed << image.width(); });
    const auto job = [&](int width) -> card::ThumbnailLoader::Job {
        return [&, width] {
            if (++started == 1)
                gate.acquire();
            return QImage(width, 1, QImage::Format_RGB32);
        };
    };
    loader.load({job(1)});
    QTRY_COMPARE(started.load(), 1);
    loader.load({job(2)});
    QTest::qWait(100);
    QCOMPARE(started.load(), 1);
    gate.release();
    QTRY_COMPARE(landed, QList<int>{2});
}

// A picture that overflows its view sideways only pans with Left and Right while it has the
// focus; the frames are not stepped.
void TestPhotoView::leftRightPanAPictureWiderThanItsView()
{
    const Site site;
    const QByteArray wide = card::test::jpegBytes(Qt::yellow, QSize(4000, 100));
    for (const char* frame : {"1", "2"})
        site.photo(QStringLiteral("081530"), QString::fromLatin1(frame), wide);
    QWidget mainWindow;
    PhotoViewWindow window(&mainWindow);
    window.show();
    window.showSwipe(site.swipe(QStringLiteral("08:15:30"), QStringLiteral("進")));
    const Parts parts(window);
    QTRY_COMPARE(parts.status->text(), QStringLiteral("影格 2"));
    QTRY_VERIFY(parts.image->hasFullPicture());
    parts.image->setFocus();
    QTest::keyClick(parts.image, Qt::Key_1);
    QVERIFY(parts.image->height() > 100);
    const double before = parts.image->placement().origin.x();
    QTest::keyClick(parts.image, Qt::Key_Left);
    QVERIFY(parts.image->placement().origin.x() > before);
    QCOMPARE(parts.status->text(), QStringLiteral("影格 2"));
}

// R keeps the shown photo as its card's reference: shown beside the picture with its swipe
// ticked, and in the live view beside the same card's swipe. B brightens what is drawn;
// Ctrl+click compares two swipes.
void TestPhotoView::referenceComparisonAndTone()
{
    const QTemporaryDir store;
    card::CaseDesk::instance().setLocationText(store.filePath(QStringLiteral("cases.sqlite")));
    const Site site;
    site.photo(QStringLiteral("080000"), QStringLiteral("C"),
               card::test::jpegBytes(Qt::red, QSize(320, 240)));
    site.dayFile(QStringLiteral("08:00:00,\"00012345\",\"陳怡君\",\"進\"\r\n"
                                "12:00:00,\"00012345\",\"陳怡君\",\"出\"\r\n"));
    QWidget mainWindow;
    PhotoViewWindow window(&mainWindow);
    window.show();
    window.showSwipe(site.swipe(QStringLiteral("08:00:00"), QStringLiteral("進")));
    const Parts parts(window);
    const auto* reference =
        window.findChild<card::ReferencePhotoView*>(QStringLiteral("photo_view_reference"));
    QCOMPARE(reference->findChildren<QLabel*>().constLast()->text(),
             QStringLiteral("尚未設定參考影像（R）"));
    QTRY_VERIFY(parts.image->hasFullPicture());
    QTRY_COMPARE(parts.cardDay->model()->rowCount(), 2);

    QTest::keyClick(parts.image, Qt::Key_B);
    QCOMPARE(parts.image->tone().brightness, 5);
    QTest::keyClick(parts.image, Qt::Key_R);
    QTRY_VERIFY(reference->reference().has_value());
    QCOMPARE(reference->reference()->fileName, QStringLiteral("00012345-070503-080000-C.jpg"));
    QCOMPARE(reference->findChildren<QLabel*>().constLast()->text(),
             QStringLiteral("參考影像 2007-05-03 08:00:00"));
    QCOMPARE(texts(parts.cardDay->model()),
             (QStringList{QStringLiteral("✓ 08:00:00\n進"), QStringLiteral("12:00:00\n出")}));

    card::LiveViewWindow live(nullptr, [] { return QDateTime(kDay, QTime(12, 30)); });
    live.follow(site.swipe({}, {}).recordsFolder, site.swipe({}, {}).photoFolder,
                site.swipe({}, {}).parameterFile);
    live.show();
    const auto* liveReference =
        live.findChild<card::ReferencePhotoView*>(QStringLiteral("live_view_reference"));
    QTRY_COMPARE(liveReference->findChildren<QLabel*>().constLast()->text(),
                 QStringLiteral("參考影像 2007-05-03 08:00:00"));

    QTest::mouseClick(parts.cardDay->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      parts.cardDay->visualRect(parts.cardDay->model()->index(1, 0)).center());
    auto* compare = window.findChild<QWidget*>(QStringLiteral("photo_view_compare"));
    QVERIFY(compare && compare->isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("影像檢視：2007-05-03 08:00:00 00012345 陳怡君"));
    const auto* first =
        compare->findChild<card::ZoomImageView*>(QStringLiteral("photo_view_compare_first"));
    QTRY_COMPARE(first->pictureSize(), QSize(320, 240));
}

QTEST_MAIN(TestPhotoView)
#include "tst_photo_view.moc"
