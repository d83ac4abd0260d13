#include "sheet/grid_model.h"

#include "sheet/block_mime.h"

#include "sheet/grid_codes.h"
#include "sheet/grid_roles.h"
#include "sheet/number_format.h"
#include "sheet/number_text.h"

#include <QFont>
#include <QMimeData>
#include <QStringDecoder>

#include <algorithm>
#include <string>

namespace sheet {

namespace {
constexpr std::size_t kMaxDisplayBytes = 4096;

// Most cells are plain ASCII: widening them directly is much cheaper than a
// decoder call per short text, which matters for a million-row copy.
QChar* appendUtf8(QStringDecoder& decoder, QChar* out, std::string_view bytes) {
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) {
        return decoder.appendToBuffer(out, QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    }
    for (const char c : bytes) {
        *out++ = QChar(static_cast<char16_t>(c));
    }
    return out;
}
}  // namespace

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : view_.count(store_.rows());
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : store_.cols();
}

QModelIndex GridModel::cellIndex(int row, int col) const {
    return row < store_.rows() ? index(view_.viewRow(row), col) : QModelIndex();
}

template <typename Change>
bool GridModel::changeFilteredRows(const Change& change) {
    if (!view_.isFiltered()) {
        return false;
    }
    beginResetModel();
    change();
    view_.rebuild(store_, fixedRows_);
    endResetModel();
    return true;
}

void GridModel::showOnlyRows(std::span<const int> shown) {
    const int dataRows = std::max(0, store_.rows() - fixedRows_);
    std::vector<bool> hide(static_cast<std::size_t>(dataRows), true);
    for (const int row : shown) {
        if (row >= fixedRows_ && row < store_.rows()) {
            hide[static_cast<std::size_t>(row - fixedRows_)] = false;
        }
    }
    beginResetModel();
    store_.setHidden(fixedRows_, hide);
    view_.rebuild(store_, fixedRows_);
    endResetModel();
}

void GridModel::showAllRows() {
    if (!store_.anyHidden()) {
        return;
    }
    beginResetModel();
    store_.showAll();
    view_.rebuild(store_, fixedRows_);
    endResetModel();
}

QString GridModel::text(int row, int col) const {
    const std::string_view bytes = store_.text(row, col);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || filling_) {
        return {};
    }
    return cellData(view_.gridRow(index.row()), index.column(), role);
}

QVariant GridModel::cellData(int row, int col, int role) const {
    if (!store_.contains(row, col)) {
        return {};
    }
    const CellProps& props = store_.props(row, col);
    switch (role) {
        case Qt::DisplayRole:
            return displayText(row, col);
        case Qt::EditRole:
            return text(row, col);
        case Qt::FontRole: {
            if (props.style == 0) {
                return {};
            }
            QFont font;
            font.setBold(props.style & CellProps::kBold);
            font.setItalic(props.style & CellProps::kItalic);
            font.setUnderline(props.style & CellProps::kUnderline);
            return font;
        }
        case Qt::ForegroundRole:
            return props.foreColor == CellProps::kNoColor ? QVariant()
                                                          : QVariant(toQColor(props.foreColor));
        case Qt::BackgroundRole:
            return background(row, col);
        case Qt::TextAlignmentRole:
            return alignment(row, col);
        case Qt::DecorationRole:
            return props.picture == 0 ? QVariant() : QVariant(pictures_[props.picture]);
        case Qt::CheckStateRole:
            if (props.checked == 0) {
                return {};
            }
            return props.checked == 1 ? Qt::Checked : Qt::Unchecked;
        case PictureAlignmentRole:
            return int(props.pictureAlignment);
        case BarPercentRole:
            return props.barPercent;
        case BarColorRole:
            return props.barColor == CellProps::kNoColor ? QVariant()
                                                         : QVariant(toQColor(props.barColor));
        case MergeAboveRole:
            return mergesWith(row, neighbour(row, -1), col);
        case MergeBelowRole:
            return mergesWith(row, neighbour(row, 1), col);
        case NumericRole:
            return readNumber(store_.text(row, col)).has_value();
        default:
            return {};
    }
}

