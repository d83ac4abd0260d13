// GridHeader: the fixed title row of the grid, drawn as a horizontal header
// from the title cells' data: text, font, colours and a picture placed by its
// picture alignment (sort markers sit at the right). Titles can be clicked
// (sorting) and dragged (moving a column); the grid decides what those do.
// A band under the titles may hold the filter row's boxes.
#pragma once

#include <QHash>

#include <QHeaderView>

namespace sheet {

class GridHeader : public QHeaderView {
    Q_OBJECT
  public:
    explicit GridHeader(QWidget* parent = nullptr);

    // Room kept under the titles for other controls (the filter row); the
    // titles are drawn above it.
    int bandHeight() const { return band_; }
    void setBandHeight(int pixels);
    QSize sizeHint() const override;

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;

  private:
    // Whether a picture shows nothing at all (the blank marker that clears a
    // sort marker): it then leaves the title its whole width.
    bool isBlank(const QPixmap& picture) const;

    mutable QHash<qint64, bool> blank_;
    int band_ = 0;
};

}  // namespace sheet
