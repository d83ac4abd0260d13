#include "ui/toolbar_icons.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <functional>

namespace ui {

namespace {

constexpr int kSize = 32;  // drawn large, scaled down by the toolbar

QColor fromBgr(int bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QPixmap canvas(const std::function<void(QPainter&)>& draw) {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return pm;
}

void letter(QPainter& p, const QString& text, bool bold, bool italic, bool underline,
            const QColor& color = Qt::black, int top = 0, int height = kSize) {
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(24);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    p.setFont(font);
    p.setPen(color);
    p.drawText(QRect(0, top, kSize, height), Qt::AlignCenter, text);
}

void page(QPainter& p, const QColor& fill) {
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(fill);
    p.drawPolygon(QPolygonF({{7, 3}, {20, 3}, {26, 9}, {26, 29}, {7, 29}}));
}

void folder(QPainter& p) {
    p.setPen(QPen(QColor(120, 90, 20), 1.5));
    p.setBrush(QColor(240, 200, 90));
    p.drawPolygon(QPolygonF({{3, 8}, {12, 8}, {15, 11}, {29, 11}, {29, 27}, {3, 27}}));
}

void disk(QPainter& p) {
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(60, 90, 170));
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 5, 14, 9));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(9, 19, 14, 8));
}

void scissors(QPainter& p) {
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(QPointF(9, 4), QPointF(21, 22));
    p.drawLine(QPointF(23, 4), QPointF(11, 22));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(9, 25), 4, 4);
    p.drawEllipse(QPointF(23, 25), 4, 4);
}

void twoPages(QPainter& p) {
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 4, 15, 19));
    p.drawRect(QRectF(13, 10, 15, 19));
}

void clipboard(QPainter& p) {
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(190, 140, 80));
    p.drawRoundedRect(QRectF(5, 5, 20, 24), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(13, 12, 15, 17));
    p.setBrush(QColor(120, 120, 120));
    p.drawRect(QRectF(11, 2, 8, 5));
}

void rows(QPainter& p, bool block) {
    p.setPen(QPen(Qt::gray, 1));
    for (int y = 6; y <= 26; y += 5) {
        p.drawLine(4, y, 28, y);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 90, 200, 160));
    p.drawRect(block ? QRectF(10, 11, 12, 10) : QRectF(4, 11, 24, 5));
}

void dragArrow(QPainter& p) {
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3, 3, 14, 10));
    p.setBrush(Qt::black);
    p.drawPolygon(
        QPolygonF({{14, 12}, {14, 29}, {18, 25}, {22, 31}, {25, 29}, {21, 23}, {27, 23}}));
}

void stripes(QPainter& p) {
    for (int i = 0; i < 5; ++i) {
        p.fillRect(QRectF(4, 4 + i * 5, 24, 5), i % 2 ? QColor(192, 255, 192) : Qt::white);
    }
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4, 4, 24, 25));
}

void merge(QPainter& p) {
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 4, 24, 24));
    p.drawLine(QPointF(16, 4), QPointF(16, 28));
    p.drawLine(QPointF(4, 22), QPointF(16, 22));
    p.setBrush(QColor(40, 90, 200, 140));
    p.drawRect(QRectF(16, 4, 12, 24));
}

void flagShape(QPainter& p) {
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(QPointF(8, 4), QPointF(8, 29));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 30, 30));
    p.drawPolygon(QPolygonF({{9, 4}, {27, 9}, {9, 15}}));
}

void sigma(QPainter& p) {
    letter(p, QString(QChar(0x03A3)), true, false, false, QColor(30, 60, 150));
}

void bars(QPainter& p) {
    p.setPen(Qt::NoPen);
    const int widths[] = {22, 12, 17, 7};
    const QColor colors[] = {QColor(40, 90, 200), QColor(220, 120, 30), QColor(40, 150, 60),
                             QColor(180, 40, 40)};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(colors[i]);
        p.drawRect(QRectF(4, 4 + i * 7, widths[i], 5));
    }
}