QVariant GridModel::displayText(int row, int col) const {
    const QString& pattern = store_.column(col).format;
    if (!pattern.isEmpty() && row >= fixedRows_) {
        const NumberFormat format(pattern);
        const auto number = readNumber(store_.text(row, col));
        if (format.isValid() && number) {
            return format.format(*number);
        }
    }
    // A cell shows one line of a few hundred characters at most; a huge text
    // (a long memo) is cut for display so painting stays quick.
    std::string_view bytes = store_.text(row, col);
    if (bytes.size() > kMaxDisplayBytes) {
        std::size_t cut = kMaxDisplayBytes;
        while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80) {
            --cut;  // not inside a UTF-8 sequence
        }
        bytes = bytes.substr(0, cut);
    }
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

QVariant GridModel::alignment(int row, int col) const {
    const CellProps& props = store_.props(row, col);
    int code =
        props.alignment != CellProps::kNoAlignment ? props.alignment : store_.column(col).alignment;
    if (row < fixedRows_ && props.alignment == CellProps::kNoAlignment) {
        code = 1;  // titles read from the left unless a title cell says otherwise
    }
    const bool numeric = code == 9 && readNumber(store_.text(row, col)).has_value();
    return int(alignmentFlags(code, numeric));
}

QVariant GridModel::background(int row, int col) const {
    const CellProps& props = store_.props(row, col);
    if (props.backColor != CellProps::kNoColor) {
        return toQColor(props.backColor);
    }
    // Shown rows alternate, so a filtered sheet keeps its stripes.
    if (alternateColor_ != CellProps::kNoColor && row >= fixedRows_ &&
        view_.viewRow(row) % 2 == 1) {
        return toQColor(alternateColor_);
    }
    return {};
}

bool GridModel::mergesWith(int row, int otherRow, int col) const {
    if (mergeMode_ == 0 || !store_.column(col).merge || otherRow < fixedRows_ ||
        otherRow >= store_.rows() || row < fixedRows_) {
        return false;
    }
    const std::string_view mine = store_.text(row, col);
    return !mine.empty() && mine == store_.text(otherRow, col);
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return false;
    }
    const int row = view_.gridRow(index.row());
    if (role == Qt::EditRole) {
        emit cellAboutToBeEdited(row, index.column());
        setText(row, index.column(), value.toString());
        emit cellEdited(row, index.column());
        return true;
    }
    if (role == Qt::CheckStateRole && store_.props(row, index.column()).checked != 0) {
        const bool ticked = value.toInt() == Qt::Checked;
        emit cellAboutToBeEdited(row, index.column());
        editBlock(row, index.column(), row, index.column(),
                  [ticked](CellProps& p) { p.checked = ticked ? 1 : 2; });
        emit cellEdited(row, index.column());
        return true;
    }
    return false;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        const bool shown = section >= 0 && section < rowCount();
        return role == Qt::DisplayRole && shown ? QVariant(view_.gridRow(section)) : QVariant();
    }
    if (fixedRows_ == 0 || section < 0 || section >= store_.cols()) {
        return {};
    }
    return cellData(0, section, role);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    if (dragEnabled_) {
        flags |= Qt::ItemIsDragEnabled;
    }
    if (store_.props(view_.gridRow(index.row()), index.column()).checked != 0) {
        flags |= Qt::ItemIsUserCheckable;
    }
    return flags;
}

QStringList GridModel::mimeTypes() const {
    return {QStringLiteral("text/plain"), QString::fromLatin1(kTabSeparatedMime)};
}

QMimeData* GridModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty()) {
        return nullptr;
    }
    int top = indexes.first().row(), bottom = top;
    int left = indexes.first().column(), right = left;
    for (const QModelIndex& index : indexes) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    return blockMimeData(viewBlockText(top, left, bottom, right, u'\n'));
}

Qt::DropActions GridModel::supportedDragActions() const {
    return Qt::CopyAction;
}

void GridModel::setText(int row, int col, const QString& text) {
    if (!store_.contains(row, col)) {
        return;
    }
    const QByteArray bytes = text.toUtf8();
    store_.setText(row, col, std::string_view(bytes.constData(), std::size_t(bytes.size())));
    cellsChanged(row, col, row, col);
}

void GridModel::editBlock(int row1, int col1, int row2, int col2,
                          const std::function<void(CellProps&)>& edit) {
    store_.editProps(row1, col1, row2, col2, edit);
    std::tie(row1, col1, row2, col2) = store_.clip(row1, col1, row2, col2);
    if (row1 <= row2 && col1 <= col2) {
        cellsChanged(row1, col1, row2, col2);
    }
}

