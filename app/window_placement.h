// Where the main window opens: the stored frame rectangle when it is usable,
// otherwise a sensible place on the primary screen. A first start (no stored
// size) or a stored rectangle that lies wholly off every screen would give an
// invisible or minimal window.
#pragma once

#include <QList>
#include <QRect>

namespace app {

class WindowPlacement {
  public:
    // Below this size, in pixels, a stored window counts as having no size.
    static constexpr int kMinWidth = 320;
    static constexpr int kMinHeight = 240;

    // stored: the frame rectangle from the settings, in pixels. screens: the
    // available area of each screen, the primary one first. Returns the frame
    // rectangle to use: stored as it is when it has a usable size and touches
    // a screen; else three quarters of the primary screen, centred on it (or
    // the stored size, held within the screen, when only the position is off).
    static QRect choose(const QRect& stored, const QList<QRect>& screens);
};

}  // namespace app
