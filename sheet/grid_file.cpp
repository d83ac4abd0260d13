#include "sheet/grid_file.h"

#include "sheet/cell_store.h"
#include "sheet/grid.h"
#include "sheet/grid_file_bytes.h"
#include "sheet/grid_model.h"

#include <QBuffer>
#include <QPixmap>

#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

namespace sheet {

namespace {

constexpr std::string_view kMagicView(GridFile::kMagic, sizeof GridFile::kMagic);
constexpr int kMaxWidth = 1440 * 100;
constexpr std::size_t kMaxPictures = 0xFFFE;
constexpr std::size_t kStyleBytes = 8 + 4 * 3 + 1 + 4;  // smallest style record

// A run of rows of one column that share a look; style is 1-based.
struct Run {
    uint32_t first = 0;
    uint32_t count = 0;
    uint32_t style = 0;
};

struct FileColumn {
    int width = SheetColumn::kDefaultWidth;
    int alignment = SheetColumn::kGeneral;
    int dataType = 0;
    bool merge = false;
    QString format;
};

// Everything of the file but the cells, which are read straight into the
// sheet once the whole file has been checked.
struct Contents {
    uint32_t rows = 0, cols = 0, fixedRows = 1, fixedCols = 0;
    uint32_t mergeMode = 0, gridLines = 1, alternateColor = CellProps::kNoColor;
    std::vector<FileColumn> columns;
    std::vector<QPixmap> pictures;
    std::vector<CellProps> styles;  // picture = 1-based index into pictures
    std::size_t cellsOffset = 0;
    std::vector<std::vector<Run>> runs;  // per column
};

// ---- saving ----

struct StyleCollector {
    explicit StyleCollector(const GridModel& m) : model(m) {}

    const GridModel& model;
    std::unordered_map<CellProps, uint32_t, CellPropsHash> styleIndex;  // 1-based
    std::unordered_map<uint16_t, uint32_t> pictureIndex;                // 1-based
    GridFileWriter styles;
    GridFileWriter pictures;
    uint32_t styleCount = 0;
    uint32_t pictureCount = 0;

    uint32_t pictureOf(const CellProps& p, int row, int col) {
        if (p.picture == 0) {
            return 0;
        }
        const auto [it, added] = pictureIndex.emplace(p.picture, pictureCount + 1);
        if (added) {
            ++pictureCount;
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            model.picture(row, col).save(&buffer, "PNG");
            pictures.text(std::string_view(png.constData(), std::size_t(png.size())));
        }
        return it->second;
    }

