// The product's look shared by the caption panel, the About and the tip
// windows: pictures drawn in code and labels in a larger or bolder face.
#pragma once

#include <QPixmap>

class QLabel;
class QString;
class QWidget;

namespace ui {

// A small table under a magnifying glass, 64 x 64 logical pixels, drawn
// sharp at the screen's device pixel ratio.
QPixmap productLogo(qreal devicePixelRatio);
// The light bulb beside the tip of the day, 32 x 32 logical pixels.
QPixmap tipBulb(qreal devicePixelRatio);
// A label whose font is pointDelta points larger (or smaller) and maybe bold.
QLabel* sizedLabel(const QString& text, QWidget* parent, qreal pointDelta, bool bold);
// The label, its text centred.
QLabel* centred(QLabel* label);

}  // namespace ui
