#include "code_page.h"

#include "core/text/text_decoding.h"

namespace card {

std::optional<QByteArray> toCodePage950(const QString& text)
{
    return encodeCodePage950(text);
}

bool codePage950Works()
{
    const auto bytes = toCodePage950(QStringLiteral("進出"));
    return bytes && *bytes == QByteArray("\xB6\x69\xA5\x58");
}

} // namespace card
