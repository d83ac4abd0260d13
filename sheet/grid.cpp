#include "sheet/grid.h"

#include "sheet/block_mime.h"
#include "sheet/cell_props_edit.h"
#include "sheet/column_fit.h"
#include "sheet/filter_row.h"
#include "sheet/grid_codes.h"
#include "sheet/grid_delegate.h"
#include "sheet/grid_header.h"
#include "sheet/grid_model.h"
#include "sheet/grid_roles.h"
#include "sheet/row_sorter.h"

#include <QApplication>
#include <QDateTime>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

namespace sheet {

Grid::Grid(QWidget* parent) : QTableView(parent) {
    model_ = new GridModel(this);
    delegate_ = new GridDelegate(this);
    header_ = new GridHeader(this);
    filterRow_ = new FilterRow(*header_);
    setModel(model_);
    setHorizontalHeader(header_);
    // A title click sorts and a title drag moves the column; neither selects it.
    disconnect(header_, SIGNAL(sectionPressed(int)), this, SLOT(selectColumn(int)));
    disconnect(header_, SIGNAL(sectionEntered(int)), this, SLOT(_q_selectColumn(int)));
    setItemDelegate(delegate_);
    setShowGrid(false);  // the delegate draws the lines so merged cells can drop them
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    header_->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionModeCode(SelectFree);
    setAutoSearch(0);
    setMouseTracking(true);
    header_->viewport()->installEventFilter(this);
    connect(header_, &QHeaderView::sectionClicked, this, &Grid::onTitleClicked);
    connect(header_, &QHeaderView::sectionMoved, this, &Grid::onTitleMoved);
    connect(header_, &QHeaderView::sectionResized, this, &Grid::onTitleResized);
    // A double-click on a title's right edge fits the column to its texts.
    disconnect(header_, SIGNAL(sectionHandleDoubleClicked(int)), this,
               SLOT(resizeColumnToContents(int)));
    connect(header_, &QHeaderView::sectionHandleDoubleClicked, this, [this](int col) {
        ColumnFit::fitColumn(*this, col);
        emit afterUserResize(-1, col);
    });
    connect(model_, &GridModel::cellAboutToBeEdited, this, &Grid::beforeEdit);
    connect(model_, &GridModel::cellEdited, this, &Grid::afterEdit);
    connect(model_, &QAbstractItemModel::modelReset, this, &Grid::afterReset);
    connect(model_, &QAbstractItemModel::columnsInserted, this, &Grid::applyColumnWidths);
    connect(model_, &QAbstractItemModel::columnsMoved, this, &Grid::applyColumnWidths);
}

Grid::~Grid() = default;

// ---- shape ----

int Grid::rows() const {
    return model_->store().rows();
}
void Grid::setRows(int count) {
    model_->setRows(count);
}
int Grid::cols() const {
    return model_->store().cols();
}
void Grid::setCols(int count) {
    model_->setCols(count);
}
int Grid::fixedRows() const {
    return model_->fixedRows();
}

void Grid::setFixedRows(int count) {
    model_->setFixedRows(count);
    header_->setVisible(model_->fixedRows() > 0);
}

int Grid::fixedCols() const {
    return fixedCols_;
}
void Grid::setFixedCols(int count) {
    fixedCols_ = std::max(count, 0);
}

QModelIndex Grid::cellIndex(int row, int col) const {
    return model_->cellIndex(row, col);
}

void Grid::afterReset() {
    applyColumnWidths();
    if (!currentIndex().isValid() && model_->rowCount() > 0 && model_->columnCount() > 0) {
        setCurrentIndex(model_->index(0, 0));
    }
}

// ---- current cell and selection ----

int Grid::row() const {
    const QModelIndex current = currentIndex();
    if (current.isValid()) {
        return model_->rowView().gridRow(current.row());
    }
    return rows() > fixedRows() ? fixedRows() : 0;
}

int Grid::col() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : 0;
}

void Grid::setRow(int row) {
    const QModelIndex target = cellIndex(row, col());
    if (target.isValid()) {
        setCurrentIndex(target);
    }
}

void Grid::setCol(int col) {
    const QModelIndex target = cellIndex(row(), col);
    if (target.isValid()) {
        setCurrentIndex(target);
    }
}

QItemSelectionRange Grid::currentBlock() const {
    const QModelIndex current = currentIndex();
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        if (range.contains(current)) {
            return range;
        }
    }
    return current.isValid() ? QItemSelectionRange(current) : QItemSelectionRange();
}

