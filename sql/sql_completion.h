// What the SQL box offers to complete at the caret: after "[" the names of
// tables, queries and fields; after "Name." or "[Name]." the fields of that
// table or query (or of the one an alias stands for); anywhere else (on
// Ctrl+Space) tables, queries, the fields of those the statement names, and
// functions. Each offer knows the text that replaces what was typed of it,
// bracketed where Access needs brackets.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace sql {

// The tables and queries of the open database with their fields, as the
// tree lists them.
struct SqlNames {
    struct Source {
        QString name;
        bool query = false;
        QStringList fields;
    };
    std::vector<Source> sources;

    const Source* find(QStringView name) const;
};

class SqlCompletion {
  public:
    enum class Context { None, Anywhere, InBracket, Member };
    enum class Kind { Table, Query, Field, Function };

    struct Request {
        Context context = Context::None;
        // Where the typed part of the name starts in the text before the
        // caret, and that part.
        int start = 0;
        QString prefix;
        // Member: the table, query or alias before the dot.
        QString owner;
        // The name was begun with "[": the offer closes it.
        bool bracketOpen = false;
    };

    struct Offer {
        QString shown;
        QString inserted;
        Kind kind = Kind::Table;
    };

    // The request at the end of `beforeCaret` (the text up to the caret,
    // lines separated by LF). None inside a text or date literal, and after
    // a dot that follows a number.
    static Request at(QStringView beforeCaret);
    // The offers for `request` in `statement` (the box's whole text, which
    // tells the tables used and their aliases), sorted by what is shown.
    static std::vector<Offer> offers(const Request& request, const SqlNames& names,
                                     QStringView statement);
};

}  // namespace sql
