#include "ui/color_palette.h"

#include <QEvent>
#include <QMouseEvent>

#include "ui/pane_layout.h"
#include "ui/toolbar_icons.h"

namespace ui {

namespace {

struct SwatchPlace {
    int left, top, width, height;
};
const SwatchPlace kPlaces[ColorPalette::kSwatchCount] = {
    {90, 75, 240, 225},  {390, 75, 240, 225},  {90, 330, 240, 225}, {390, 335, 240, 225},
    {90, 600, 240, 225}, {390, 585, 240, 225}, {90, 870, 240, 225}, {390, 855, 240, 240},
};
const TwipsRect kPanel{2520, 375, 735, 1185};

QString colorName(int bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF).name();
}

}  // namespace

ColorPalette::ColorPalette(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PanColor"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("#PanColor { background: #c0c0c0; }"));
    for (int i = 0; i < kSwatchCount; ++i) {
        auto* s = new QFrame(this);
        s->setObjectName(QStringLiteral("SSPanelColor(%1)").arg(i));
        s->setFrameShape(QFrame::Panel);
        s->setLineWidth(2);
        backColors_[i] = ToolbarIcons::swatchColor(i);
        s->setStyleSheet(
            QStringLiteral("QFrame { background: %1; }").arg(colorName(backColors_[i])));
        s->setMouseTracking(true);
        s->installEventFilter(this);
        swatches_[i] = s;
        setBevel(i, 2);
    }
    setMouseTracking(true);
    hide();
}

void ColorPalette::place(double dpiX, double dpiY) {
    setGeometry(toPixels(kPanel, dpiX, dpiY));
    for (int i = 0; i < kSwatchCount; ++i) {
        const SwatchPlace& p = kPlaces[i];
        swatches_[i]->setGeometry(toPixels({p.left, p.top, p.width, p.height}, dpiX, dpiY));
    }
}

void ColorPalette::setBevel(int i, int bevel) {
    if (QFrame* s = swatch(i)) {
        s->setFrameShadow(bevel == 1 ? QFrame::Sunken : QFrame::Raised);
    }
}

int ColorPalette::bevel(int i) const {
    const QFrame* s = swatch(i);
    return s && s->frameShadow() == QFrame::Sunken ? 1 : 2;
}

int ColorPalette::backColor(int i) const {
    return swatch(i) ? backColors_[i] : 0;
}

void ColorPalette::markChosen(int i) {
    for (int j = 0; j < kSwatchCount; ++j) {
        setBevel(j, j == i ? 1 : 2);
    }
}

void ColorPalette::open() {
    show();
    raise();
}

bool ColorPalette::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int i = 0; i < kSwatchCount; ++i) {
            if (watched == swatches_[i]) {
                emit swatchClicked(i);
                return true;
            }
        }
    }
    return QFrame::eventFilter(watched, event);
}

void ColorPalette::mouseReleaseEvent(QMouseEvent*) {
    emit backgroundClicked();
}

}  // namespace ui
