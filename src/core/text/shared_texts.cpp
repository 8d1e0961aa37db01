#include "core/text/shared_texts.h"

namespace card {

QString SharedTexts::text(QByteArrayView bytes, const ValueSlice& value, const TextCodec& codec)
{
    const QByteArrayView raw = bytes.sliced(value.begin, value.length);
    const std::size_t kind = value.isNumber ? 0 : 1 + static_cast<std::size_t>(codec.encoding());
    QHash<QByteArray, QString>& texts = m_texts[kind];
    // A key over the bytes where they are: a look-up that finds its text copies nothing.
    const auto known = texts.constFind(QByteArray::fromRawData(raw.data(), raw.size()));
    if (known != texts.cend())
        return *known;
    return *texts.insert(raw.toByteArray(), valueText(bytes, value, codec));
}

} // namespace card
