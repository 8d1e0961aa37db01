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

} // namespace card
