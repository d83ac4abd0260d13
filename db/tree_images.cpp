#include "db/tree_images.h"

#include <QHash>
#include <QPainter>
#include <QPen>

namespace db {

namespace {

constexpr int kSize = 16;

void drawDatabase(QPainter& p) {
    p.setBrush(QColor(0xE8, 0xC0, 0x40));
    p.drawRect(3, 4, 10, 9);
    p.drawEllipse(3, 2, 10, 4);
}

void drawTable(QPainter& p, const QColor& fill) {
    p.setBrush(fill);
    p.drawRect(1, 2, 13, 11);
    p.drawLine(1, 5, 14, 5);
    p.drawLine(1, 9, 14, 9);
    p.drawLine(6, 5, 6, 13);
}

void drawField(QPainter& p) {
    p.setBrush(QColor(0x40, 0x80, 0xC0));
    p.drawRect(4, 6, 8, 4);
}

void drawQuery(QPainter& p, const QColor& fill) {
    p.setBrush(fill);
    p.drawRect(1, 3, 9, 10);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(7, 2, 6, 6);
    p.drawLine(12, 7, 15, 11);
}

}  // namespace

QPixmap TreeImages::picture(int index) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    switch (index) {
        case kDatabase:
            drawDatabase(p);
            break;
        case kTable:
            drawTable(p, QColor(0xF4, 0xF4, 0xF4));
            break;
        case kTableSelected:
            drawTable(p, QColor(0xFF, 0xE0, 0x80));
            break;
        case kField:
            drawField(p);
            break;
        case kQuery:
            drawQuery(p, QColor(0xF4, 0xF4, 0xF4));
            break;
        case kQuerySelected:
            drawQuery(p, QColor(0xFF, 0xE0, 0x80));
            break;
        default:
            break;
    }
    return pixmap;
}

QIcon TreeImages::icon(int image, int selectedImage) {
    // Drawn once per pair: a tree holds a node per field.
    static QHash<int, QIcon> made;
    const int pair = image * 16 + selectedImage;
    auto it = made.find(pair);
    if (it == made.end()) {
        QIcon icon(picture(image));
        icon.addPixmap(picture(selectedImage), QIcon::Selected);
        it = made.insert(pair, icon);
    }
    return *it;
}

}  // namespace db
