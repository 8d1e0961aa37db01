// Evidence packages: what goes in, byte for byte, and what --verify says of a package.
#include "core/evidence/evidence_package.h"
#include "core/evidence/evidence_verify.h"
#include "core/evidence/zip_archive.h"
#include "core/records/record_file.h"
#include "support/controlled_file_access.h"
#include "support/temp_site.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

using card::test::TempSite;

namespace {

const QDate kDay(2007, 5, 3);

// A site of its own: records and photos folders under folder.
card::Swipe siteSwipe(const TempSite& site, const QString& folder, const QString& time,
                      const QString& card)
{
    card::Swipe swipe;
    swipe.time = time;
    swipe.card = card;
    swipe.direction = QStringLiteral("進");
    swipe.day = kDay;
    swipe.recordsFolder = site.makeFolder(folder + QStringLiteral("/records"));
    swipe.photoFolder = site.makeFolder(folder + QStringLiteral("/photos"));
    swipe.parameterFile = site.filePath(folder + QStringLiteral("/site.spf"));
    return swipe;
}

QString photoName(const QString& card, const QString& time, const QString& suffix)
{
    return card + QStringLiteral("-070503-") + QString(time).remove(u':') + suffix;
}

// Bytes that are no text and differ for each photo, so any mix-up shows.
QByteArray photoBytes(const QString& name)
{
    return "\xFF\xD8\xFF\xE0" + QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Md5) +
           QByteArray(3000, char(name.size()));
}

QMap<QString, QByteArray> entryHashes(const QString& zip)
{
    QMap<QString, QByteArray> hashes;
    card::hashZipEntries(
        zip, [&](const card::ZipEntryHash& entry) { hashes.insert(entry.path, entry.sha256); });
    return hashes;
}

bool fakeReport(const card::PackageFacts& facts, QIODevice& pdf)
{
    return pdf.write("%PDF report of " + QByteArray::number(facts.files.size()) + " files") > 0;
}

// Rebuilds the package at zip into target with its entries changed by edit (path to bytes).
void rezip(const QString& zip, const QString& target,
           const std::function<void(QMap<QString, QByteArray>&)>& edit)
{
    QTemporaryDir unpacked;
    QProcess::execute(QStringLiteral("unzip"),
                      {QStringLiteral("-q"), zip, QStringLiteral("-d"), unpacked.path()});
    QMap<QString, QByteArray> entries;
    const QDir root(unpacked.path());
    for (const QString& name : entryHashes(zip).keys()) {
        QFile file(root.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        entries.insert(name, file.readAll());
    }
    edit(entries);
    QFile out(target);
    QVERIFY(out.open(QIODevice::WriteOnly));
    card::ZipWriter writer(out);
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry)
        QVERIFY(writer.add(entry.key(), entry.value(), QDateTime::currentDateTime()));
    QVERIFY(writer.finish());
}

} // namespace

class TestEvidencePackage : public QObject {
    Q_OBJECT
private slots:
    void contents_data();
    void contents();
    void verify_data();
    void verify();
    void unreadablePhotoFailsThePackage();

private:
    QString packageOfOneStill(const TempSite& site);
};

using SiteMaker = std::function<QList<card::PackageSwipe>(const TempSite& site)>;

