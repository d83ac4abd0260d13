// Formatting commands on the data sheet: bold, italic and underline over the
// style range, set or cleared as the remembered style state says; font
// colour; a number format for the current column; merging equal cells of the
// current column. They change only how cells look, never their text. Given
// an undo history, styles, colours and number formats are recorded there.
#pragma once

#include <QString>

#include <cstdint>
#include <span>

#include "sheet/grid.h"

namespace sheet {

class EditHistory;
struct SheetState;

// A block of cells, corners included; empty when row1 > row2 or col1 > col2.
struct CellBlock {
    int row1 = 0, col1 = 0, row2 = -1, col2 = -1;
    bool isEmpty() const { return row1 > row2 || col1 > col2; }
    bool operator==(const CellBlock&) const = default;
};

// The program's alternate row colour, light green.
constexpr uint32_t kAlternateRowColor = 0xC0FFC0;

// A column format offered by a menu-bar entry and its pop-up twin.
struct ColumnFormatEntry {
    const char* menuEntry;
    const char* popupEntry;
    const char* format;
};

class FormatCommands {
  public:
    FormatCommands(Grid& dataSheet, SheetState& state, EditHistory* history = nullptr);

    // The cells a formatting command acts on. Block mode: the selected block
    // from the current cell to the selection's far corner. Row mode: whole
    // rows from the current row to the selection end row. Empty when the
    // sheet has no data cell.
    static CellBlock styleRange(const Grid& dataSheet, bool blockMode);

    // Bold, Italic or Underline: a false remembered state sets the style on
    // the style range, a true one clears it; the state follows. Returns the
    // new state. An empty range changes nothing.
    bool toggleStyle(CellSetting style, bool blockMode);
    // Fore colour of the style range (red + 256 green + 65536 blue).
    void applyForeColor(uint32_t color, bool blockMode);
    // Number format of the current column; false when there is no column.
    bool setColumnFormat(const QString& format);
    // Flips the merge flag of the current column; returns the new flag.
    bool toggleMerge();

    // The six formats of the "Column Format" menus, in menu order.
    static std::span<const ColumnFormatEntry> columnFormats();

  private:
    bool& stateOf(CellSetting style);
    void setOnRange(const CellBlock& range, CellSetting setting, const QVariant& value,
                    const QString& label);

    Grid& dataSheet_;
    SheetState& state_;
    EditHistory* history_;
};

}  // namespace sheet
