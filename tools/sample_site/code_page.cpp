#include "code_page.h"

#include <QStringEncoder>

namespace card {

std::optional<QByteArray> toCodePage950(const QString& text)
{
    QStringEncoder encoder("windows-950", QStringEncoder::Flag::Stateless);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

bool codePage950Works()
{
    const auto bytes = toCodePage950(QStringLiteral("進出"));
    return bytes && *bytes == QByteArray("\xB6\x69\xA5\x58");
}

} // namespace card
