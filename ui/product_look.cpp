#include "ui/product_look.h"

#include <QLabel>
#include <QPainter>

namespace ui {

namespace {

// An empty picture of `size` logical pixels, sharp at the pixel ratio.
QPixmap canvas(QSize size, qreal devicePixelRatio) {
    QPixmap pm(size * devicePixelRatio);
    pm.setDevicePixelRatio(devicePixelRatio);
    pm.fill(Qt::transparent);
    return pm;
}

}  // namespace

QPixmap productLogo(qreal devicePixelRatio) {
    QPixmap pm = canvas(QSize(64, 64), devicePixelRatio);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 60, 120), 2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 8, 40, 32));
    p.fillRect(QRectF(5, 9, 39, 7), QColor(60, 110, 190));
    for (int y = 24; y < 40; y += 8) {
        p.drawLine(4, y, 44, y);
    }
    p.drawLine(18, 8, 18, 40);
    p.drawLine(31, 8, 31, 40);
    p.setPen(QPen(QColor(90, 60, 20), 5));
    p.drawLine(QPointF(47, 47), QPointF(60, 60));
    p.setPen(QPen(QColor(40, 40, 40), 3));
    p.setBrush(QColor(200, 230, 255, 170));
    p.drawEllipse(QPointF(38, 38), 13, 13);
    return pm;
}

QPixmap tipBulb(qreal devicePixelRatio) {
    QPixmap pm = canvas(QSize(32, 32), devicePixelRatio);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 120, 20), 1.5));
    p.setBrush(QColor(255, 225, 90));
    p.drawEllipse(QRectF(7, 2, 18, 18));
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(QRectF(11, 20, 10, 8));
    p.drawLine(QPointF(11, 23), QPointF(21, 23));
    p.drawLine(QPointF(11, 26), QPointF(21, 26));
    return pm;
}

QLabel* sizedLabel(const QString& text, QWidget* parent, qreal pointDelta, bool bold) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() + pointDelta);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

QLabel* centred(QLabel* label) {
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace ui