void TestEvidencePackage::contents_data()
{
    QTest::addColumn<SiteMaker>("makeSite");
    QTest::addColumn<QStringList>("photos");    // the packed photos, in package order
    QTest::addColumn<QStringList>("lineFiles"); // records/… files with their expected bytes
    QTest::addColumn<QList<QByteArray>>("lines");

    const QByteArray stillDay = "08:15:30,\"00012345\",\"A\",\"進\"\r\n"
                                "08:16:00,\"00099999\",\"B\",\"出\"\r\n";
    QTest::newRow("a still") << SiteMaker([stillDay](const TempSite& site) {
        const card::Swipe swipe = siteSwipe(site, "s", "08:15:30", "00012345");
        site.write("s/records/2007-5-3.txt", stillDay);
        site.write("s/photos/" + photoName("00012345", "08:15:30", "-C.jpg"), photoBytes("still"));
        return QList<card::PackageSwipe>{{swipe, "site s", {}}};
    }) << QStringList{"photos/00012345-070503-081530-C.jpg"}
                             << QStringList{"records/2007-5-3-lines.txt"}
                             << QList<QByteArray>{"08:15:30,\"00012345\",\"A\",\"進\"\r\n"};

    QTest::newRow("a sequence with a missing frame")
        << SiteMaker([](const TempSite& site) {
               const card::Swipe swipe = siteSwipe(site, "s", "09:00:01", "7");
               site.write("s/records/2007-5-3.txt", "09:00:01,7,C,\"出\"\n");
               for (const char* frame : {"-1.jpg", "-2.jpg", "-4.jpg", "-5.jpg"})
                   site.write("s/photos/" + photoName("7", "09:00:01", frame), photoBytes(frame));
               return QList<card::PackageSwipe>{{swipe, "site s", {}}};
           })
        << QStringList{"photos/7-070503-090001-1.jpg", "photos/7-070503-090001-2.jpg",
                       "photos/7-070503-090001-4.jpg", "photos/7-070503-090001-5.jpg"}
        << QStringList{"records/2007-5-3-lines.txt"} << QList<QByteArray>{"09:00:01,7,C,\"出\"\n"};

    // Code page 950 stays code page 950: 陳 is B3 AF, 進 is B6 69.
    const QByteArray big5Line = "07:00:00,\"00012345\",\"\xB3\xAF\",\"\xB6\x69\"\r\n";
    QTest::newRow("a Big5 day") << SiteMaker([big5Line](const TempSite& site) {
        const card::Swipe swipe = siteSwipe(site, "s", "07:00:00", "00012345");
        site.write("s/records/2007-5-3.txt",
                   "06:59:59,\"1\",\"\xB3\xAF\",\"\xA5\x58\"\r\n" + big5Line);
        return QList<card::PackageSwipe>{{swipe, "site s", {}}};
    }) << QStringList{} << QStringList{"records/2007-5-3-lines.txt"}
                                << QList<QByteArray>{big5Line};

    QTest::newRow("a case of two sites") << SiteMaker([](const TempSite& site) {
        const card::Swipe first = siteSwipe(site, "north", "10:00:00", "5");
        const card::Swipe second = siteSwipe(site, "south", "10:00:00", "5");
        site.write("north/records/2007-5-3.txt", "10:00:00,5,N,\"進\"\n");
        site.write("south/records/2007-5-3.txt", "10:00:00,5,S,\"進\"\n");
        site.write("north/photos/" + photoName("5", "10:00:00", "-C.jpg"), photoBytes("north"));
        site.write("south/photos/" + photoName("5", "10:00:00", "-C.jpg"), photoBytes("south"));
        return QList<card::PackageSwipe>{{first, "north", "note 1"}, {second, "south", "note 2"}};
    }) << QStringList{"photos/5-070503-100000-C.jpg", "photos/5-070503-100000-C-2.jpg"}
                                         << QStringList{"records/2007-5-3-lines.txt",
                                                        "records/2007-5-3-lines-2.txt"}
                                         << QList<QByteArray>{"10:00:00,5,N,\"進\"\n",
                                                              "10:00:00,5,S,\"進\"\n"};
}

void TestEvidencePackage::contents()
{
    QFETCH(SiteMaker, makeSite);
    QFETCH(QStringList, photos);
    QFETCH(QStringList, lineFiles);
    QFETCH(QList<QByteArray>, lines);
    TempSite site;
    TempSite out;
    card::PackageRequest request;
    request.swipes = makeSite(site);
    request.made = QDateTime::currentDateTime();
    const QString zip = out.filePath("package.zip");
    const card::PackageOutcome outcome = card::writeEvidencePackage(request, zip, fakeReport);
    QCOMPARE(outcome.status, card::PackageStatus::Ok);

    const QMap<QString, QByteArray> entries = entryHashes(zip);
    QStringList expected = photos + lineFiles;
    expected << card::kReadme << card::kReportPdf << card::kManifestJson << card::kManifestSums;
    QCOMPARE(QStringList(entries.keys()).size(), expected.size());
    for (const QString& name : expected)
        QVERIFY2(entries.contains(name), qPrintable(name));
    // Every photo is the site's file byte for byte.
    for (const card::PackedFile& file : outcome.facts.files) {
        if (file.source.isEmpty() || file.path.startsWith(u"records/"))
            continue;
        QFile source(file.source);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QCOMPARE(entries.value(file.path), card::sha256Hex(source.readAll()));
    }
    for (qsizetype i = 0; i < lineFiles.size(); ++i)
        QCOMPARE(card::readZipEntry(zip, lineFiles[i], 1 << 20).value_or("none"), lines[i]);
    QCOMPARE(card::verifyPackage(zip).status, card::VerifyOutcome::Status::Intact);
}

