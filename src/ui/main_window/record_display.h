// The image area's reactions: a row chosen in a result list, and a tick of the playback timer.
#pragma once

namespace card {

struct MainControls;
struct MainWindowState;

// rec_show: aligns the four lists on the row chosen in List1(list_no), stores the swipe in
// cur_rec and shows its still photo, the first frame of its sequence (starting Timer1), or the
// fallback picture with "影像不存在". A photo that cannot be decoded counts as no photo.
void showSelectedRecord(const MainControls& controls, MainWindowState& state, int list_no);

// A tick of Timer1: shows the next lower frame present and ends the playback at frame 1, or at
// a frame that cannot be decoded (leaving the last good frame shown).
void showNextFrame(const MainControls& controls, MainWindowState& state);

// After the photo box has changed size: decodes the shown photo or frame again at the new size,
// so a larger box shows a sharp picture rather than a stretched one. The start picture, the
// fallback picture and a photo file that is gone or broken meanwhile stay as they are.
void redecodeShownPhoto(const MainControls& controls, const MainWindowState& state);

} // namespace card
