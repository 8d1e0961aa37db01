#include "core/dialog/file_list_model.h"
#include "core/dialog/folder_list_model.h"

#include "core/platform/site_io_pool.h"
#include "support/controlled_file_access.h"
#include "support/model_texts.h"
#include "support/temp_site.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

namespace {

QStringList shownRows(const QAbstractItemModel& model, int from = 0)
{
    return card::test::columnTexts(model, 0, from);
}

// Opens path and waits for the answer and the listing; true when the folder was opened.
bool openAndList(card::FolderListModel& model, const QString& path)
{
    QSignalSpy finished(&model, &card::FolderListModel::openFinished);
    model.open(path);
    if (!finished.wait() || !finished.first().first().toBool())
        return false;
    return QTest::qWaitFor([&model] { return model.scanComplete(); });
}

} // namespace

class TestFolderModels : public QObject {
    Q_OBJECT
private slots:
    void chainOfFolders_data();
    void chainOfFolders();
    void folderListShowsChainThenSubfolders();
    void folderListRefusesWhatItCannotOpen_data();
    void folderListRefusesWhatItCannotOpen();
    void reopeningOrRefreshingAnnouncesNothing();
    void hugeFolderIsReadInSlices();
    void fileListMatchesCaseSensitively();
    void newestFolderWins_data();
    void newestFolderWins();
};

void TestFolderModels::chainOfFolders_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("driveRoot");
    QTest::addColumn<QStringList>("chain");
    QTest::newRow("root") << "/"
                          << "" << QStringList{"/"};
    QTest::newRow("two levels") << "/home/ann"
                                << "" << QStringList{"/", "/home", "/home/ann"};
    QTest::newRow("trailing separator") << "/home/ann/"
                                        << "" << QStringList{"/", "/home", "/home/ann"};
    QTest::newRow("doubled separator and dots") << "//home//ann/./x/.."
                                                << "" << QStringList{"/", "/home", "/home/ann"};
    QTest::newRow("root drive") << "/home/ann"
                                << "/" << QStringList{"/", "/home", "/home/ann"};
    QTest::newRow("mount folder itself") << "/media/usb"
                                         << "/media/usb" << QStringList{"/media/usb"};
    QTest::newRow("inside a mount folder")
        << "/media/usb/site/"
        << "/media/usb" << QStringList{"/media/usb", "/media/usb/site"};
    QTest::newRow("drive root given with its separator")
        << "/media/usb/site"
        << "/media/usb/" << QStringList{"/media/usb", "/media/usb/site"};
    QTest::newRow("outside the drive") << "/home/ann"
                                       << "/media/usb" << QStringList{"/", "/home", "/home/ann"};
    QTest::newRow("a name that only starts like the drive")
        << "/media/usb2/a"
        << "/media/usb" << QStringList{"/", "/media", "/media/usb2", "/media/usb2/a"};
}

void TestFolderModels::chainOfFolders()
{
    QFETCH(QString, folder);
    QFETCH(QString, driveRoot);
    QFETCH(QStringList, chain);
    QCOMPARE(card::folderChain(folder, driveRoot), chain);
}

void TestFolderModels::folderListShowsChainThenSubfolders()
{
    card::test::TempSite site;
    site.makeFolder("top/beta");
    site.makeFolder("top/Alpha");
    site.makeFolder("top/gamma.spf");
    site.makeFolder("top/.hidden");
    site.write("top/file.spf", "x");

    card::FolderListModel model;
    QAbstractItemModelTester tester(&model);
    QSignalSpy changes(&model, &card::FolderListModel::openFolderChanged);
    const QString top = site.filePath("top");
    QVERIFY(openAndList(model, top));
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes.first().first().toString(), top);
    QCOMPARE(model.openFolder(), top);

    const QStringList chain = card::folderChain(top);
    QCOMPARE(model.openFolderRow(), chain.size() - 1);
    QCOMPARE(shownRows(model).first(), QStringLiteral("/"));
    QCOMPARE(shownRows(model).at(chain.size() - 1), QStringLiteral("top"));
    QCOMPARE(shownRows(model, int(chain.size())), (QStringList{"Alpha", "beta", "gamma.spf"}));
    QCOMPARE(model.index(1).data(card::FolderListModel::DepthRole).toInt(), 1);
    QCOMPARE(model.index(int(chain.size())).data(card::FolderListModel::DepthRole).toInt(),
             int(chain.size()));
    QVERIFY(model.index(0).data(card::FolderListModel::OnChainRole).toBool());
    QVERIFY(!model.index(int(chain.size())).data(card::FolderListModel::OnChainRole).toBool());
    QCOMPARE(model.folderAt(0), QStringLiteral("/"));
    QCOMPARE(model.folderAt(int(chain.size())), top + QStringLiteral("/Alpha"));
}

void TestFolderModels::folderListRefusesWhatItCannotOpen_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing folder") << "missing";
    QTest::newRow("a file") << "file.spf";
    QTest::newRow("empty path") << "";
}

