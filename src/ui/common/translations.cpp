#include "ui/common/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstring>

namespace card {

namespace {

// Texts the file dialogs show that Qt's Traditional Chinese catalogue lacks: Qt 6 asks for the
// kinds of entries under a context its catalogue does not have yet, so a folder's type would
// read "Folder" among Chinese columns.
class MissingQtTexts : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        struct Text {
            const char* context;
            const char* source;
            const char16_t* chinese;
        };
        static constexpr Text kTexts[] = {
            {"QAbstractFileIconProvider", "Folder", u"資料夾"},
            {"QAbstractFileIconProvider", "Drive", u"磁碟機"},
            {"QAbstractFileIconProvider", "File", u"檔案"},
        };
        for (const Text& text : kTexts) {
            if (std::strcmp(context, text.context) == 0 &&
                std::strcmp(sourceText, text.source) == 0)
                return QString::fromUtf16(text.chinese);
        }
        return {};
    }

    bool isEmpty() const override { return false; }
};

} // namespace

void installQtChineseTranslations()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qt_zh_TW"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
    QCoreApplication::installTranslator(new MissingQtTexts(QCoreApplication::instance()));
}

} // namespace card
