// GridDelegate: paints one grid cell from its item data: background, the
// in-cell bar behind the text, check box, picture, text and the grid lines.
// A cell of a merged column that repeats the cell above paints no text, and
// no line is drawn between two such cells, so equal runs read as one cell.
#pragma once

#include <QStyledItemDelegate>

namespace sheet {

class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit GridDelegate(QObject* parent = nullptr);

    void setGridLines(bool on) { gridLines_ = on; }
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
};

}  // namespace sheet