void TestFolderModels::folderListRefusesWhatItCannotOpen()
{
    QFETCH(QString, name);
    card::test::TempSite site;
    site.makeFolder("sub");
    site.write("file.spf", "x");
    card::FolderListModel model;
    QVERIFY(openAndList(model, site.path()));
    const QStringList before = shownRows(model);
    QSignalSpy changes(&model, &card::FolderListModel::openFolderChanged);
    QVERIFY(!openAndList(model, name.isEmpty() ? QString() : site.filePath(name)));
    QCOMPARE(changes.size(), 0);
    QCOMPARE(model.openFolder(), site.path());
    QCOMPARE(shownRows(model), before);
}

void TestFolderModels::reopeningOrRefreshingAnnouncesNothing()
{
    card::test::TempSite site;
    card::FolderListModel model;
    QVERIFY(openAndList(model, site.path()));
    QSignalSpy changes(&model, &card::FolderListModel::openFolderChanged);
    site.makeFolder("made later");
    model.refresh();
    QTRY_VERIFY(model.scanComplete());
    QCOMPARE(shownRows(model).last(), QStringLiteral("made later"));
    QVERIFY(openAndList(model, site.path() + QStringLiteral("/")));
    QCOMPARE(changes.size(), 0);
    QCOMPARE(model.openFolder(), site.path());
}

void TestFolderModels::hugeFolderIsReadInSlices()
{
    constexpr int count = card::ScannedListModel::kSliceSize * 4 + 17;
    card::test::TempSite site;
    QStringList names;
    for (int i = 0; i < count; ++i) {
        // Written in an order unlike the sorted one, so merging the slices matters.
        names.append(QStringLiteral("d%1").arg((i * 7919) % count, 5, 10, QChar(u'0')));
        site.makeFolder(names.last());
    }
    names.sort();

    card::FolderListModel model;
    QAbstractItemModelTester tester(&model);
    // The first names show before the rest of the folder is read; a row highlighted then
    // keeps its folder while later batches merge in.
    int lead = 0;
    int firstShown = 0;
    bool completeAtFirst = true;
    QPersistentModelIndex highlighted;
    QString name;
    connect(&model, &QAbstractItemModel::layoutChanged, this, [&] {
        if (highlighted.isValid())
            return;
        lead = model.openFolderRow() + 1;
        firstShown = model.rowCount() - lead;
        completeAtFirst = model.scanComplete();
        highlighted = model.index(lead + 3);
        name = highlighted.data().toString();
    });
    model.open(site.path());
    QTRY_VERIFY(highlighted.isValid() && model.scanComplete());
    QCOMPARE(firstShown, card::ScannedListModel::kSliceSize);
    QVERIFY(!completeAtFirst);
    QCOMPARE(shownRows(model, lead), names);
    QCOMPARE(highlighted.data().toString(), name);
}

void TestFolderModels::fileListMatchesCaseSensitively()
{
    card::test::TempSite site;
    for (const char* name : {"b.SPF", "a.spf", "c.Spf", "d.txt", ".e.spf", "f.spf.bak", "g.sPF"})
        site.write(QString::fromLatin1(name), "x");
    site.makeFolder("folder.spf");

    card::FileListModel model(card::kParameterFilePattern);
    QAbstractItemModelTester tester(&model);
    model.setFolder(site.path());
    QCOMPARE(model.folder(), site.path());
    QTRY_VERIFY(model.scanComplete());
    QCOMPARE(shownRows(model), (QStringList{"a.spf", "b.SPF"}));
    QCOMPARE(model.fileName(1), QStringLiteral("b.SPF"));

    model.setFolder(site.filePath("folder.spf"));
    QCOMPARE(model.rowCount(), 0);
}

void TestFolderModels::newestFolderWins_data()
{
    QTest::addColumn<bool>("folderList");
    QTest::newRow("folder list, the first folder's check held") << true;
    QTest::newRow("file list, the first folder's listing held") << false;
}

void TestFolderModels::newestFolderWins()
{
    QFETCH(bool, folderList);
    card::test::TempSite site;
    for (const char* name : {"first/old.spf", "first/old/x", "second/new.spf", "second/new/x"})
        site.write(QString::fromLatin1(name), "x");
    card::FolderListModel folders;
    card::FileListModel files(card::kParameterFilePattern);
    const card::ScannedListModel& model = folderList ? static_cast<card::ScannedListModel&>(folders)
                                                     : static_cast<card::ScannedListModel&>(files);
    const auto show = [&](const QString& folder) {
        if (folderList)
            folders.open(folder);
        else
            files.setFolder(folder);
    };
    {
        card::test::ControlledFileAccess access;
        access.hang(QStringLiteral("first"));
        show(site.filePath("first"));
        QTRY_COMPARE(access.held(), 1);
        show(site.filePath("second"));
        QTRY_VERIFY(!folders.openPending() && model.scanComplete());
        // The first folder's work ends now; whatever it sends back must be dropped.
        access.release();
        card::siteIoPool().waitForDone();
    }
    QCoreApplication::processEvents();
    const int lead = folderList ? folders.openFolderRow() + 1 : 0;
    QCOMPARE(shownRows(model, lead), QStringList{folderList ? "new" : "new.spf"});
    QCOMPARE(folderList ? folders.openFolder() : files.folder(), site.filePath("second"));
}

QTEST_GUILESS_MAIN(TestFolderModels)
#include "tst_folder_models.moc"
