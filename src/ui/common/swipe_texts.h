// How every window and report heads a swipe's day and four values. Plain UTF-16 arrays, so the
// main window's control table can hold them as constants.
#pragma once

namespace card {

inline constexpr char16_t kDateHeading[] = u"日期";
inline constexpr char16_t kTimeHeading[] = u"時間";
inline constexpr char16_t kCardHeading[] = u"卡號";
inline constexpr char16_t kNameHeading[] = u"姓名";
inline constexpr char16_t kDirectionHeading[] = u"進出";

} // namespace card