QString TestEvidencePackage::packageOfOneStill(const TempSite& site)
{
    const card::Swipe swipe = siteSwipe(site, "s", "08:15:30", "1");
    site.write("s/records/2007-5-3.txt", "08:15:30,1,A,\"進\"\n");
    site.write("s/photos/" + photoName("1", "08:15:30", "-C.jpg"), photoBytes("still"));
    card::PackageRequest request;
    request.swipes = {{swipe, "site", {}}};
    request.made = QDateTime::currentDateTime();
    const QString zip = site.filePath("package.zip");
    card::writeEvidencePackage(request, zip, fakeReport);
    return zip;
}

using Tamper = std::function<void(const QString& intact, const QString& target)>;

void TestEvidencePackage::verify_data()
{
    QTest::addColumn<Tamper>("tamper");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("lines");
    const QString photo = QStringLiteral("photos/1-070503-081530-C.jpg");

    QTest::newRow("intact") << Tamper([](const QString& intact, const QString& target) {
        QFile::copy(intact, target);
    }) << 0 << "完整\n";
    // Photos are stored as they are, so the byte is found in the ZIP itself.
    QTest::newRow("one byte of a photo changed in the file")
        << Tamper([](const QString& intact, const QString& target) {
               QFile file(intact);
               QVERIFY(file.open(QIODevice::ReadOnly));
               QByteArray bytes = file.readAll();
               const qsizetype at = bytes.indexOf(QByteArray(3000, char(5)));
               QVERIFY(at > 0);
               bytes[at + 100] = 'X';
               QFile out(target);
               QVERIFY(out.open(QIODevice::WriteOnly));
               out.write(bytes);
           })
        << 1 << "已變更：" + photo + "\n";
    QTest::newRow("a photo changed and packed again")
        << Tamper([photo](const QString& intact, const QString& target) {
               rezip(intact, target, [photo](auto& entries) { entries[photo][10] = 'Y'; });
           })
        << 1 << "已變更：" + photo + "\n";
    QTest::newRow("a file removed")
        << Tamper([photo](const QString& intact, const QString& target) {
               rezip(intact, target, [photo](auto& entries) { entries.remove(photo); });
           })
        << 1 << "缺少：" + photo + "\n";
    QTest::newRow("a file added") << Tamper([](const QString& intact, const QString& target) {
        rezip(intact, target, [](auto& entries) { entries.insert("photos/extra.jpg", "x"); });
    }) << 1 << "多出：photos/extra.jpg\n";
    QTest::newRow("not a ZIP") << Tamper([](const QString&, const QString& target) {
        QFile out(target);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("PK but not really a zip");
    }) << 2 << "不是證據包：%1\n";
}

void TestEvidencePackage::verify()
{
    QFETCH(Tamper, tamper);
    QFETCH(int, status);
    QFETCH(QString, lines);
    TempSite site;
    const QString intact = packageOfOneStill(site);
    const QString target = site.filePath("checked.zip");
    tamper(intact, target);
    const card::VerifyOutcome outcome = card::verifyPackage(target);
    QCOMPARE(card::verifyExitStatus(outcome), status);
    QCOMPARE(card::verifyLines(outcome, target), lines.contains(u'%') ? lines.arg(target) : lines);
}

// A photo that cannot be read whole is never packed as if it were.
void TestEvidencePackage::unreadablePhotoFailsThePackage()
{
    TempSite site;
    const card::Swipe swipe = siteSwipe(site, "s", "08:15:30", "1");
    site.write("s/records/2007-5-3.txt", "08:15:30,1,A,\"進\"\n");
    site.write("s/photos/" + photoName("1", "08:15:30", "-C.jpg"), photoBytes("still"));
    card::test::ControlledFileAccess access;
    access.failReads(QStringLiteral("-C.jpg"), 1000); // a share that fails mid-read
    card::PackageRequest request;
    request.swipes = {{swipe, "site", {}}};
    const QString zip = site.filePath("package.zip");
    QCOMPARE(card::writeEvidencePackage(request, zip, fakeReport).status,
             card::PackageStatus::PhotoUnreadable);
    QVERIFY(!QFile::exists(zip));
    request.keepUnreadable = true;
    const card::PackageOutcome kept = card::writeEvidencePackage(request, zip, fakeReport);
    QCOMPARE(kept.status, card::PackageStatus::Ok);
    QVERIFY(!entryHashes(zip).contains("photos/1-070503-081530-C.jpg"));
    QVERIFY(card::manifestJson(kept.facts).contains("unreadable"));
}

QTEST_GUILESS_MAIN(TestEvidencePackage)
#include "tst_evidence_package.moc"