// The far corner is the block's other end; from inside a whole-row block it is
// the bottom or right end.
int Grid::rowSel() const {
    const QItemSelectionRange block = currentBlock();
    if (!block.isValid()) {
        return row();
    }
    const bool atBottom = currentIndex().row() == block.bottom() && block.top() != block.bottom();
    return model_->rowView().gridRow(atBottom ? block.top() : block.bottom());
}

int Grid::colSel() const {
    const QItemSelectionRange block = currentBlock();
    if (!block.isValid()) {
        return col();
    }
    const bool atRight = currentIndex().column() == block.right() && block.left() != block.right();
    return atRight ? block.left() : block.right();
}

void Grid::select(int row1, int col1, int row2, int col2) {
    const int lastRow = rows() - 1, lastCol = cols() - 1;
    if (lastRow < fixedRows() || lastCol < 0) {
        return;  // no data cell to select
    }
    row1 = std::clamp(row1, fixedRows(), lastRow);
    row2 = std::clamp(row2, fixedRows(), lastRow);
    col1 = std::clamp(col1, 0, lastCol);
    col2 = std::clamp(col2, 0, lastCol);
    // On a filtered sheet the block shrinks to the shown rows inside it.
    const RowView& view = model_->rowView();
    const int top = view.nearestViewRow(std::min(row1, row2), false);
    const int bottom = view.nearestViewRow(std::max(row1, row2), true);
    if (top < 0 || bottom < top) {
        return;
    }
    const bool downwards = row1 <= row2;
    const QModelIndex first = model_->index(downwards ? top : bottom, col1);
    const QModelIndex second = model_->index(downwards ? bottom : top, col2);
    if (!first.isValid() || !second.isValid()) {
        return;
    }
    selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    QItemSelectionModel::SelectionFlags command = QItemSelectionModel::ClearAndSelect;
    if (selectionModeCode_ == SelectListBox) {
        command |= QItemSelectionModel::Rows;
    }
    selectionModel()->select(QItemSelection(first, second), command);
}

bool Grid::isRowSelected(int row) const {
    const int viewRow = model_->rowView().viewRow(row);
    return viewRow >= 0 && selectionModel()->isRowSelected(viewRow, {});
}

namespace {
// Selected rows as sorted, merged [top, bottom] intervals of model rows.
std::vector<std::pair<int, int>> selectedIntervals(const QItemSelection& selection) {
    std::vector<std::pair<int, int>> spans;
    for (const QItemSelectionRange& range : selection) {
        spans.emplace_back(range.top(), range.bottom());
    }
    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto& span : spans) {
        if (!merged.empty() && span.first <= merged.back().second + 1) {
            merged.back().second = std::max(merged.back().second, span.second);
        } else {
            merged.push_back(span);
        }
    }
    return merged;
}
}  // namespace

int Grid::selectedRows() const {
    int count = 0;
    for (const auto& [top, bottom] : selectedIntervals(selectionModel()->selection())) {
        count += bottom - top + 1;
    }
    return count;
}

int Grid::selectedRow(int i) const {
    if (i < 0) {
        return -1;
    }
    for (const auto& [top, bottom] : selectedIntervals(selectionModel()->selection())) {
        if (i <= bottom - top) {
            return model_->rowView().gridRow(top + i);
        }
        i -= bottom - top + 1;
    }
    return -1;
}

// ---- text ----

QString Grid::textMatrix(int row, int col) const {
    return model_->text(row, col);
}

void Grid::setTextMatrix(int row, int col, const QString& text) {
    model_->setText(row, col, text);
}

QString Grid::text() const {
    return textMatrix(row(), col());
}
void Grid::setText(const QString& text) {
    setTextMatrix(row(), col(), text);
}

bool Grid::cellValue(int row, int col, double* value) const {
    return model_->store().value(row, col, value);
}

std::shared_ptr<const CellPayload> Grid::cellPayload(int row, int col) const {
    return model_->store().payload(row, col);
}

// ---- cell properties ----

