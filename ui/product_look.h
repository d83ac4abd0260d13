// The product's look shared by the caption panel and the About window: its
// logo and labels in a larger or bolder face than the window's own.
#pragma once

#include <QPixmap>

class QLabel;
class QString;
class QWidget;

namespace ui {

// A small table under a magnifying glass, 64 x 64 logical pixels, drawn
// sharp at the screen's device pixel ratio.
QPixmap productLogo(qreal devicePixelRatio);
// A label whose font is pointDelta points larger (or smaller) and maybe bold.
QLabel* sizedLabel(const QString& text, QWidget* parent, qreal pointDelta, bool bold);
// The label, its text centred.
QLabel* centred(QLabel* label);

}  // namespace ui
