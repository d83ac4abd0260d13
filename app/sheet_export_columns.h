// How the sheet's columns go into typed files (JSON lines, SQLite): a unique
// name for each column from its title, and the kind of each column's values.
// Cells are written as the sheet holds them, after edits: an empty cell is
// Null; a column of numbers (a number column from the database, or any
// column whose every filled cell reads as a number) gives numbers; a date
// the database gave keeps its moment and is written in ISO form; Yes/No
// cells give true/false. Every other cell is its text, so a text column of
// codes such as "01307" keeps its leading zero.
#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <vector>

namespace sheet {
class CellStore;
class Grid;
}  // namespace sheet

namespace app {

class SheetExportColumns {
  public:
    enum class Kind { Text, Number, Integer, Date, Boolean };

    // One cell as a typed file takes it.
    struct Cell {
        enum Type { Null, Number, Integer, Boolean, Text } type = Null;
        std::string_view text;  // the number's or the text's characters
        bool truth = false;
        double number = 0;
        long long integer = 0;
    };

    explicit SheetExportColumns(const sheet::Grid& sheet);

    int count() const { return int(names_.size()); }
    int rows() const;  // data rows
    // Titles made unique (case aside, as SQLite compares names); an empty
    // title becomes "Column" + its number from 1.
    const std::vector<QString>& names() const { return names_; }
    Kind kind(int col) const { return kinds_[std::size_t(col)]; }
    // The cell of data row `row` (from 1). A date gives its ISO text in
    // `scratch` ("YYYY-MM-DDTHH:MM:SS", or with a space for `spaceInDate`).
    Cell cell(int row, int col, std::string& scratch, bool spaceInDate = false) const;

    // Whether the text is a number as JSON writes one ("-12.5", "3E+15"; not
    // "01307", "1.", ".5" or "NaN").
    static bool isJsonNumber(std::string_view text);

  private:
    Kind kindOf(int col) const;

    const sheet::CellStore& store_;
    std::vector<QString> names_;
    std::vector<Kind> kinds_;
};

}  // namespace app
