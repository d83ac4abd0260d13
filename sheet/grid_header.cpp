#include "sheet/grid_header.h"

#include "sheet/grid_delegate.h"
#include "sheet/grid_roles.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace sheet {

GridHeader::GridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setSectionsMovable(true);
    setHighlightSections(false);
}

void GridHeader::setBandHeight(int pixels) {
    band_ = std::max(0, pixels);
    viewport()->update();
}

QSize GridHeader::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    size.rheight() += band_;
    return size;
}

void GridHeader::paintSection(QPainter* painter, const QRect& sectionRect, int logicalIndex) const {
    const QRect rect = sectionRect.adjusted(0, 0, 0, -band_);
    if (!rect.isValid() || !model()) {
        return;
    }
    painter->save();
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.rect = rect;
    opt.section = logicalIndex;
    opt.text.clear();
    style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, this);
    const auto data = [&](int role) {
        return model()->headerData(logicalIndex, orientation(), role);
    };
    if (const QVariant back = data(Qt::BackgroundRole); back.isValid()) {
        painter->fillRect(rect.adjusted(0, 0, -1, -1), back.value<QColor>());
    }
    QRect content = rect.adjusted(3, 0, -3, 0);
    const QPixmap picture = data(Qt::DecorationRole).value<QPixmap>();
    if (!picture.isNull() && !isBlank(picture)) {
        const int alignment = data(PictureAlignmentRole).toInt();
        const QRect target =
            GridDelegate::pictureRect(content, picture.size().boundedTo(content.size()), alignment);
        painter->drawPixmap(target, picture);
        if (alignment >= 6 && alignment <= 8) {
            content.setRight(target.left() - 2);
        } else if (alignment <= 2) {
            content.setLeft(target.right() + 2);
        }
    }
    QFont font = this->font();
    if (const QVariant cellFont = data(Qt::FontRole); cellFont.isValid()) {
        font = cellFont.value<QFont>().resolve(font);
    }
    painter->setFont(font);
    const QVariant fore = data(Qt::ForegroundRole);
    painter->setPen(fore.isValid() ? fore.value<QColor>() : palette().color(QPalette::ButtonText));
    const auto alignment = Qt::Alignment(data(Qt::TextAlignmentRole).toInt());
    const QString text = QFontMetrics(font).elidedText(data(Qt::DisplayRole).toString(),
                                                       Qt::ElideRight, content.width());
    painter->drawText(content, int(alignment), text);
    painter->restore();
}

bool GridHeader::isBlank(const QPixmap& picture) const {
    const auto known = blank_.constFind(picture.cacheKey());
    if (known != blank_.cend()) {
        return *known;
    }
    const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    bool blank = true;
    for (int y = 0; y < image.height() && blank; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 0) {
                blank = false;
                break;
            }
        }
    }
    blank_.insert(picture.cacheKey(), blank);
    return blank;
}

QSize GridHeader::sectionSizeFromContents(int logicalIndex) const {
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    size.setHeight(std::max(size.height(), fontMetrics().height() + 6));
    return size;
}

}  // namespace sheet
