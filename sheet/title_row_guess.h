// Whether the first line of a comma- or tab-delimited file is a title row:
// it names every column of the sheet, as the program's own saves write it.
// The open command offers such a line as the titles instead of data row 1.
#pragma once

namespace sheet {

class Grid;

class TitleRowGuess {
  public:
    // Data row 1 of a freshly loaded text file holds a non-empty text in
    // every column, none of them a number, no two alike (letter case aside),
    // and at least one more row follows it.
    static bool firstRowNamesEveryColumn(const Grid& grid);
};

}  // namespace sheet