QVariant Grid::cell(CellSetting setting, int row, int col) const {
    const CellProps& p = model_->store().props(row, col);
    const auto color = [](uint32_t c, uint32_t unset) {
        return c == CellProps::kNoColor ? unset : c;
    };
    switch (setting) {
        case CellSetting::Text:
            return textMatrix(row, col);
        case CellSetting::Alignment:
            return p.alignment != CellProps::kNoAlignment ? int(p.alignment) : colAlignment(col);
        case CellSetting::Picture:
            return model_->picture(row, col);
        case CellSetting::PictureAlignment:
            return int(p.pictureAlignment);
        case CellSetting::Checked:
            return int(p.checked);
        case CellSetting::BackColor:
            return color(p.backColor, 0xFFFFFF);
        case CellSetting::ForeColor:
            return color(p.foreColor, 0);
        case CellSetting::BarFillPercent:
            return p.barPercent;
        case CellSetting::BarColor:
            return color(p.barColor, 0);
        case CellSetting::Bold:
            return bool(p.style & CellProps::kBold);
        case CellSetting::Italic:
            return bool(p.style & CellProps::kItalic);
        case CellSetting::Underline:
            return bool(p.style & CellProps::kUnderline);
    }
    return {};
}

void Grid::setCell(CellSetting setting, int row1, int col1, int row2, int col2,
                   const QVariant& value) {
    if (setting == CellSetting::Text) {
        for (int r = std::min(row1, row2); r <= std::max(row1, row2); ++r) {
            for (int c = std::min(col1, col2); c <= std::max(col1, col2); ++c) {
                setTextMatrix(r, c, value.toString());
            }
        }
    } else if (setting == CellSetting::Picture) {
        setCellPicture(row1, col1, row2, col2, value.value<QPixmap>());
    } else if (auto edit = cellPropsEdit(setting, value)) {
        model_->editBlock(row1, col1, row2, col2, edit);
    }
}

QPixmap Grid::cellPicture(int row, int col) const {
    return model_->picture(row, col);
}

void Grid::setCellPicture(int row1, int col1, int row2, int col2, const QPixmap& picture) {
    const uint16_t id = model_->pictureId(picture);
    model_->editBlock(row1, col1, row2, col2, [id](CellProps& p) { p.picture = id; });
}

void Grid::setCellBackColor(uint32_t color) {
    setCell(CellSetting::BackColor, row(), col(), color);
}
void Grid::setCellForeColor(uint32_t color) {
    setCell(CellSetting::ForeColor, row(), col(), color);
}
void Grid::setCellFontBold(bool bold) {
    setCell(CellSetting::Bold, row(), col(), bold);
}
void Grid::setCellAlignment(int alignment) {
    setCell(CellSetting::Alignment, row(), col(), alignment);
}
void Grid::setCellChecked(int state) {
    setCell(CellSetting::Checked, row(), col(), state);
}

// ---- block text ----

QString Grid::clip() const {
    const QItemSelectionRange block = currentBlock();
    if (!block.isValid()) {
        return QString();
    }
    return model_->viewBlockText(block.top(), block.left(), block.bottom(), block.right(), u'\r');
}

QMimeData* Grid::copyData(bool withTitles) const {
    const QItemSelectionRange block = currentBlock();
    QString text;
    if (block.isValid()) {
        text = model_->viewBlockText(block.top(), block.left(), block.bottom(), block.right(),
                                     u'\n', withTitles && fixedRows() > 0);
    }
    return blockMimeData(text);
}

void Grid::setClip(const QString& text) {
    const QItemSelectionRange block = currentBlock();
    if (block.isValid()) {
        model_->setBlockText(model_->rowView().gridRow(block.top()), block.left(), text);
    }
}

void Grid::clearClip() {
    const QItemSelectionRange block = currentBlock();
    if (block.isValid()) {
        model_->clearViewBlockText(block.top(), block.left(), block.bottom(), block.right());
    }
}

// ---- columns ----

int Grid::twipsToPixels(int twips) const {
    return int(std::lround(twips * double(logicalDpiX()) / 1440.0));
}

int Grid::pixelsToTwips(int pixels) const {
    return int(std::lround(pixels * 1440.0 / std::max(1, logicalDpiX())));
}

void Grid::applyColumnWidths() {
    applyingWidths_ = true;
    for (int c = 0; c < cols(); ++c) {
        header_->resizeSection(c, twipsToPixels(model_->store().column(c).width));
    }
    applyingWidths_ = false;
}

int Grid::colWidth(int col) const {
    return (col >= 0 && col < cols()) ? model_->store().column(col).width : 0;
}