void GridModel::editColumn(int col, int row1, int row2,
                           const std::function<void(int row, CellProps&)>& edit) {
    store_.editColumnProps(col, row1, row2, edit);
    row1 = std::max(row1, 0);
    row2 = std::min(row2, store_.rows() - 1);
    if (col >= 0 && col < store_.cols() && row1 <= row2) {
        cellsChanged(row1, col, row2, col);
    }
}

QPixmap GridModel::picture(int row, int col) const {
    return pictures_[store_.props(row, col).picture];
}

uint16_t GridModel::pictureId(const QPixmap& picture) {
    if (picture.isNull()) {
        return 0;
    }
    const auto found = pictureIds_.constFind(picture.cacheKey());
    if (found != pictureIds_.cend()) {
        return found.value();
    }
    if (pictures_.size() >= 0xFFFF) {
        return 0;  // a sheet never needs this many distinct pictures
    }
    const auto id = static_cast<uint16_t>(pictures_.size());
    pictures_.push_back(picture);
    pictureIds_.insert(picture.cacheKey(), id);
    return id;
}

int GridModel::neighbour(int row, int step) const {
    if (!view_.isFiltered()) {
        return row + step;
    }
    const int viewRow = view_.viewRow(row);
    const int next = viewRow + step;
    return viewRow < 0 || next < 0 || next >= rowCount() ? -1 : view_.gridRow(next);
}

void GridModel::cellsChanged(int row1, int col1, int row2, int col2) {
    if (row1 < fixedRows_) {
        emit headerDataChanged(Qt::Horizontal, col1, col2);
    }
    if (view_.isFiltered()) {
        if (rowCount() > 0) {
            emit dataChanged(index(0, col1), index(rowCount() - 1, col2));
        }
        return;
    }
    // Neighbours of a changed cell may start or stop merging with it.
    const int first = std::max(row1 - 1, fixedRows_) - fixedRows_;
    const int last = std::min(row2 + 1, store_.rows() - 1) - fixedRows_;
    if (first <= last && last >= 0) {
        emit dataChanged(index(first, col1), index(last, col2));
    }
}

void GridModel::setRows(int count) {
    count = std::clamp(count, 0, CellStore::kMaxRows);
    if (changeFilteredRows([&] { store_.setRows(count); })) {
        return;
    }
    const int oldRows = rowCount();
    const int newRows = std::max(0, count - fixedRows_);
    if (newRows > oldRows) {
        beginInsertRows({}, oldRows, newRows - 1);
        store_.setRows(count);
        endInsertRows();
    } else if (newRows < oldRows) {
        beginRemoveRows({}, newRows, oldRows - 1);
        store_.setRows(count);
        endRemoveRows();
    } else {
        store_.setRows(count);
    }
    if (store_.cols() > 0) {
        emit headerDataChanged(Qt::Horizontal, 0, store_.cols() - 1);
    }
}

void GridModel::setCols(int count) {
    count = std::clamp(count, 0, CellStore::kMaxCols);
    const int oldCols = store_.cols();
    if (count > oldCols) {
        beginInsertColumns({}, oldCols, count - 1);
        store_.setCols(count);
        endInsertColumns();
    } else if (count < oldCols) {
        beginRemoveColumns({}, count, oldCols - 1);
        store_.setCols(count);
        endRemoveColumns();
    }
}

void GridModel::setFixedRows(int count) {
    count = std::clamp(count, 0, 1);
    if (count == fixedRows_) {
        return;
    }
    beginResetModel();
    fixedRows_ = count;
    store_.showAll();
    view_.rebuild(store_, fixedRows_);
    endResetModel();
}

void GridModel::moveColumn(int from, int to) {
    if (from < 0 || to < 0 || from >= store_.cols() || to >= store_.cols() || from == to) {
        return;
    }
    beginMoveColumns({}, from, from, {}, to > from ? to + 1 : to);
    store_.moveColumn(from, to);
    endMoveColumns();
}

