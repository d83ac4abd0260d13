// GridFile: the grid's own file (".prs"): everything of the sheet - texts and
// typed values, the title row, column widths, alignments, formats, data
// types and merge flags, every cell's look (colours, bold, italic,
// underline, alignment, check box, bar) and pictures, the alternate row
// colour, merge mode and grid lines - so that a saved sheet loads back
// exactly. The byte layout is described in docs/prs-format.md.
#pragma once

#include <QByteArray>

#include <cstdint>

// Through the source root: this header-only type needs no link to the engine.
#include "jet/status.h"

namespace sheet {

class Grid;

class GridFile {
  public:
    static constexpr char kMagic[8] = {'\x89', 'P', 'R', 'S', '\r', '\n', '\x1A', '\n'};
    static constexpr uint32_t kVersion = 1;

    static QByteArray save(const Grid& grid);

    // Checks the whole file first; only a file that reads to its end without
    // fault replaces the sheet. Otherwise the sheet is untouched and the
    // status says what is wrong and where.
    static jet::Status load(Grid& grid, const QByteArray& bytes);
};

}  // namespace sheet