void palette(QPainter& p) {
    for (int i = 0; i < 8; ++i) {
        p.fillRect(QRectF(4 + (i % 2) * 12, 3 + (i / 2) * 7, 11, 6),
                   fromBgr(ToolbarIcons::swatchColor(i)));
    }
}

using Painter = std::function<void(QPainter&)>;

const QHash<QString, Painter>& buttonPainters() {
    static const QHash<QString, Painter> painters{
        {"New", [](QPainter& p) { page(p, Qt::white); }},
        {"Open", folder},
        {"Save", disk},
        {"Cut", scissors},
        {"Copy", twoPages},
        {"Paste", clipboard},
        {"Bold", [](QPainter& p) { letter(p, "B", true, false, false); }},
        {"Italic", [](QPainter& p) { letter(p, "I", false, true, false); }},
        {"Underline", [](QPainter& p) { letter(p, "U", false, false, true); }},
        {"Acolor", palette},
        {"RowMode", [](QPainter& p) { rows(p, false); }},
        {"BlockMode", [](QPainter& p) { rows(p, true); }},
        {"DragMode", dragArrow},
        {"AlternateColor", stripes},
        {"Merge", merge},
        {"Flag", flagShape},
        {"Statistics", sigma},
        {"Barchart", bars},
    };
    return painters;
}

}  // namespace

QIcon ToolbarIcons::button(const QString& key) {
    if (key == QLatin1String("A")) {
        return fontColor(0);
    }
    const auto it = buttonPainters().constFind(key);
    return it == buttonPainters().constEnd() ? QIcon() : QIcon(canvas(*it));
}

int ToolbarIcons::swatchColor(int swatch) {
    static const int colors[8] = {0x000000, 0x0000FF, 0x000080, 0x008000,
                                  0x800000, 0x800080, 0xFF00FF, 0xFF0000};
    return swatch >= 0 && swatch < 8 ? colors[swatch] : 0;
}

QIcon ToolbarIcons::fontColor(int swatch) {
    return QIcon(canvas([swatch](QPainter& p) {
        letter(p, "A", true, false, false, Qt::black, 0, 24);
        p.fillRect(QRectF(4, 24, 24, 6), fromBgr(swatchColor(swatch)));
    }));
}

QIcon ToolbarIcons::sqlButton(const QString& name) {
    if (name == QLatin1String("cmdRun")) {
        return QIcon(canvas([](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(30, 150, 50));
            p.drawPolygon(QPolygonF({{8, 4}, {28, 16}, {8, 28}}));
        }));
    }
    if (name == QLatin1String("cmdClear")) {
        return QIcon(canvas([](QPainter& p) { page(p, Qt::white); }));
    }
    if (name == QLatin1String("cmdSaveSQL")) {
        return QIcon(canvas(disk));
    }
    if (name == QLatin1String("cmdDeleteSQL")) {
        return QIcon(canvas([](QPainter& p) {
            p.setPen(QPen(QColor(200, 30, 30), 4));
            p.drawLine(6, 6, 26, 26);
            p.drawLine(26, 6, 6, 26);
        }));
    }
    const bool locked = name == QLatin1String("cmdLockSQL");
    return QIcon(canvas([locked](QPainter& p) {
        p.setPen(QPen(Qt::black, 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(9, 3, 14, 16), 0, locked ? 180 * 16 : 150 * 16);
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(locked ? QColor(200, 160, 40) : QColor(170, 200, 230));
        p.drawRect(QRectF(6, 13, 20, 15));
    }));
}

QPixmap ToolbarIcons::flag() {
    return canvas(flagShape).scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QPixmap ToolbarIcons::sortUp() {
    QPixmap pm(12, 12);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 60));
    p.drawPolygon(QPolygonF({{6, 2}, {11, 10}, {1, 10}}));
    return pm;
}

QPixmap ToolbarIcons::sortDown() {
    return sortUp().transformed(QTransform().scale(1, -1));
}

QPixmap ToolbarIcons::blank() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    return pm;
}

}  // namespace ui
