// GridDelegate: paints one grid cell from its item data: background, the
// in-cell bar behind the text, check box, picture, text and the grid lines.
// A cell of a merged column that repeats the cell above paints no text, and
// no line is drawn between two such cells, so equal runs read as one cell.
// Hits of Find are painted in a colour of their own.
#pragma once

#include <QStyledItemDelegate>

#include <optional>

#include "sheet/text_matcher.h"

namespace sheet {

class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit GridDelegate(QObject* parent = nullptr);

    void setGridLines(bool on) { gridLines_ = on; }
    // Cells the matcher finds are painted in the hit colour (Find).
    void setHits(std::optional<TextMatcher> matcher) { hits_ = std::move(matcher); }
    bool isHit(const QModelIndex& index) const;
    bool gridLines() const { return gridLines_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Where a picture of the given size goes in rect for a picture alignment code.
    static QRect pictureRect(const QRect& rect, const QSize& size, int alignment);

  private:
    void paintBar(QPainter* painter, const QRect& rect, const QModelIndex& index) const;
    QRect paintCheck(QPainter* painter, const QStyleOptionViewItem& option, QRect rect,
                     const QModelIndex& index) const;
    QRect paintPicture(QPainter* painter, QRect rect, const QModelIndex& index) const;
    void paintText(QPainter* painter, const QStyleOptionViewItem& option, const QRect& rect,
                   const QModelIndex& index) const;
    void paintLines(QPainter* painter, const QRect& rect, const QModelIndex& index) const;

    bool gridLines_ = true;
    std::optional<TextMatcher> hits_;
};

}  // namespace sheet
