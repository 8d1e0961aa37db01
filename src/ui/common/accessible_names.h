// Control names for accessibility clients (screen readers, UI tests).
#pragma once

class QWidget;

namespace card {

// Gives root and each named descendant its control name as accessible description. The
// accessible name stays the caption, which is what a screen reader should speak.
void describeControlsByName(QWidget* root);

} // namespace card
