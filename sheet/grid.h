// Grid: the spreadsheet-like grid control used for the data sheet, the form
// view and the statistics grid. Rows and columns count from 0; with one fixed
// row, row 0 is the title row, drawn as a header that carries pictures (sort
// markers). Storage is column-wise and sized for a million rows.
#pragma once

#include <QItemSelectionRange>
#include <QMimeData>
#include <QPixmap>
#include <QString>
#include <QTableView>
#include <QVariant>

#include "sheet/cell_input.h"
#include "sheet/text_matcher.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace sheet {

class CellStore;
class FilterRow;
class GridModel;
class GridDelegate;
class GridHeader;

// Cell property settings accepted by cell() and setCell().
enum class CellSetting {
    Text = 0,
    Alignment = 2,
    Picture = 3,
    PictureAlignment = 4,
    Checked = 5,
    BackColor = 6,
    ForeColor = 7,
    BarFillPercent = 8,
    BarColor = 9,
    Bold = 13,
    Italic = 14,
    Underline = 15,
};

class Grid : public QTableView {
    Q_OBJECT
  public:
    // Alignment codes: 1 left, 4 centre, 7 right, 9 general (numbers right).
    // Check box codes: 0 none, 1 ticked, 2 unticked.
    // Colours are 24-bit values red + 256*green + 65536*blue.
    enum SelectionModeCode { SelectFree = 0, SelectListBox = 3 };
    enum SortOrder { SortAscending = 1, SortDescending = 2 };
    static constexpr int kGeneralAlignment = 9;

    explicit Grid(QWidget* parent = nullptr);
    ~Grid() override;

    // Shape.
    int rows() const;
    void setRows(int count);  // grows or cuts at the end
    int cols() const;
    void setCols(int count);
    int fixedRows() const;
    void setFixedRows(int count);  // 0 or 1
    int fixedCols() const;
    void setFixedCols(int count);  // kept for callers; the grid never freezes columns

    // Current cell and selection.
    int row() const;
    void setRow(int row);
    int col() const;
    void setCol(int col);
    int rowSel() const;  // far corner of the selected block
    int colSel() const;
    void select(int row1, int col1, int row2, int col2);
    bool isRowSelected(int row) const;
    int selectedRows() const;
    int selectedRow(int i) const;  // i-th selected row, ascending