    uint32_t indexOf(const CellProps& p, int row, int col) {
        const auto [it, added] = styleIndex.emplace(p, styleCount + 1);
        if (added) {
            ++styleCount;
            styles.f64(p.barPercent);
            styles.u32(p.foreColor);
            styles.u32(p.backColor);
            styles.u32(p.barColor);
            styles.varint(pictureOf(p, row, col));
            styles.u8(p.pictureAlignment);
            styles.u8(p.alignment);
            styles.u8(p.checked);
            styles.u8(p.style);
        }
        return it->second;
    }
};

void writeRuns(const CellStore& store, int col, StyleCollector& collector, GridFileWriter& out) {
    std::vector<Run> runs;
    if (store.column(col).hasStyles()) {
        for (int r = 0; r < store.rows(); ++r) {
            const CellProps p = store.props(r, col);
            if (p.isDefault()) {
                continue;
            }
            const uint32_t style = collector.indexOf(p, r, col);
            if (!runs.empty() && runs.back().style == style &&
                runs.back().first + runs.back().count == uint32_t(r)) {
                ++runs.back().count;
            } else {
                runs.push_back({uint32_t(r), 1, style});
            }
        }
    }
    out.varint(runs.size());
    for (const Run& run : runs) {
        out.varint(run.first);
        out.varint(run.count);
        out.varint(run.style);
    }
}

void writeCells(const CellStore& store, GridFileWriter& out) {
    // One allocation instead of a regrowth, and a copy, every time the
    // buffer doubles.
    out.bytes().reserve(out.bytes().size() + qsizetype(store.writtenSizeEstimate()));
    for (int r = 0; r < store.rows(); ++r) {
        for (int c = 0; c < store.cols(); ++c) {
            const std::string_view text = store.text(r, c);
            double value = 0;
            const bool typed = store.value(r, c, &value);
            out.varint(uint64_t(text.size()) << 1 | (typed ? 1 : 0));
            out.raw(text);
            if (typed) {
                out.f64(value);
            }
        }
    }
}

void writeColumns(const CellStore& store, GridFileWriter& out) {
    for (int c = 0; c < store.cols(); ++c) {
        const SheetColumn& column = store.column(c);
        out.u32(uint32_t(column.width));
        out.u8(uint32_t(column.alignment));
        out.u32(uint32_t(column.dataType));
        out.u8(column.merge ? 1 : 0);
        out.text(column.format.toStdString());
    }
}

}  // namespace

QByteArray GridFile::save(const Grid& grid) {
    const GridModel& model = *grid.gridModel();
    const CellStore& store = model.store();
    GridFileWriter head;
    head.raw(kMagicView);
    head.u32(kVersion);
    head.u32(uint32_t(store.rows()));
    head.u32(uint32_t(store.cols()));
    head.u8(uint32_t(grid.fixedRows()));
    head.u8(uint32_t(grid.fixedCols()));
    head.u8(uint32_t(model.mergeMode()));
    head.u8(uint32_t(grid.gridLines()));
    head.u32(model.alternateColor());
    writeColumns(store, head);
    StyleCollector collector(model);
    GridFileWriter runs;
    for (int c = 0; c < store.cols(); ++c) {
        writeRuns(store, c, collector, runs);
    }
    head.varint(collector.pictureCount);
    head.raw(std::string_view(collector.pictures.bytes().constData(),
                              std::size_t(collector.pictures.bytes().size())));
    head.varint(collector.styleCount);
    head.raw(std::string_view(collector.styles.bytes().constData(),
                              std::size_t(collector.styles.bytes().size())));
    writeCells(store, head);
    head.bytes().append(runs.bytes());
    return std::move(head.bytes());
}

// ---- loading ----

namespace {

void readHeader(GridFileReader& in, Contents& c) {
    if (in.remaining() < kMagicView.size() ||
        in.bytes(kMagicView.size(), "the file type mark") != kMagicView) {
        in.seek(0);
        in.fail("not a grid file (no grid file mark)");
        return;
    }
    const uint32_t version = in.u32("the version");
    if (in.ok() && version != GridFile::kVersion) {
        in.fail("grid file version " + std::to_string(version) + " is not one this program reads");
        return;
    }
    c.rows = in.u32("the row count");
    c.cols = in.u32("the column count");
    c.fixedRows = in.u8("the fixed rows");
    c.fixedCols = in.u8("the fixed columns");
    c.mergeMode = in.u8("the merge mode");
    c.gridLines = in.u8("the grid lines");
    c.alternateColor = in.u32("the alternate row colour");
    if (!in.ok()) {
        return;
    }
    if (c.rows > uint32_t(CellStore::kMaxRows) || c.cols > uint32_t(CellStore::kMaxCols) ||
        c.fixedRows > 1) {
        in.fail("a sheet size this program cannot hold (" + std::to_string(c.rows) + " rows, " +
                std::to_string(c.cols) + " columns)");
    }
}

void readColumns(GridFileReader& in, Contents& c) {
    for (uint32_t i = 0; i < c.cols && in.ok(); ++i) {
        FileColumn column;
        column.width = int(in.u32("a column width"));
        column.alignment = int(in.u8("a column alignment"));
        column.dataType = int(in.u32("a column data type"));
        const uint32_t merge = in.u8("a column merge flag");
        const std::string_view format = in.text("a column format");
        if (in.ok() &&
            (column.width < 0 || column.width > kMaxWidth || column.alignment > 9 || merge > 1)) {
            in.fail("a column setting out of range");
        }
        column.merge = merge == 1;
        column.format = QString::fromUtf8(format.data(), qsizetype(format.size()));
        c.columns.push_back(std::move(column));
    }
}

void readPictures(GridFileReader& in, Contents& c) {
    const uint64_t count = in.varint("the picture count");
    if (in.ok() && (count > kMaxPictures || count > in.remaining())) {
        in.fail("an impossible picture count");
        return;
    }
    for (uint64_t i = 0; i < count && in.ok(); ++i) {
        const std::string_view png = in.text("a picture");
        QPixmap picture;
        if (in.ok() &&
            !picture.loadFromData(reinterpret_cast<const uchar*>(png.data()), uint(png.size()))) {
            in.fail("picture " + std::to_string(i + 1) + " cannot be read");
        }
        c.pictures.push_back(picture);
    }
}

void readStyles(GridFileReader& in, Contents& c) {
    const uint64_t count = in.varint("the style count");
    if (in.ok() && count > in.remaining() / kStyleBytes) {
        in.fail("an impossible style count");
        return;
    }
    for (uint64_t i = 0; i < count && in.ok(); ++i) {
        CellProps p;
        p.barPercent = in.f64("a cell style");
        p.foreColor = in.u32("a cell style");
        p.backColor = in.u32("a cell style");
        p.barColor = in.u32("a cell style");
        const uint64_t picture = in.varint("a cell style");
        p.pictureAlignment = uint8_t(in.u8("a cell style"));
        p.alignment = uint8_t(in.u8("a cell style"));
        p.checked = uint8_t(in.u8("a cell style"));
        p.style = uint8_t(in.u8("a cell style"));
        if (in.ok() && (picture > c.pictures.size() || p.checked > 2 || p.pictureAlignment > 9 ||
                        (p.alignment > 9 && p.alignment != CellProps::kNoAlignment) ||
                        p.style > 7 || !std::isfinite(p.barPercent))) {
            in.fail("cell style " + std::to_string(i + 1) + " out of range");
        }
        p.picture = uint16_t(picture);
        c.styles.push_back(p);
    }
}

// Walks the cells without keeping them, checking every length.
void skipCells(GridFileReader& in, const Contents& c) {
    if (uint64_t(c.rows) * c.cols > in.remaining()) {
        in.fail("the file is too short for " + std::to_string(c.rows) + " rows of " +
                std::to_string(c.cols) + " cells");
        return;
    }
    for (uint64_t i = 0; i < uint64_t(c.rows) * c.cols && in.ok(); ++i) {
        const uint64_t tag = in.varint("a cell");
        if (in.ok() && (tag >> 1) > in.remaining()) {
            in.fail("a cell text past the end of the file");
            return;
        }
        in.bytes(std::size_t(tag >> 1), "a cell text");
        if (tag & 1) {
            in.f64("a cell value");
        }
    }
}

void readRuns(GridFileReader& in, Contents& c) {
    c.runs.resize(c.cols);
    for (uint32_t col = 0; col < c.cols && in.ok(); ++col) {
        const uint64_t count = in.varint("a column's style runs");
        if (in.ok() && count > in.remaining() / 3) {
            in.fail("an impossible style run count");
            return;
        }
        uint64_t end = 0;
        for (uint64_t i = 0; i < count && in.ok(); ++i) {
            Run run;
            const uint64_t first = in.varint("a style run");
            const uint64_t rows = in.varint("a style run");
            const uint64_t style = in.varint("a style run");
            if (in.ok() && (first < end || rows == 0 || first + rows > c.rows || style == 0 ||
                            style > c.styles.size())) {
                in.fail("a style run out of order or out of range");
            }
            run = {uint32_t(first), uint32_t(rows), uint32_t(style)};
            end = first + rows;
            c.runs[col].push_back(run);
        }
    }
}

jet::Status check(const QByteArray& bytes, Contents& c) {
    GridFileReader in(bytes);
    // Each step relies on the counts the steps before it have checked, so
    // the first fault ends the reading.
    readHeader(in, c);
    if (in.ok()) {
        readColumns(in, c);
    }
    if (in.ok()) {
        readPictures(in, c);
    }
    if (in.ok()) {
        readStyles(in, c);
    }
    c.cellsOffset = in.offset();
    if (in.ok()) {
        skipCells(in, c);
    }
    if (in.ok()) {
        readRuns(in, c);
    }
    if (in.ok() && in.remaining() != 0) {
        in.fail("unexpected bytes after the end of the sheet");
    }
    if (!in.ok()) {
        return {jet::ErrorCode::Corrupt, "The grid file cannot be read: " + in.error() + "."};
    }
    return jet::Status::ok();
}

void fillCells(Grid& grid, const QByteArray& bytes, const Contents& c) {
    GridFileReader in(bytes);
    in.seek(c.cellsOffset);
    std::vector<CellInput> row(c.cols);
    std::vector<QString> titles(c.cols);
    for (uint32_t r = 0; r < c.rows; ++r) {
        for (uint32_t col = 0; col < c.cols; ++col) {
            const uint64_t tag = in.varint("a cell");
            row[col].text = in.bytes(std::size_t(tag >> 1), "a cell text");
            row[col].hasValue = (tag & 1) != 0;
            row[col].value = row[col].hasValue ? in.f64("a cell value") : 0;
        }
        if (r == 0) {
            for (uint32_t col = 0; col < c.cols; ++col) {
                titles[col] =
                    QString::fromUtf8(row[col].text.data(), qsizetype(row[col].text.size()));
            }
            grid.beginFill(titles);
        } else {
            grid.appendRow(row);
        }
    }
    if (c.rows == 0) {
        grid.beginFill(titles);
    }
    grid.endFill();
    if (c.rows == 0) {
        grid.setRows(0);
    }
}

void applyColumns(Grid& grid, const Contents& c) {
    for (uint32_t col = 0; col < c.cols; ++col) {
        const FileColumn& column = c.columns[col];
        grid.setColWidth(int(col), column.width);
        grid.setColAlignment(int(col), column.alignment);
        grid.setColFormat(int(col), column.format);
        grid.setColDataType(int(col), column.dataType);
        grid.setColMerge(int(col), column.merge);
    }
}

void applyStyles(Grid& grid, const Contents& c) {
    GridModel& model = *grid.gridModel();
    std::vector<CellProps> looks = c.styles;
    for (CellProps& look : looks) {
        look.picture = look.picture == 0 ? 0 : model.pictureId(c.pictures[look.picture - 1]);
    }
    for (uint32_t col = 0; col < c.cols; ++col) {
        for (const Run& run : c.runs[col]) {
            const CellProps& look = looks[run.style - 1];
            model.editBlock(int(run.first), int(col), int(run.first + run.count - 1), int(col),
                            [&look](CellProps& p) { p = look; });
        }
    }
}

}  // namespace

jet::Status GridFile::load(Grid& grid, const QByteArray& bytes) {
    Contents contents;
    if (jet::Status status = check(bytes, contents); !status.isOk()) {
        return status;
    }
    grid.setFixedRows(int(contents.fixedRows));
    grid.setFixedCols(int(contents.fixedCols));
    fillCells(grid, bytes, contents);
    applyColumns(grid, contents);
    applyStyles(grid, contents);
    grid.setMergeCells(int(contents.mergeMode));
    grid.setGridLines(int(contents.gridLines));
    grid.gridModel()->setAlternateColor(contents.alternateColor);
    return jet::Status::ok();
}

}  // namespace sheet
