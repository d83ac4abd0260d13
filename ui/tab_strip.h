// The tab control `TabStrip1`: a row of four tabs ("Form", "Table", "SQL",
// "Column Statistics") over a page area. The page controls are plain children
// placed by the window's layout; the strip only shows the current page's
// controls and hides the others.
#pragma once

#include <QList>
#include <QSet>
#include <QWidget>

class QTabBar;

namespace ui {

class TabStrip : public QWidget {
    Q_OBJECT
  public:
    enum Page { Form = 0, Table = 1, Sql = 2, ColumnStatistics = 3 };

    explicit TabStrip(QWidget* parent = nullptr);

    // Makes `control` (a child of this strip) belong to page `page`.
    void addPageControl(int page, QWidget* control);
    // A control withheld by its owner stays hidden while its page shows
    // (of two buttons sharing one place, only one shows).
    void setControlShown(QWidget* control, bool shown);
    void setTabVisible(int page, bool visible);
    bool isTabVisible(int page) const;
    int currentPage() const;
    void setCurrentPage(int page);
    QTabBar* tabBar() const { return bar_; }

  signals:
    // The user clicked a tab (after the page changed, if it did).
    void tabClicked(int page);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void showPage(int page);

    QTabBar* bar_;
    QList<QList<QWidget*>> controls_;
    QSet<QWidget*> withheld_;
};

}  // namespace ui
