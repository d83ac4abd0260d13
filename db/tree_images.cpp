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

// A key: the field is (part of) the primary key.
void drawKey(QPainter& p) {
    p.setBrush(QColor(0xE0, 0xB0, 0x20));
    p.drawEllipse(1, 4, 7, 7);
    p.drawRect(8, 7, 7, 2);
    p.drawRect(12, 9, 2, 3);
}

// A field with a small index card behind it.
void drawIndexedField(QPainter& p) {
    drawField(p);
    p.setBrush(QColor(0x60, 0xB0, 0x60));
    p.drawRect(9, 9, 5, 5);
}

// A table with a chain link in its corner: its rows live in another file.
void drawLinkedTable(QPainter& p, const QColor& fill) {
    drawTable(p, fill);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x20, 0x60, 0xC0), 2));
    p.drawEllipse(6, 8, 5, 4);
    p.drawEllipse(9, 10, 5, 4);
}

// Two tables joined by a line.
void drawRelationship(QPainter& p) {
    p.setBrush(QColor(0xF4, 0xF4, 0xF4));
    p.drawRect(0, 1, 6, 6);
    p.drawRect(9, 8, 6, 6);
    p.drawLine(6, 4, 12, 4);
    p.drawLine(12, 4, 12, 8);
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
        case kPrimaryKeyField:
            drawKey(p);
            break;
        case kIndexedField:
            drawIndexedField(p);
            break;
        case kLinkedTable:
            drawLinkedTable(p, QColor(0xF4, 0xF4, 0xF4));
            break;
        case kLinkedTableSelected:
            drawLinkedTable(p, QColor(0xFF, 0xE0, 0x80));
            break;
        case kRelationship:
            drawRelationship(p);
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
