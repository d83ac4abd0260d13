// Grid: which cells Cut and Paste change, so they can be copied beforehand.
#include "sheet/grid.h"
#include "sheet/grid_model.h"

#include <algorithm>

namespace sheet {

namespace {

// Lines and the widest line's fields of pasted text, read as setClip()
// reads it: CR, LF and CR LF each end a line, a break at the very end adds
// none, tabs separate fields.
struct PastedShape {
    int lines = 0;
    int fields = 0;
};

PastedShape shapeOf(const QString& text) {
    PastedShape shape;
    int fields = 1;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c == u'\t') {
            ++fields;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n') {
                ++i;
            }
            ++shape.lines;
            shape.fields = std::max(shape.fields, fields);
            fields = 1;
            if (i + 1 == size) {
                return shape;
            }
        }
    }
    ++shape.lines;
    shape.fields = std::max(shape.fields, fields);
    return shape;
}

}  // namespace

Grid::ClipCells Grid::clipCells() const {
    ClipCells cells;
    const QItemSelectionRange block = currentBlock();
    if (!block.isValid()) {
        return cells;
    }
    const RowView& view = model_->rowView();
    cells.rows.reserve(std::size_t(block.bottom() - block.top() + 1));
    for (int viewRow = block.top(); viewRow <= block.bottom(); ++viewRow) {
        cells.rows.push_back(view.gridRow(viewRow));
    }
    cells.col1 = block.left();
    cells.col2 = block.right();
    return cells;
}

Grid::ClipCells Grid::clipCells(const QString& pasted) const {
    ClipCells cells;
    const QItemSelectionRange block = currentBlock();
    if (!block.isValid() || pasted.isEmpty()) {
        return cells;
    }
    const PastedShape shape = shapeOf(pasted);
    const int last = std::min(block.top() + shape.lines, model_->rowCount()) - 1;
    const RowView& view = model_->rowView();
    for (int viewRow = block.top(); viewRow <= last; ++viewRow) {
        cells.rows.push_back(view.gridRow(viewRow));
    }
    cells.col1 = block.left();
    cells.col2 = std::min(block.left() + shape.fields, cols()) - 1;
    return cells;
}

}  // namespace sheet
