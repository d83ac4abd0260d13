// GridModel: the Qt item model over a CellStore. Model rows are the grid's
// rows below the fixed (title) row; the title row is served as horizontal
// header data. Every change of cells or shape goes through here so views
// hear of it with the narrowest signal that fits.
#pragma once

#include "sheet/bulk_memory.h"
#include "sheet/cell_store.h"
#include "sheet/row_view.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QPixmap>

#include <functional>
#include <optional>
#include <vector>

namespace sheet {

class GridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit GridModel(QObject* parent = nullptr);

    const CellStore& store() const { return store_; }
    int fixedRows() const { return fixedRows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

    // Grid coordinates (row 0 = title row when there is a fixed row). A row
    // the filter hides has no index.
    QModelIndex cellIndex(int row, int col) const;
    const RowView& rowView() const { return view_; }

    // Filtering: only the listed data rows (ascending grid rows) stay in
    // view; the others are hidden, not removed, and stay hidden through sorts
    // and moves until showAllRows().
    void showOnlyRows(std::span<const int> shown);
    void showAllRows();
    QVariant cellData(int row, int col, int role) const;
    QString text(int row, int col) const;
    void setText(int row, int col, const QString& text);
    void editBlock(int row1, int col1, int row2, int col2,
                   const std::function<void(CellProps&)>& edit);
    // Rows row1..row2 of column col, each edited by its own row; one change
    // notice for the whole range.
    void editColumn(int col, int row1, int row2,
                    const std::function<void(int row, CellProps&)>& edit);
    QPixmap picture(int row, int col) const;
    uint16_t pictureId(const QPixmap& picture);

    void setRows(int count);
    void setCols(int count);
    void setFixedRows(int count);
    void moveColumn(int from, int to);
    void moveRow(int from, int to);
    void removeRow(int row);
    // Removes the listed grid rows (any order; rows outside the grid are
    // skipped) as one change: views hear one removal, or one reset when the
    // rows are not one run.
    void removeRowList(std::vector<int> rows);
    // Empty rows that then stand at the listed grid rows (ascending).
    void insertRowList(std::span<const int> ascending);
    // Any change of the cells of one block, with one change notice.
    void changeCells(int row1, int col1, int row2, int col2,
                     const std::function<void(CellStore&)>& change);
    void clearCells();
    void sortRows(int col, bool descending);
    void changeColumn(int col, const std::function<void(SheetColumn&)>& change);

    // Block text of grid rows row1..row2: cells separated by tab, rows by
    // `rowBreak`.
    QString blockText(int row1, int col1, int row2, int col2, QChar rowBreak = u'\r') const;
    // The same for view rows top..bottom: rows a filter hides are left out.
    // With `titles`, the columns' titles (grid row 0) come first.
    QString viewBlockText(int top, int col1, int bottom, int col2, QChar rowBreak,
                          bool titles = false) const;
    // Fills the shown rows from grid row `row` down.
    void setBlockText(int row, int col, const QString& text);
    // Empties the texts of the block; pictures, styles and formats stay.
    void clearBlockText(int row1, int col1, int row2, int col2);
    void clearViewBlockText(int top, int col1, int bottom, int col2);

    void beginFill(int cols, std::size_t expectedRows = 0);
    void appendRow(std::span<const CellInput> cells);
    void appendTextRow(std::span<const std::string_view> texts);
    void endFill();
    // Takes a store filled elsewhere (beginFill, appendRow) as the sheet's.
    void adoptStore(CellStore&& store);

    // CellProps::kNoColor leaves every row in the view's own background.
    void setAlternateColor(uint32_t color);
    uint32_t alternateColor() const { return alternateColor_; }
    void setMergeMode(int mode);
    int mergeMode() const { return mergeMode_; }
    void setDragEnabled(bool enabled) { dragEnabled_ = enabled; }

  signals:
    // Around a cell the user changed in place (typed text or a check box).
    void cellAboutToBeEdited(int row, int col);
    void cellEdited(int row, int col);

  private:
    QVariant displayText(int row, int col) const;
    QVariant alignment(int row, int col) const;
    QVariant background(int row, int col) const;
    bool mergesWith(int row, int otherRow, int col) const;
    void cellsChanged(int row1, int col1, int row2, int col2);
    int neighbour(int row, int step) const;
    template <typename RowOf>
    QString rowsText(int count, const RowOf& rowOf, int col1, int col2, QChar rowBreak) const;
    // Runs a change of the rows' order or number: views of a filtered sheet
    // are reset, since the shown rows are listed anew.
    template <typename Change>
    bool changeFilteredRows(const Change& change);

    CellStore store_;
    RowView view_;
    int fixedRows_ = 1;
    uint32_t alternateColor_ = CellProps::kNoColor;
    int mergeMode_ = 0;
    bool dragEnabled_ = false;
    bool filling_ = false;
    // Lets a fill write into the blocks of the rows it replaces.
    std::optional<BulkReuse> reuse_;
    std::vector<QPixmap> pictures_{QPixmap()};
    QHash<qint64, uint16_t> pictureIds_;
};

}  // namespace sheet
