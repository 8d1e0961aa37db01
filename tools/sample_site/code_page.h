// Text in code page 950, the encoding of the site's record and parameter files.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace card {

// Whether this Qt encodes code page 950 at all (it needs ICU): checked on two characters of
// the record files, 進 (B6 69) and 出 (A5 58).
bool codePage950Works();

// text in code page 950, or nothing when a character has no code in it.
std::optional<QByteArray> toCodePage950(const QString& text);

} // namespace card
