#include "core/dialog/dialog_rules.h"

#include "core/platform/file_exists.h"
#include "support/temp_site.h"

#include <QTest>

using card::ConfirmButton;
using card::ConfirmNext;
using card::FileSelectExchange;
using card::FileSelectMode;
using card::FileSelectResult;

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
    QTest::addColumn<FileSelectMode>("mode");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<FileSelectResult>("result");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");

    const int add = int(ConfirmButton::NewName);
    const int select = int(ConfirmButton::Select);
    const int cancel = int(ConfirmButton::Cancel);
    const FileSelectMode general = FileSelectMode::General;
    const FileSelectMode folder = FileSelectMode::Folder;
    const FileSelectMode load = FileSelectMode::Load;
    const FileSelectResult none = FileSelectResult::None;
    const FileSelectResult newName = FileSelectResult::NewName;
    const FileSelectResult selected = FileSelectResult::Selected;
    const FileSelectResult cancelled = FileSelectResult::Cancelled;
    const QString noName = card::kNoNameMessage;
    const QString missing = card::kMissingFileMessage;
    const QString question = card::kExistingFileQuestion;

    // Files present in the file list's folder: a.spf, B.SPF, abc.spf, *.spf is absent, folder.spf/.
    QTest::newRow("folder mode, select returns the open folder")
        << folder << select << "x" << int(NotAsked) << true << "" << none << kEarlierPath
        << kOpenFolder;
    QTest::newRow("folder mode, cancel empties the folder")
        << folder << cancel << "x" << int(NotAsked) << true << "" << none << kEarlierPath << "";
    QTest::newRow("folder mode, new only ends the mode")
        << folder << add << "" << int(NotAsked) << true << "" << none << kEarlierPath
        << kEarlierFolder;

    QTest::newRow("load mode, select an existing file")
        << load << select << "a.spf" << int(NotAsked) << true << "" << selected << "@/a.spf"
        << kEarlierFolder;
    QTest::newRow("load mode, cancel after typing")
        << load << cancel << "a.spf" << int(NotAsked) << true << "" << cancelled << ""
        << kEarlierFolder;
    QTest::newRow("general mode, cancel with an empty name")
        << general << cancel << "" << int(NotAsked) << true << "" << cancelled << ""
        << kEarlierFolder;
    QTest::newRow("select with an empty name") << load << select << "" << int(NotAsked) << false
                                               << noName << none << kEarlierPath << kEarlierFolder;
    QTest::newRow("select adds no extension") << load << select << "abc" << int(NotAsked) << false
                                              << missing << none << "@/abc" << kEarlierFolder;
    QTest::newRow("select compares the case of the name")
        << load << select << "A.spf" << int(NotAsked) << false << missing << none << "@/A.spf"
        << kEarlierFolder;
    QTest::newRow("select on a folder named .spf")
        << load << select << "folder.spf" << int(NotAsked) << false << missing << none
        << "@/folder.spf" << kEarlierFolder;
    QTest::newRow("select with blanks only") << load << select << "  " << int(NotAsked) << false
                                             << missing << none << "@/  " << kEarlierFolder;
    QTest::newRow("select takes a wildcard literally")
        << load << select << "*.spf" << int(NotAsked) << false << missing << none << "@/*.spf"
        << kEarlierFolder;
    QTest::newRow("select with an untrimmed name")
        << load << select << " a.spf" << int(NotAsked) << false << missing << none << "@/ a.spf"
        << kEarlierFolder;

    QTest::newRow("new name in a general mode") << general << add << "new" << int(NotAsked) << true
                                                << "" << newName << "@/new.spf" << kEarlierFolder;
    QTest::newRow("new with an empty name") << general << add << "" << int(NotAsked) << false
                                            << noName << none << kEarlierPath << kEarlierFolder;
    QTest::newRow("new on an existing file, answered yes")
        << general << add << "abc" << int(Yes) << true << question << newName << "@/abc.spf"
        << kEarlierFolder;
    QTest::newRow("new on an existing file, answered no")
        << general << add << "abc" << int(No) << false << question << none << "@/abc.spf"
        << kEarlierFolder;
    QTest::newRow("new on an upper-case existing file")
        << general << add << "B.SPF" << int(No) << false << question << none << "@/B.SPF"
        << kEarlierFolder;
    QTest::newRow("new on a folder named .spf asks nothing")
        << general << add << "folder.spf" << int(NotAsked) << true << "" << newName
        << "@/folder.spf" << kEarlierFolder;
}

void TestDialogRules::outcomes()
{
    QFETCH(FileSelectMode, mode);
    QFETCH(int, button);
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(QString, message);
    QFETCH(FileSelectResult, result);
    QFETCH(QString, path);
    QFETCH(QString, folder);

    card::test::TempSite site;
    site.write("a.spf", "x");
    site.write("B.SPF", "x");
    site.write("abc.spf", "x");
    site.makeFolder("folder.spf");

    // The exchange as a caller leaves it: a request, and what an earlier opening returned.
    FileSelectExchange exchange{QStringLiteral("title"), mode, FileSelectResult::None, kEarlierPath,
                                kEarlierFolder};
    const card::ConfirmFields fields{typed, site.path(), kOpenFolder};
    // The dialog tests in advance the path that testedPath names, so the rule must ask about
    // that path and no other.
    const std::optional<QString> announced =
        card::testedPath(exchange, static_cast<ConfirmButton>(button), fields);
    QStringList asked;
    card::ConfirmOutcome outcome = card::pressConfirm(exchange, static_cast<ConfirmButton>(button),
                                                      fields, [&asked](const QString& tested) {
                                                          asked.append(tested);
                                                          return card::fileExists(tested);
                                                      });
    QCOMPARE(asked, announced ? QStringList{*announced} : QStringList{});
    QCOMPARE(outcome.next == ConfirmNext::AskToContinue, answer != NotAsked);
    QCOMPARE(outcome.message, message);
    if (answer != NotAsked)
        outcome = card::answerContinue(exchange, answer == Yes);

    QCOMPARE(outcome.next, closes ? ConfirmNext::Close : ConfirmNext::Stay);
    QCOMPARE(exchange.title, QStringLiteral("title"));
    QCOMPARE(exchange.mode, mode);
    QCOMPARE(exchange.result, result);
    QCOMPARE(exchange.path, expand(path, site.path()));
    QCOMPARE(exchange.folder, folder);
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
