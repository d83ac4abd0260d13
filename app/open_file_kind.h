// The kinds of file the open command and Save As tell apart by the end of a
// file's name, and the file dialogs' filter texts in their written form
// ("Description|pattern|...") turned into Qt's ("Description (pattern);;...").
#pragma once

#include <QString>

namespace app {

// The open file type the window keeps: what the sheet was last filled from.
// File mode resets it to None once the sheet is set up.
enum class OpenFileType : unsigned char {
    None = 0,
    Database = 1,
    GridFile = 2,
    CommaText = 3,
    TabText = 4
};

class OpenFileKind {
  public:
    // JSON lines and SQLite databases are written by Save As, never opened.
    enum Kind { NotRecognised, Database, GridFile, CommaText, TabText, JsonLines, SqliteDatabase };

    static constexpr const char* kOpenFilter =
        "ACCESS Database Files (*.mdb *.accdb)|*.mdb;*.accdb|Veltrano Pairsheet Files "
        "(*.prs)|*.prs|"
        "Comma Delimited Text Files (*.csv)|*.csv|Tab Delimited Text Files (*.txt)|*.txt|"
        "All Files (*.*)|*.*";
    static constexpr const char* kSaveFilter =
        "Veltrano Pairsheet Files (*.prs)|*.prs|Comma Delimited Text Files (*.csv)|*.csv|"
        "Tab Delimited Text Files (*.txt)|*.txt|JSON Lines Files (*.jsonl)|*.jsonl|"
        "SQLite Database Files (*.sqlite)|*.sqlite|All Files (*.*)|*.*";

    // By the upper-cased last three characters ("MDB", "PRS", "CSV", "TXT";
    // no dot needed); a name whose last five are "ACCDB" is a database too.
    static Kind of(const QString& fileName);
    // The kinds Save As writes; a database name is not one of them. Names
    // ending in "jsonl" or "sqlite" (any case, no dot needed) are JSON lines
    // and SQLite databases.
    static Kind forSave(const QString& fileName);
    // The open file type a kind sets.
    static OpenFileType openFileType(Kind kind);

    // Each "Description|pattern" pair becomes "Description (patterns)" with
    // the patterns Qt reads from the parentheses; "*.*" becomes "*" so that
    // names without a dot are listed under "All Files" as well.
    static QString qtFilter(const QString& writtenFilter);
};

}  // namespace app
