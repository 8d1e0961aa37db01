// The folder a save dialog proposes: the last one used, Documents or home, the first that exists.
#include "core/platform/save_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSaveFolder : public QObject {
    Q_OBJECT
private slots:
    void proposed_data();
    void proposed();
};

void TestSaveFolder::proposed_data()
{
    // Names in a folder holding the folders "used", "Documents" and "home" and the file "file";
    // "gone" does not exist; "" is no setting.
    QTest::addColumn<QStringList>("given"); // the last used folder, then Documents
    QTest::addColumn<QString>("expected");
    QTest::newRow("last used") << QStringList{"used", "Documents"} << "used";
    QTest::newRow("nothing used yet") << QStringList{"", "Documents"} << "Documents";
    QTest::newRow("last used is gone") << QStringList{"gone", "Documents"} << "Documents";
    QTest::newRow("last used is a file") << QStringList{"file", "Documents"} << "Documents";
    QTest::newRow("no Documents") << QStringList{"gone", "gone"} << "home";
}

void TestSaveFolder::proposed()
{
    QFETCH(QStringList, given);
    QFETCH(QString, expected);
    const QTemporaryDir root;
    const QDir folder(root.path());
    QVERIFY(folder.mkdir("used") && folder.mkdir("Documents") && folder.mkdir("home"));
    QVERIFY(QFile(folder.filePath("file")).open(QIODevice::WriteOnly));
    const auto path = [&](const QString& name) {
        return name.isEmpty() ? name : folder.filePath(name);
    };
    QCOMPARE(card::proposedSaveFolder(path(given[0]), path(given[1]), path("home")),
             path(expected));
}

QTEST_GUILESS_MAIN(TestSaveFolder)
#include "tst_save_folder.moc"
