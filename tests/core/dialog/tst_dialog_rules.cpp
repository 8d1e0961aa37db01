#include "core/dialog/dialog_rules.h"

#include "core/platform/file_exists.h"
#include "support/temp_site.h"

#include <QTest>

using card::ConfirmButton;
using card::ConfirmNext;

namespace {

enum Answer { NotAsked, No, Yes };

const QString kEarlierPath = QStringLiteral("/earlier/a.spf");
const QString kEarlierFolder = QStringLiteral("/earlier");
const QString kOpenFolder = QStringLiteral("/open/in/Dir1");

// "@" in an expected path stands for the temporary folder the files live in.
QString expand(QString text, const QString& folder)
{
    return text.replace(u'@', folder);
}

} // namespace

class TestDialogRules : public QObject {
    Q_OBJECT
private slots:
    void outcomes_data();
    void outcomes();
    void newFileExtension_data();
    void newFileExtension();
};

void TestDialogRules::outcomes_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");

    const int add = int(ConfirmButton::NewName);
    const int select = int(ConfirmButton::Select);
    const int cancel = int(ConfirmButton::Cancel);
    const QString noName = card::kNoNameMessage;
    const QString missing = card::kMissingFileMessage;
    const QString question = card::kExistingFileQuestion;

    // Files present in the folder of File1: a.spf, B.SPF, abc.spf, *.spf is absent, folder.spf/.
    QTest::newRow("folder mode, select returns the open folder")
        << "4" << select << "x" << int(NotAsked) << true << ""
        << "" << kEarlierPath << kOpenFolder;
    QTest::newRow("folder mode, cancel empties the folder")
        << "4" << cancel << "x" << int(NotAsked) << true << ""
        << "" << kEarlierPath << "";
    QTest::newRow("folder mode, new only ends the mode")
        << "4" << add << "" << int(NotAsked) << true << ""
        << "" << kEarlierPath << kEarlierFolder;

    QTest::newRow("load mode, select an existing file")
        << "5" << select << "a.spf" << int(NotAsked) << true << ""
        << "1"
        << "@/a.spf" << kEarlierFolder;
    QTest::newRow("load mode, cancel after typing")
        << "5" << cancel << "a.spf" << int(NotAsked) << true << ""
        << "3"
        << "" << kEarlierFolder;
    QTest::newRow("general mode, cancel with an empty name")
        << "" << cancel << "" << int(NotAsked) << true << ""
        << "3"
        << "" << kEarlierFolder;
    QTest::newRow("select with an empty name") << "5" << select << "" << int(NotAsked) << false
                                               << noName << "5" << kEarlierPath << kEarlierFolder;
    QTest::newRow("select adds no extension")
        << "5" << select << "abc" << int(NotAsked) << false << missing << "5"
        << "@/abc" << kEarlierFolder;
    QTest::newRow("select compares the case of the name")
        << "5" << select << "A.spf" << int(NotAsked) << false << missing << "5"
        << "@/A.spf" << kEarlierFolder;
    QTest::newRow("select on a folder named .spf")
        << "5" << select << "folder.spf" << int(NotAsked) << false << missing << "5"
        << "@/folder.spf" << kEarlierFolder;
    QTest::newRow("select with blanks only")
        << "5" << select << "  " << int(NotAsked) << false << missing << "5"
        << "@/  " << kEarlierFolder;
    QTest::newRow("select takes a wildcard literally")
        << "5" << select << "*.spf" << int(NotAsked) << false << missing << "5"
        << "@/*.spf" << kEarlierFolder;
    QTest::newRow("select with an untrimmed name")
        << "5" << select << " a.spf" << int(NotAsked) << false << missing << "5"
        << "@/ a.spf" << kEarlierFolder;

    QTest::newRow("new name in a general mode")
        << "2" << add << "new" << int(NotAsked) << true << ""
        << "0"
        << "@/new.spf" << kEarlierFolder;
    QTest::newRow("new with an empty name") << "" << add << "" << int(NotAsked) << false << noName
                                            << "" << kEarlierPath << kEarlierFolder;
    QTest::newRow("new on an existing file, answered yes")
        << "" << add << "abc" << int(Yes) << true << question << "0"
        << "@/abc.spf" << kEarlierFolder;
    QTest::newRow("new on an existing file, answered no")
        << "" << add << "abc" << int(No) << false << question << ""
        << "@/abc.spf" << kEarlierFolder;
    QTest::newRow("new on an upper-case existing file")
        << "7" << add << "B.SPF" << int(No) << false << question << "7"
        << "@/B.SPF" << kEarlierFolder;
    QTest::newRow("new on a folder named .spf asks nothing")
        << "" << add << "folder.spf" << int(NotAsked) << true << ""
        << "0"
        << "@/folder.spf" << kEarlierFolder;
}

void TestDialogRules::outcomes()
{
    QFETCH(QString, mode);
    QFETCH(int, button);
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(QString, message);
    QFETCH(QString, code);
    QFETCH(QString, path);
    QFETCH(QString, folder);

    card::test::TempSite site;
    site.write("a.spf", "x");
    site.write("B.SPF", "x");
    site.write("abc.spf", "x");
    site.makeFolder("folder.spf");

    card::DialogPara para{{QStringLiteral("title"), mode, kEarlierPath, kEarlierFolder}};
    const card::ConfirmFields fields{typed, site.path(), kOpenFolder};
    card::ConfirmOutcome outcome =
        card::pressConfirm(para, static_cast<ConfirmButton>(button), fields, &card::fileExists);
    QCOMPARE(outcome.next == ConfirmNext::AskToContinue, answer != NotAsked);
    QCOMPARE(outcome.message, message);
    if (answer != NotAsked)
        outcome = card::answerContinue(para, answer == Yes);

    QCOMPARE(outcome.next, closes ? ConfirmNext::Close : ConfirmNext::Stay);
    QCOMPARE(para[card::kDialogTitleSlot], QStringLiteral("title"));
    QCOMPARE(para[card::kDialogCodeSlot], code);
    QCOMPARE(para[card::kDialogPathSlot], expand(path, site.path()));
    QCOMPARE(para[card::kDialogFolderSlot], folder);
}

void TestDialogRules::newFileExtension_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("extension added") << "/site"
                                     << "abc"
                                     << "/site/abc.spf";
    QTest::newRow("lower-case extension kept") << "/site"
                                               << "abc.spf"
                                               << "/site/abc.spf";
    QTest::newRow("upper-case extension kept") << "/site"
                                               << "abc.SPF"
                                               << "/site/abc.SPF";
    QTest::newRow("mixed case is no extension") << "/site"
                                                << "abc.Spf"
                                                << "/site/abc.Spf.spf";
    QTest::newRow("other extension kept and extended") << "/site"
                                                       << "abc.txt"
                                                       << "/site/abc.txt.spf";
    QTest::newRow("name only the extension") << "/site"
                                             << ".spf"
                                             << "/site/.spf";
    QTest::newRow("root keeps its separator") << "/"
                                              << "abc"
                                              << "//abc.spf";
}

void TestDialogRules::newFileExtension()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(card::newParameterFilePath(folder, name), expected);
}

QTEST_GUILESS_MAIN(TestDialogRules)
#include "tst_dialog_rules.moc"
