// DelimitedText: the grid's comma- and tab-delimited text files. Saving
// writes one line per sheet row, ended by CR LF, in UTF-8; a cell holding the
// separator, a double quote or a line break is quoted with its quotes doubled
// (RFC 4180). Loading reads UTF-8 with or without a byte-order mark, and
// Windows-1252 when the bytes are not valid UTF-8; quoted cells come back
// exactly as they were saved.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

// Through the source root: this header-only type needs no link to the engine.
#include "jet/status.h"

namespace sheet {

class Grid;

class DelimitedText {
  public:
    static constexpr char kComma = ',';
    static constexpr char kTab = '\t';

    // The sheet's rows from the first (with fixed cells) or from the first
    // data row, every column of each.
    static QByteArray save(const Grid& grid, char separator, bool withFixedCells);

    // Replaces the sheet with the file: the title row empty, one data row per
    // line, as many columns as the widest line, every column's data type 0.
    // A file the sheet cannot hold is refused and the sheet is left as it was.
    // onProgress, when given, hears every few thousand rows how many of the
    // file's rows are read, and answers whether to go on; when it says stop,
    // the sheet is left as it was and the status says the load was stopped.
    using ProgressHandler = std::function<bool(std::size_t rowsDone, std::size_t rowsTotal)>;
    static jet::Status load(Grid& grid, const QByteArray& bytes, char separator,
                            const ProgressHandler& onProgress = {});

    // The file's text as UTF-8: a byte-order mark dropped, Windows-1252
    // turned into UTF-8 when the bytes are not valid UTF-8.
    static QByteArray toUtf8(const QByteArray& bytes);

    // Splits UTF-8 text into rows of cells and hands each row to onRow; the
    // cells are valid during the call only. A line break at the very end ends
    // the last row and starts no new one.
    using RowHandler = std::function<void(std::span<const std::string_view> cells)>;
    static void parse(const QByteArray& utf8, char separator, const RowHandler& onRow);

    // One cell as written to the file: quoted when it must be.
    static void appendCell(QByteArray& out, std::string_view text, char separator);
};

}  // namespace sheet