void Grid::setColWidth(int col, int twips) {
    if (col < 0 || col >= cols()) {
        return;
    }
    twips = std::clamp(twips, 0, 1440 * 100);
    model_->changeColumn(col, [twips](SheetColumn& c) { c.width = twips; });
    applyingWidths_ = true;
    header_->resizeSection(col, twipsToPixels(twips));
    applyingWidths_ = false;
}

int Grid::colAlignment(int col) const {
    return (col >= 0 && col < cols()) ? model_->store().column(col).alignment : kGeneralAlignment;
}

void Grid::setColAlignment(int col, int alignment) {
    alignment = std::clamp(alignment, 0, 9);
    const int first = col < 0 ? 0 : col;
    const int last = col < 0 ? cols() - 1 : col;
    for (int c = first; c <= last && c < cols(); ++c) {
        model_->changeColumn(c, [alignment](SheetColumn& column) { column.alignment = alignment; });
    }
}

QString Grid::colFormat(int col) const {
    return (col >= 0 && col < cols()) ? model_->store().column(col).format : QString();
}

void Grid::setColFormat(int col, const QString& format) {
    model_->changeColumn(col, [&format](SheetColumn& c) { c.format = format; });
}

int Grid::colDataType(int col) const {
    return (col >= 0 && col < cols()) ? model_->store().column(col).dataType : 0;
}

void Grid::setColDataType(int col, int type) {
    model_->changeColumn(col, [type](SheetColumn& c) { c.dataType = type; });
}

bool Grid::colMerge(int col) const {
    return col >= 0 && col < cols() && model_->store().column(col).merge;
}

void Grid::setColMerge(int col, bool merge) {
    model_->changeColumn(col, [merge](SheetColumn& c) { c.merge = merge; });
}

// ---- moves and removals ----

void Grid::setColPosition(int col, int position) {
    model_->moveColumn(col, position);
    applyColumnWidths();
    sortedCol_ = -1;  // the next title click starts afresh
}

void Grid::setRowPosition(int row, int position) {
    model_->moveRow(row, position);
}
void Grid::removeItem(int row) {
    model_->removeRow(row);
}
void Grid::removeItems(std::vector<int> rows) {
    std::erase_if(rows, [this](int row) { return row < fixedRows(); });
    model_->removeRowList(std::move(rows));
}

void Grid::clear() {
    model_->clearCells();
}

void Grid::editCell() {
    if (currentIndex().isValid()) {
        edit(currentIndex());
    }
}

// ---- modes and looks ----

int Grid::userResizing() const {
    return userResizing_;
}

void Grid::setUserResizing(int mode) {
    // Only column borders can be dragged: the grid shows no row header.
    userResizing_ = mode;
    const bool columns = mode == 1 || mode == 3;
    header_->setSectionResizeMode(columns ? QHeaderView::Interactive : QHeaderView::Fixed);
}

int Grid::mergeCells() const {
    return model_->mergeMode();
}
void Grid::setMergeCells(int mode) {
    model_->setMergeMode(mode);
}
int Grid::selectionModeCode() const {
    return selectionModeCode_;
}

void Grid::setSelectionModeCode(int mode) {
    selectionModeCode_ = mode == SelectListBox ? SelectListBox : SelectFree;
    setSelectionBehavior(selectionModeCode_ == SelectListBox ? SelectRows : SelectItems);
    setSelectionMode(ExtendedSelection);
}

int Grid::autoSearch() const {
    return autoSearch_;
}

void Grid::setAutoSearch(int mode) {
    autoSearch_ = std::max(mode, 0);
    updateEditTriggers();
}

void Grid::updateEditTriggers() {
    // While typing searches, keys must reach keyboardSearch instead of an editor.
    setEditTriggers(autoSearch_ != 0 ? EditKeyPressed : (EditKeyPressed | AnyKeyPressed));
}

int Grid::oleDragMode() const {
    return dragMode_;
}

void Grid::setOleDragMode(int mode) {
    dragMode_ = mode == 1 ? 1 : 0;
    model_->setDragEnabled(dragMode_ == 1);
    setDragEnabled(dragMode_ == 1);
    setDragDropMode(dragMode_ == 1 ? DragOnly : NoDragDrop);
    setDefaultDropAction(Qt::CopyAction);
}

uint32_t Grid::backColorAlternate() const {
    const uint32_t color = model_->alternateColor();
    return color == CellProps::kNoColor ? 0xFFFFFF : color;
}

