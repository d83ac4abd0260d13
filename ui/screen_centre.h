// Where a secondary window goes so that it stands in the middle of a screen.
#pragma once

#include <algorithm>

#include <QPoint>
#include <QRect>
#include <QSize>

namespace ui {

// Top-left corner for a window of that size centred on the screen's area.
// A window larger than the screen keeps its top-left corner on the screen.
inline QPoint centredOnScreen(QSize window, const QRect& screen) {
    const int left = screen.left() + (screen.width() - window.width()) / 2;
    const int top = screen.top() + (screen.height() - window.height()) / 2;
    return {std::max(left, screen.left()), std::max(top, screen.top())};
}

}  // namespace ui