    // Text.
    QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);
    QString text() const;  // current cell
    void setText(const QString& text);
    // Typed value a database result gave the cell, if it still has one.
    bool cellValue(int row, int col, double* value) const;
    // The binary value or attachments a database result gave the cell, until
    // its text is changed; null for every other cell.
    std::shared_ptr<const CellPayload> cellPayload(int row, int col) const;

    // Cell properties: reading takes one cell, setting covers the block.
    QVariant cell(CellSetting setting, int row1, int col1) const;
    void setCell(CellSetting setting, int row1, int col1, int row2, int col2,
                 const QVariant& value);
    void setCell(CellSetting setting, int row, int col, const QVariant& value) {
        setCell(setting, row, col, row, col, value);
    }
    QPixmap cellPicture(int row, int col) const;
    void setCellPicture(int row1, int col1, int row2, int col2, const QPixmap& picture);

    // Current-cell shortcuts.
    void setCellBackColor(uint32_t color);
    void setCellForeColor(uint32_t color);
    void setCellFontBold(bool bold);
    void setCellAlignment(int alignment);
    void setCellChecked(int state);

    // Block text: cells separated by tab, rows by carriage return.
    QString clip() const;
    // The selected block for the clipboard or a drag (see block_mime.h),
    // with its columns' titles first when asked; the caller owns it.
    QMimeData* copyData(bool withTitles = false) const;
    void setClip(const QString& text);
    // Empties the texts of the cells clip() covers; their pictures, styles
    // and formats stay.
    void clearClip();
    // The cells a block command changes (grid_clip_cells.cpp): the grid rows
    // (those a filter shows) and the columns clearClip() empties, or that
    // setClip(pasted) fills.
    struct ClipCells {
        std::vector<int> rows;
        int col1 = 0, col2 = -1;
        bool isEmpty() const { return rows.empty() || col1 > col2; }
    };
    ClipCells clipCells() const;
    ClipCells clipCells(const QString& pasted) const;

    // Columns.
    int colWidth(int col) const;  // twips
    void setColWidth(int col, int twips);
    int colAlignment(int col) const;
    void setColAlignment(int col, int alignment);  // col -1 = every column
    QString colFormat(int col) const;
    void setColFormat(int col, const QString& format);
    int colDataType(int col) const;
    void setColDataType(int col, int type);
    bool colMerge(int col) const;
    void setColMerge(int col, bool merge);

    // Moves and removals.
    void setColPosition(int col, int position);
    void setRowPosition(int row, int position);
    void removeItem(int row);
    // Removes all listed rows at once (any order; the title row and rows
    // outside the grid are skipped).
    void removeItems(std::vector<int> rows);
    void clear();
    void editCell();

    // Modes and looks.
    int userResizing() const;
    void setUserResizing(int mode);
    int mergeCells() const;
    void setMergeCells(int mode);
    int selectionModeCode() const;
    void setSelectionModeCode(int mode);  // 0 free block, 3 list of rows
    int autoSearch() const;
    void setAutoSearch(int mode);  // 0 off, 2 find as you type
    int oleDragMode() const;
    void setOleDragMode(int mode);  // 0 off, 1 selection can be dragged out
    uint32_t backColorAlternate() const;
    void setBackColorAlternate(uint32_t color);
    int gridLines() const;
    void setGridLines(int mode);  // 0 none, 1 lines
    void refresh();

    // Filtering (grid_filtering.cpp): only the listed data rows (ascending
    // grid rows) stay in view; the others are hidden, not removed.
    // showAllRows() ends the filter.
    void showOnlyRows(std::span<const int> shown);
    void showAllRows();
    bool isFiltered() const;
    bool isRowShown(int row) const;
    int shownDataRows() const;
    // The filter row's boxes under the titles.
    FilterRow& filterRow() const { return *filterRow_; }
    void setFilterRowShown(bool shown);
    // Cells that hold the text are painted as hits of Find; an empty text
    // paints none.
    void setFindHits(const QString& text, TextMatcher::Options options);
    bool isFindHit(int row, int col) const;
    // Makes the cell current and alone selected, and scrolls it into view.
    void goToCell(int row, int col);

    // Sorting (also run by a click on a title): rows below the fixed row.
    void sort(int col, int order);

    // Bulk fill, the path a database result uses: titles become row 0, then
    // every appended row becomes a data row. Nothing repaints until endFill().
    void beginFill(std::span<const QString> titles, std::size_t expectedRows = 0);
    void appendRow(std::span<const CellInput> cells);
    void endFill();
    // The same with the rows filled elsewhere beforehand (title row first),
    // so a fill that is given up never touches the sheet.
    void adoptFill(CellStore&& store);

    GridModel* gridModel() const { return model_; }

  signals:
    void beforeSort(int col, int order);
    void afterSort(int col, int order);
    void afterMoveColumn(int col, int position);
    void afterUserResize(int row, int col);
    void beforeEdit(int row, int col);  // the user is about to change the cell in place
    void afterEdit(int row, int col);
    void clickedCell();  // a mouse click on a cell (after the current cell moved)
    void doubleClickedCell();
    void keyDown(int key, Qt::KeyboardModifiers modifiers);  // after the grid handled it
    void mouseUp(Qt::MouseButton button, const QPoint& globalPos);
    void mouseMoved();
    void gotFocus();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyboardSearch(const QString& search) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

  private:
    int twipsToPixels(int twips) const;
    int pixelsToTwips(int pixels) const;
    void applyColumnWidths();
    void afterReset();
    void onTitleClicked(int col);
    void onTitleMoved(int logical, int oldVisual, int newVisual);
    void onTitleResized(int logical, int oldSize, int newSize);
    void updateEditTriggers();
    QModelIndex cellIndex(int row, int col) const;
    QItemSelectionRange currentBlock() const;

    GridModel* model_ = nullptr;
    GridDelegate* delegate_ = nullptr;
    GridHeader* header_ = nullptr;
    FilterRow* filterRow_ = nullptr;
    int fixedCols_ = 0;
    int selectionModeCode_ = SelectFree;
    int autoSearch_ = 0;
    int dragMode_ = 0;
    int userResizing_ = 0;
    int sortedCol_ = -1;
    int sortedOrder_ = 0;
    bool applyingWidths_ = false;
    bool pressedOnCell_ = false;
    int resizedCol_ = -1;
    QString search_;
    qint64 lastSearchMs_ = 0;
};

}  // namespace sheet
