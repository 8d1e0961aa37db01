// The two directions a swipe records, and the operator's choice among them: words the records,
// the command line and every window share.
#pragma once

#include <QStringView>

namespace card {

constexpr QStringView inWord()
{
    return u"進";
}
constexpr QStringView outWord()
{
    return u"出";
}

enum class DirectionChoice {
    None, // no direction button selected: nothing passes
    In,   // "進" only
    Out,  // "出" only
    All,  // "全選"
};

} // namespace card