void Grid::setBackColorAlternate(uint32_t color) {
    model_->setAlternateColor(color);
}
int Grid::gridLines() const {
    return delegate_->gridLines() ? 1 : 0;
}

void Grid::setGridLines(int mode) {
    delegate_->setGridLines(mode != 0);
    viewport()->update();
}

void Grid::refresh() {
    viewport()->update();
    header_->viewport()->update();
}

// ---- sorting ----

void Grid::sort(int col, int order) {
    if (col < 0 || col >= cols()) {
        return;
    }
    model_->sortRows(col, order == SortDescending);
    sortedCol_ = col;
    sortedOrder_ = order == SortDescending ? SortDescending : SortAscending;
}

void Grid::onTitleClicked(int col) {
    const int order =
        (col == sortedCol_ && sortedOrder_ == SortAscending) ? SortDescending : SortAscending;
    emit beforeSort(col, order);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    sort(col, order);
    QApplication::restoreOverrideCursor();
    emit afterSort(col, order);
}

void Grid::onTitleMoved(int /*logical*/, int oldVisual, int newVisual) {
    // The header only moved its picture of the column; undo that and move the
    // column itself, so column indexes stay what the callers see.
    header_->blockSignals(true);
    header_->moveSection(newVisual, oldVisual);
    header_->blockSignals(false);
    setColPosition(oldVisual, newVisual);
    emit afterMoveColumn(oldVisual, newVisual);
}

void Grid::onTitleResized(int logical, int /*oldSize*/, int newSize) {
    if (applyingWidths_ || logical < 0 || logical >= cols()) {
        return;
    }
    const int twips = pixelsToTwips(newSize);
    model_->changeColumn(logical, [twips](SheetColumn& c) { c.width = twips; });
    resizedCol_ = logical;  // reported once the mouse lets go of the border
}

bool Grid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == header_->viewport() && event->type() == QEvent::MouseButtonRelease &&
        resizedCol_ >= 0) {
        const int col = resizedCol_;
        resizedCol_ = -1;
        emit afterUserResize(-1, col);
    }
    return QTableView::eventFilter(watched, event);
}

// ---- bulk fill ----

// ---- events ----

void Grid::keyPressEvent(QKeyEvent* event) {
    QTableView::keyPressEvent(event);
    emit keyDown(event->key(), event->modifiers());
}

void Grid::mousePressEvent(QMouseEvent* event) {
    pressedOnCell_ = indexAt(event->position().toPoint()).isValid();
    QTableView::mousePressEvent(event);
}

void Grid::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && pressedOnCell_) {
        emit clickedCell();
    }
    pressedOnCell_ = false;
    emit mouseUp(event->button(), event->globalPosition().toPoint());
}

void Grid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid()) {
        emit doubleClickedCell();
    }
}

void Grid::mouseMoveEvent(QMouseEvent* event) {
    QTableView::mouseMoveEvent(event);
    emit mouseMoved();
}

void Grid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    emit gotFocus();
}

void Grid::startDrag(Qt::DropActions /*supportedActions*/) {
    // The block's text is built directly: listing every selected index of a
    // big selection, as the view would, costs far more than the text itself.
    auto* drag = new QDrag(this);
    drag->setMimeData(copyData());
    drag->exec(Qt::CopyAction);
}

void Grid::keyboardSearch(const QString& search) {
    if (autoSearch_ == 0 || search.isEmpty() || cols() == 0 || model_->rowCount() == 0) {
        return;
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const bool continuing = now - lastSearchMs_ <= QApplication::keyboardInputInterval();
    search_ = continuing ? search_ + search : search;
    lastSearchMs_ = now;
    const QByteArray prefix = search_.toUtf8();
    const std::string_view wanted(prefix.constData(), std::size_t(prefix.size()));
    // A new search starts below the current row; a longer one may stay on it.
    const int dataRows = model_->rowCount();
    const int start = currentIndex().isValid() ? currentIndex().row() + (continuing ? 0 : 1) : 0;
    for (int step = 0; step < dataRows; ++step) {
        const int modelRow = (start + step) % dataRows;
        const int gridRow = model_->rowView().gridRow(modelRow);
        if (RowSorter::startsWithText(model_->store().text(gridRow, col()), wanted)) {
            const QModelIndex found = model_->index(modelRow, col());
            setCurrentIndex(found);
            scrollTo(found);
            return;
        }
    }
}

}  // namespace sheet
