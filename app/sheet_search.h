// Find and the filter row on the data sheet: Edit > Find (Ctrl+F) opens the
// find bar, Find Next and Find Previous (Ctrl+G, Ctrl+Shift+G, or Enter and
// Shift+Enter in the bar) move to the next hit from the current cell, hits
// are painted and counted; View > Filter Row shows a box under every title
// and keeps the rows that pass all typed conditions. A new result, a new
// file or a change of the columns ends the filter.
#pragma once

#include <QObject>
#include <QString>

#include "sheet/row_filter.h"
#include "sheet/sheet_find.h"

namespace sheet {
class FindBar;
class Grid;
}  // namespace sheet
namespace ui {
struct MenuActions;
}

namespace app {

class SheetSearch : public QObject {
    Q_OBJECT
  public:
    SheetSearch(sheet::Grid& dataSheet, const ui::MenuActions& menus, QObject* parent = nullptr);

    sheet::FindBar& findBar() const { return *findBar_; }
    void openFind();
    void find(sheet::SheetFind::Direction direction);
    void setFilterRowShown(bool shown);
    // Reads the filter row's boxes and shows the rows that pass.
    void applyFilter();
    // The sheet holds other rows or columns: the filter ends and its boxes
    // empty. Find keeps its text.
    void reset();
    // After rows or columns were inserted or deleted: the filter ends only
    // when the columns changed, since its conditions belong to columns.
    void afterShapeChange();
    // "shown / total" while a filter is on, else empty.
    QString shownText() const;

  signals:
    // The shown rows changed.
    void filterChanged();

  private:
    void showHits();
    sheet::TextMatcher matcher() const;

    sheet::Grid& dataSheet_;
    const ui::MenuActions& menus_;
    sheet::FindBar* findBar_ = nullptr;
    sheet::RowFilter filter_;
    int filteredCols_ = 0;
};

}  // namespace app
