#include "core/evidence/evidence_verify.h"
#include "core/platform/saved_mappings.h"
#include "core/startup/command_line.h"
#include "ui/common/case_desk.h"
#include "ui/common/translations.h"
#include "ui/main_window/card_image_window.h"
#include "ui/reports/evidence_command.h"
#include "ui/reports/report_command.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLocale>

#include <cstdio>

namespace {

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

QtMessageHandler nextMessageHandler = nullptr;

// As root outside a desktop session the runtime folder is unset and Qt settles on one of its
// own; its note about that at every start reads as an error to a user, and nothing is lost.
void withoutRuntimeFolderNote(QtMsgType type, const QMessageLogContext& context,
                              const QString& text)
{
    if (type == QtWarningMsg && text.startsWith(u"QStandardPaths: XDG_RUNTIME_DIR not set"))
        return;
    nextMessageHandler(type, context, text);
}

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// --verify reads the package alone: no display, no fonts.
int verifyPackage(const card::CommandLine& line)
{
    const QString& package = line.evidence.package;
    const card::VerifyOutcome outcome = card::verifyPackage(package);
    const bool notPackage = outcome.status == card::VerifyOutcome::Status::NotPackage;
    print(notPackage ? stderr : stdout, card::verifyLines(outcome, package));
    return card::verifyExitStatus(outcome);
}

// --report and --evidence write their file and exit without a window, so a scheduled job can
// run them where there is no display at all: they always draw on the offscreen platform.
int writeWithoutDisplay(const card::CommandLine& line, int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries the one line that says why no report was written, nothing else
    // (the platform's notes about a missing desktop session, say).
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            print(stderr, text + u'\n');
    });
    QGuiApplication app(argc, argv);
    card::useFolderMappings(line.options.mappings);
    const card::ReportCommandOutcome outcome =
        line.kind == card::CommandLine::Kind::Evidence
            ? card::runEvidenceCommand(line.options, line.evidence, line.casesDatabase)
        : line.report.caseName.isEmpty()
            ? card::runReportCommand(line.options, line.report)
            : card::runCaseReportCommand(line.casesDatabase, line.report);
    if (!outcome.errorLine.isEmpty())
        print(stderr, outcome.errorLine);
    return outcome.exitStatus;
}

int runWindow(const card::CommandLine& line, int argc, char* argv[])
{
    nextMessageHandler = qInstallMessageHandler(withoutRuntimeFolderNote);
    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(card::programVersion());
    card::useFolderMappings(line.options.mappings);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::TraditionalHanScript, QLocale::Taiwan));
    card::installQtChineseTranslations();
    card::CaseDesk::instance().setLocationText(line.casesDatabase);
    card::CardImageWindow window;
    window.runStartup(line.options);
    window.show();
    return QApplication::exec();
}

} // namespace

// The command line is read whole before anything needs a display, so a malformed one is refused
// with its one line and status 2 wherever the program runs.
int main(int argc, char* argv[])
{
    const card::CommandLine line = card::parseCommandLine(argumentsOf(argc, argv));
    switch (line.kind) {
    case card::CommandLine::Kind::Help:
    case card::CommandLine::Kind::Version:
        print(stdout, line.text);
        return 0;
    case card::CommandLine::Kind::Error:
        print(stderr, line.text);
        return card::kUsageExitStatus;
    case card::CommandLine::Kind::Verify:
        return verifyPackage(line);
    case card::CommandLine::Kind::Report:
    case card::CommandLine::Kind::Evidence:
        return writeWithoutDisplay(line, argc, argv);
    case card::CommandLine::Kind::Run:
        break;
    }
    return runWindow(line, argc, argv);
}
