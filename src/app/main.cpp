#include "core/startup/command_line.h"
#include "ui/common/translations.h"
#include "ui/main_window/card_image_window.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>

namespace {

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// --help and --version need no display: they are answered before the application connects to
// one. Anything else waits for the application, which takes its own options (-platform, say)
// out of the arguments first.
bool answeredWithoutDisplay(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const card::CommandLine line = card::parseCommandLine(arguments);
    if (line.kind != card::CommandLine::Kind::Help && line.kind != card::CommandLine::Kind::Version)
        return false;
    print(stdout, line.text);
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (answeredWithoutDisplay(argc, argv))
        return 0;
    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(card::programVersion());
    const card::CommandLine line = card::parseCommandLine(QApplication::arguments());
    switch (line.kind) {
    case card::CommandLine::Kind::Help:
    case card::CommandLine::Kind::Version:
        print(stdout, line.text);
        return 0;
    case card::CommandLine::Kind::Error:
        // Nothing has been shown: the one line says what is wrong.
        print(stderr, line.text);
        return card::kUsageExitStatus;
    case card::CommandLine::Kind::Run:
        break;
    }
    QApplication::setStyle(QStringLiteral("Fusion"));
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::TraditionalHanScript, QLocale::Taiwan));
    card::installQtChineseTranslations();
    card::CardImageWindow window;
    window.runStartup(line.options);
    window.show();
    return QApplication::exec();
}
