// Values that many listed swipes show alike (a card's number and name, a direction word, a
// time), each decoded once and then shared: a year of exceptions holds hundreds of thousands of
// swipes of a few thousand cards, which would otherwise each decode and hold texts of their own.
#pragma once

#include "core/text/text_decoding.h"
#include "core/text/value_reader.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <array>

namespace card {

class SharedTexts {
public:
    // valueText of value: the same string as for every equal value before in the same encoding.
    QString text(QByteArrayView bytes, const ValueSlice& value, const TextCodec& codec);

private:
    // By the value's bytes: the numbers, then the texts of each encoding.
    std::array<QHash<QByteArray, QString>, 3> m_texts;
};

} // namespace card
