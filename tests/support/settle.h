// Waiting for the main window's work off the interface thread to show its results.
#pragma once

#include "ui/main_window/card_image_window.h"

#include <QTest>

namespace card::test {

// Waits until every query, load and photo on its way has been shown; false after ten seconds.
inline bool settled(const CardImageWindow& window)
{
    return QTest::qWaitFor([&window] { return !window.isWorking(); }, 10000);
}

} // namespace card::test