void GridModel::moveRow(int from, int to) {
    if (from < 0 || to < 0 || from >= store_.rows() || to >= store_.rows() || from == to) {
        return;
    }
    if (changeFilteredRows([&] { store_.moveRow(from, to); })) {
        return;
    }
    if (from < fixedRows_ || to < fixedRows_) {
        beginResetModel();
        store_.moveRow(from, to);
        endResetModel();
        return;
    }
    const int source = from - fixedRows_, target = to - fixedRows_;
    beginMoveRows({}, source, source, {}, target > source ? target + 1 : target);
    store_.moveRow(from, to);
    endMoveRows();
}

void GridModel::removeRow(int row) {
    if (row < 0 || row >= store_.rows()) {
        return;
    }
    if (changeFilteredRows([&] { store_.removeRow(row); })) {
        return;
    }
    if (row < fixedRows_) {
        beginResetModel();
        store_.removeRow(row);
        endResetModel();
        return;
    }
    beginRemoveRows({}, row - fixedRows_, row - fixedRows_);
    store_.removeRow(row);
    endRemoveRows();
}

void GridModel::removeRowList(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [this](int row) { return row < 0 || row >= store_.rows(); });
    if (rows.empty() || changeFilteredRows([&] { store_.removeRows(rows); })) {
        return;
    }
    const bool oneRun = rows.back() - rows.front() + 1 == int(rows.size());
    if (!oneRun || rows.front() < fixedRows_) {
        // Many scattered rows: one reset costs the views less than a removal
        // per row, each of which shifts every row below it.
        beginResetModel();
        store_.removeRows(rows);
        endResetModel();
        return;
    }
    beginRemoveRows({}, rows.front() - fixedRows_, rows.back() - fixedRows_);
    store_.removeRows(rows);
    endRemoveRows();
}

void GridModel::insertRowList(std::span<const int> ascending) {
    if (ascending.empty() || changeFilteredRows([&] { store_.insertRows(ascending); })) {
        return;
    }
    const bool oneRun = ascending.back() - ascending.front() + 1 == int(ascending.size());
    if (!oneRun || ascending.front() < fixedRows_ || ascending.front() > store_.rows()) {
        beginResetModel();
        store_.insertRows(ascending);
        endResetModel();
        return;
    }
    const int first = ascending.front() - fixedRows_;
    beginInsertRows({}, first, first + int(ascending.size()) - 1);
    store_.insertRows(ascending);
    endInsertRows();
}

void GridModel::changeCells(int row1, int col1, int row2, int col2,
                            const std::function<void(CellStore&)>& change) {
    change(store_);
    std::tie(row1, col1, row2, col2) = store_.clip(row1, col1, row2, col2);
    if (row1 <= row2 && col1 <= col2) {
        cellsChanged(row1, col1, row2, col2);
    }
}

void GridModel::clearCells() {
    store_.clearCells();
    if (store_.rows() > 0 && store_.cols() > 0) {
        cellsChanged(0, 0, store_.rows() - 1, store_.cols() - 1);
    }
}

void GridModel::sortRows(int col, bool descending) {
    if (col < 0 || col >= store_.cols()) {
        return;
    }
    // Persistent indexes keep their positions: the current cell stays where it is.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    store_.sortRows(col, fixedRows_, descending);
    view_.rebuild(store_, fixedRows_);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void GridModel::changeColumn(int col, const std::function<void(SheetColumn&)>& change) {
    if (col < 0 || col >= store_.cols()) {
        return;
    }
    change(store_.column(col));
    if (store_.rows() > 0) {
        cellsChanged(0, col, store_.rows() - 1, col);
    }
}

QString GridModel::blockText(int row1, int col1, int row2, int col2, QChar rowBreak) const {
    std::tie(row1, col1, row2, col2) = store_.clip(row1, col1, row2, col2);
    if (row1 > row2 || col1 > col2) {
        return QString();
    }
    return rowsText(
        row2 - row1 + 1, [row1](int i) { return row1 + i; }, col1, col2, rowBreak);
}

QString GridModel::viewBlockText(int top, int col1, int bottom, int col2, QChar rowBreak,
                                 bool titles) const {
    top = std::max(top, 0);
    bottom = std::min(bottom, rowCount() - 1);
    std::tie(std::ignore, col1, std::ignore, col2) = store_.clip(0, col1, 0, col2);
    if (top > bottom || col1 > col2) {
        return QString();
    }
    const int first = titles ? 1 : 0;
    return rowsText(
        bottom - top + 1 + first,
        [this, top, first](int i) { return i < first ? 0 : view_.gridRow(top + i - first); }, col1,
        col2, rowBreak);
}

template <typename RowOf>
QString GridModel::rowsText(int count, const RowOf& rowOf, int col1, int col2,
                            QChar rowBreak) const {
    // The cells are UTF-8 already: they are decoded straight into one buffer
    // sized beforehand (a UTF-8 byte never makes more than one UTF-16 unit),
    // so copying a million rows touches no memory twice.
    qsizetype size = 0;
    for (int i = 0; i < count; ++i) {
        for (int col = col1; col <= col2; ++col) {
            size += qsizetype(store_.text(rowOf(i), col).size()) + 1;
        }
    }
    QString text;
    text.resize(size);
    QStringDecoder decoder(QStringDecoder::Utf8);
    QChar* out = text.data();
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            *out++ = rowBreak;
        }
        for (int col = col1; col <= col2; ++col) {
            if (col > col1) {
                *out++ = u'\t';
            }
            out = appendUtf8(decoder, out, store_.text(rowOf(i), col));
        }
    }
    text.truncate(out - text.constData());
    return text;
}

