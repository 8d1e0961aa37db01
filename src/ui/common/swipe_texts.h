// How every window and report heads a swipe's day and four values, and names its way back to
// the main window. Plain UTF-16 arrays, so the
// main window's control table can hold them as constants.
#pragma once

namespace card {

inline constexpr char16_t kDateHeading[] = u"日期";
inline constexpr char16_t kTimeHeading[] = u"時間";
inline constexpr char16_t kCardHeading[] = u"卡號";
inline constexpr char16_t kNameHeading[] = u"姓名";
inline constexpr char16_t kDirectionHeading[] = u"進出";
// A card's day summed up: its first 進, its last 出 and the time between its first and last swipe.
inline constexpr char16_t kFirstInHeading[] = u"首次進";
inline constexpr char16_t kLastOutHeading[] = u"最後出";
inline constexpr char16_t kSpanHeading[] = u"首末間隔";

// The menu entry of a window listing swipes that finds the chosen one in the main window.
inline constexpr char16_t kShowInMainWindow[] = u"在主視窗顯示";

} // namespace card
