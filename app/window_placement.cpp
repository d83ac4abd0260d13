#include "app/window_placement.h"

#include <algorithm>

namespace app {

QRect WindowPlacement::choose(const QRect& stored, const QList<QRect>& screens) {
    if (screens.isEmpty()) {
        return stored;
    }
    const QRect primary = screens.first();
    const bool sized = stored.width() >= kMinWidth && stored.height() >= kMinHeight;
    const bool onScreen = std::any_of(screens.begin(), screens.end(),
                                      [&](const QRect& s) { return s.intersects(stored); });
    if (sized && onScreen) {
        return stored;
    }
    QSize size = sized ? stored.size() : primary.size() * 3 / 4;
    size = size.boundedTo(primary.size());
    QRect placed(QPoint(0, 0), size);
    placed.moveCenter(primary.center());
    return placed;
}

}  // namespace app
