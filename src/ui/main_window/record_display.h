// The image area's reactions: a row chosen in a result list, and a tick of the playback timer.
#pragma once

namespace card {

struct MainControls;
struct MainWindowState;

// Aligns the four lists on the row chosen in result list listIndex, stores the swipe in
// currentRecord and shows its still photo, the first frame of its sequence (starting the playback
// timer), or the fallback picture with "影像不存在". A photo that cannot be decoded counts as no
// photo.
void showSelectedRecord(const MainControls& controls, MainWindowState& state, int listIndex);

// A tick of the playback timer: shows the next lower frame present and ends the playback at frame
// 1, or at a frame that cannot be decoded (leaving the last good frame shown).
void showNextFrame(const MainControls& controls, MainWindowState& state);

// After the photo box has changed size: decodes the shown photo or frame again at the new size,
// so a larger box shows a sharp picture rather than a stretched one. The start picture, the
// fallback picture and a photo file that is gone or broken meanwhile stay as they are.
void redecodeShownPhoto(const MainControls& controls, const MainWindowState& state);

} // namespace card
