#include "sheet/grid_delegate.h"

#include "sheet/grid_codes.h"
#include "sheet/grid_roles.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace sheet {

namespace {
const QColor kLineColor(0xC0, 0xC0, 0xC0);
const QColor kHitColor(0xFF, 0xE0, 0x66);
constexpr int kMargin = 2;
}  // namespace

GridDelegate::GridDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QRect GridDelegate::pictureRect(const QRect& rect, const QSize& size, int alignment) {
    if (alignment == 9) {
        return rect;  // stretched over the cell
    }
    const Qt::Alignment flags = alignmentFlags(std::clamp(alignment, 0, 8), false);
    return QStyle::alignedRect(Qt::LeftToRight, flags, size, rect);
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    painter->save();
    const bool selected = opt.state & QStyle::State_Selected;
    if (selected) {
        painter->fillRect(opt.rect, opt.palette.highlight());
    } else if (isHit(index)) {
        painter->fillRect(opt.rect, kHitColor);
        opt.palette.setColor(QPalette::Text, Qt::black);  // readable on a dark palette too
    } else if (const QVariant back = index.data(Qt::BackgroundRole); back.isValid()) {
        painter->fillRect(opt.rect, back.value<QColor>());
    }
    paintBar(painter, opt.rect, index);
    QRect content = opt.rect.adjusted(kMargin, 0, -kMargin, 0);
    content = paintCheck(painter, opt, content, index);
    content = paintPicture(painter, content, index);
    if (!index.data(MergeAboveRole).toBool()) {
        paintText(painter, opt, content, index);
    }
    paintLines(painter, opt.rect, index);
    if (opt.state & QStyle::State_HasFocus) {
        painter->setPen(QPen(opt.palette.color(QPalette::Text), 1, Qt::DotLine));
        painter->drawRect(opt.rect.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

bool GridDelegate::isHit(const QModelIndex& index) const {
    if (!hits_) {
        return false;
    }
    const QByteArray text = index.data(Qt::EditRole).toString().toUtf8();
    return hits_->matches(std::string_view(text.constData(), std::size_t(text.size())));
}

void GridDelegate::paintBar(QPainter* painter, const QRect& rect, const QModelIndex& index) const {
    const QVariant color = index.data(BarColorRole);
    const double percent = index.data(BarPercentRole).toDouble();
    if (!color.isValid() || !(percent > 0)) {
        return;
    }
    // Values past the ends of the scale fill the cell or leave it empty.
    const int width = int(rect.width() * std::min(percent, 100.0) / 100.0 + 0.5);
    painter->fillRect(QRect(rect.left(), rect.top() + 2, width, rect.height() - 4),
                      color.value<QColor>());
}

QRect GridDelegate::paintCheck(QPainter* painter, const QStyleOptionViewItem& option, QRect rect,
                               const QModelIndex& index) const {
    const QVariant state = index.data(Qt::CheckStateRole);
    if (!state.isValid()) {
        return rect;
    }
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    QStyleOptionViewItem check = option;
    const int size = style->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget);
    check.rect = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignLeft | Qt::AlignVCenter,
                                     QSize(size, size), rect);
    check.state &= ~(QStyle::State_On | QStyle::State_Off);
    check.state |= state.toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, option.widget);
    return rect.adjusted(size + kMargin, 0, 0, 0);
}

QRect GridDelegate::paintPicture(QPainter* painter, QRect rect, const QModelIndex& index) const {
    const QVariant decoration = index.data(Qt::DecorationRole);
    if (!decoration.canConvert<QPixmap>()) {
        return rect;
    }
    const QPixmap picture = decoration.value<QPixmap>();
    if (picture.isNull()) {
        return rect;
    }
    const int alignment = index.data(PictureAlignmentRole).toInt();
    const QSize size = picture.size().boundedTo(rect.size());
    const QRect target = pictureRect(rect, size, alignment);
    painter->drawPixmap(target, picture);
    if (alignment <= 2) {
        rect.setLeft(target.right() + 1 + kMargin);
    } else if (alignment >= 6 && alignment <= 8) {
        rect.setRight(target.left() - 1 - kMargin);
    }
    return rect;
}

void GridDelegate::paintText(QPainter* painter, const QStyleOptionViewItem& option,
                             const QRect& rect, const QModelIndex& index) const {
    if (option.text.isEmpty() || rect.width() <= 0) {
        return;
    }
    QColor color = option.palette.color(QPalette::Text);
    if (option.state & QStyle::State_Selected) {
        color = option.palette.color(QPalette::HighlightedText);
    } else if (const QVariant fore = index.data(Qt::ForegroundRole); fore.isValid()) {
        color = fore.value<QColor>();
    }
    painter->setFont(option.font);
    painter->setPen(color);
    const QString text =
        QFontMetrics(option.font).elidedText(option.text, Qt::ElideRight, rect.width());
    painter->drawText(rect, int(option.displayAlignment), text);
}

void GridDelegate::paintLines(QPainter* painter, const QRect& rect,
                              const QModelIndex& index) const {
    if (!gridLines_) {
        return;
    }
    painter->setPen(kLineColor);
    painter->drawLine(rect.topRight(), rect.bottomRight());
    if (!index.data(MergeBelowRole).toBool()) {
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    }
}

}  // namespace sheet