void GridModel::setBlockText(int row, int col, const QString& text) {
    // Cells beyond the grid's edge are dropped; the grid does not grow. The
    // text is read in place, field by field: a pasted million rows never
    // exists a second time as a list of strings.
    if (text.isEmpty() || !store_.contains(row, col)) {
        return;
    }
    int r = row, c = col, lastCol = col;
    const QChar* p = text.constData();
    const QChar* const end = p + text.size();
    const QChar* field = p;
    QByteArray bytes;
    for (;;) {
        const bool atEnd = p == end;
        if (!atEnd && *p != u'\t' && *p != u'\r' && *p != u'\n') {
            ++p;
            continue;
        }
        if (c < store_.cols()) {
            bytes = QStringView(field, p).toUtf8();
            store_.setText(r, c, std::string_view(bytes.constData(), std::size_t(bytes.size())));
            lastCol = std::max(lastCol, c);
        }
        if (atEnd) {
            break;
        }
        if (*p == u'\t') {
            ++c;
        } else {
            // CR, LF and CR LF each end a row; a break at the very end adds none.
            if (*p == u'\r' && p + 1 < end && p[1] == u'\n') {
                ++p;
            }
            const int next = neighbour(r, 1);  // the next shown row
            if (p + 1 == end || next < 0 || next >= store_.rows()) {
                break;
            }
            r = next;
            c = col;
        }
        field = ++p;
    }
    cellsChanged(row, col, r, lastCol);
}

void GridModel::clearBlockText(int row1, int col1, int row2, int col2) {
    std::tie(row1, col1, row2, col2) = store_.clip(row1, col1, row2, col2);
    if (row1 > row2 || col1 > col2) {
        return;
    }
    for (int col = col1; col <= col2; ++col) {
        for (int row = row1; row <= row2; ++row) {
            store_.setText(row, col, {});
        }
    }
    cellsChanged(row1, col1, row2, col2);
}

void GridModel::clearViewBlockText(int top, int col1, int bottom, int col2) {
    if (!view_.isFiltered()) {
        clearBlockText(top + fixedRows_, col1, bottom + fixedRows_, col2);
        return;
    }
    top = std::max(top, 0);
    bottom = std::min(bottom, rowCount() - 1);
    std::tie(std::ignore, col1, std::ignore, col2) = store_.clip(0, col1, 0, col2);
    for (int viewRow = top; viewRow <= bottom; ++viewRow) {
        for (int col = col1; col <= col2; ++col) {
            store_.setText(view_.gridRow(viewRow), col, {});
        }
    }
    if (top <= bottom && col1 <= col2) {
        cellsChanged(view_.gridRow(top), col1, view_.gridRow(bottom), col2);
    }
}

void GridModel::setAlternateColor(uint32_t color) {
    alternateColor_ = color == CellProps::kNoColor ? color : (color & 0xFFFFFF);
    if (rowCount() > 0 && columnCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole});
    }
}

void GridModel::setMergeMode(int mode) {
    mergeMode_ = mode;
    if (rowCount() > 0 && columnCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

}  // namespace sheet
