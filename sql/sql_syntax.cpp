#include "sql/sql_syntax.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include "jet/sql_functions.h"

namespace sql {

namespace {

const char* const kKeywords[] = {
    "ADD",        "ALL",      "ALTER",       "AND",        "ANY",       "AS",         "ASC",
    "BETWEEN",    "BY",       "COLUMN",      "CONSTRAINT", "CREATE",    "DELETE",     "DESC",
    "DISALLOW",   "DISTINCT", "DISTINCTROW", "DROP",       "EQV",       "EXISTS",     "FALSE",
    "FOREIGN",    "FROM",     "FULL",        "GROUP",      "HAVING",    "IGNORE",     "IMP",
    "IN",         "INDEX",    "INNER",       "INSERT",     "INTO",      "IS",         "JOIN",
    "KEY",        "LEFT",     "LEVEL",       "LIKE",       "MOD",       "NO",         "NOT",
    "NULL",       "ON",       "OPTION",      "OR",         "ORDER",     "OUTER",      "OWNERACCESS",
    "PARAMETERS", "PERCENT",  "PIVOT",       "PRIMARY",    "PROCEDURE", "REFERENCES", "RIGHT",
    "SELECT",     "SET",      "SOME",        "TABLE",      "TOP",       "TRANSFORM",  "TRUE",
    "UNION",      "UNIQUE",   "UPDATE",      "VALUE",      "VALUES",    "WHERE",      "WITH",
    "XOR",        "YES",
};

// How Access writes the functions the engine knows by their upper-case names.
const char* const kFunctionSpellings[] = {
    "Abs",       "Asc",    "Avg",      "CBool",      "CByte",       "CCur",     "CDate",
    "CDbl",      "Choose", "Chr",      "CInt",       "CLng",        "Count",    "CSng",
    "CStr",      "CVDate", "Date",     "DateAdd",    "DateDiff",    "DatePart", "DateSerial",
    "DateValue", "Day",    "Exp",      "First",      "Fix",         "Format",   "Hour",
    "IIf",       "InStr",  "InStrRev", "Int",        "IsDate",      "IsNull",   "IsNumeric",
    "Last",      "LCase",  "Left",     "Len",        "Log",         "LTrim",    "Max",
    "Mid",       "Min",    "Minute",   "Month",      "MonthName",   "Now",      "Nz",
    "Replace",   "Right",  "Round",    "RTrim",      "Second",      "Sgn",      "Space",
    "Sqr",       "StDev",  "StDevP",   "Str",        "StrComp",     "String",   "StrReverse",
    "Sum",       "Switch", "Time",     "TimeSerial", "TimeValue",   "Trim",     "UCase",
    "Val",       "Var",    "VarP",     "Weekday",    "WeekdayName", "Year",
};

const QSet<QString>& keywords() {
    static const QSet<QString> set = [] {
        QSet<QString> s;
        for (const char* k : kKeywords) {
            s.insert(QString::fromLatin1(k));
        }
        return s;
    }();
    return set;
}

// Upper-case name -> spelling, for every function the engine knows; one the
// table above does not spell is shown as the engine names it.
const QHash<QString, QString>& functions() {
    static const QHash<QString, QString> map = [] {
        QHash<QString, QString> spelled;
        for (const char* f : kFunctionSpellings) {
            const QString name = QString::fromLatin1(f);
            spelled.insert(name.toUpper(), name);
        }
        QHash<QString, QString> known;
        for (const std::string& engineName : jet::sqlFunctionNames()) {
            const QString upper = QString::fromStdString(engineName);
            known.insert(upper, spelled.value(upper, upper));
        }
        return known;
    }();
    return map;
}

// Where the literal or name opened by `open` ends on this line, from `from`;
// -1 when it stays open. Quotes inside a literal are doubled.
int closingAt(QStringView line, int from, QChar close, bool doubledEscapes) {
    for (int i = from; i < line.size(); ++i) {
        if (line[i] != close) {
            continue;
        }
        if (doubledEscapes && i + 1 < line.size() && line[i + 1] == close) {
            ++i;
            continue;
        }
        return i;
    }
    return -1;
}

struct Delimited {
    QChar open;
    SqlSyntax::State state;
    SqlSyntax::Kind kind;
    bool doubledEscapes;
};

const Delimited kDelimited[] = {
    {u'\'', SqlSyntax::InSingleQuoted, SqlSyntax::Kind::Text, true},
    {u'"', SqlSyntax::InDoubleQuoted, SqlSyntax::Kind::Text, true},
    {u'#', SqlSyntax::InDate, SqlSyntax::Kind::Date, false},
    {u'[', SqlSyntax::InBracket, SqlSyntax::Kind::Name, false},
};

const Delimited* delimitedByState(SqlSyntax::State state) {
    for (const Delimited& d : kDelimited) {
        if (d.state == state) {
            return &d;
        }
    }
    return nullptr;
}

QChar closeOf(const Delimited& d) {
    return d.open == u'[' ? QChar(u']') : d.open;
}

// The piece of a literal or name from `start` (just inside it when the line
// began inside it); returns where reading goes on.
int readDelimited(QStringView line, int start, int bodyFrom, const Delimited& d,
                  SqlSyntax::State& state, std::vector<SqlSyntax::Token>& tokens) {
    const int close = closingAt(line, bodyFrom, closeOf(d), d.doubledEscapes);
    const int end = close < 0 ? int(line.size()) : close + 1;
    tokens.push_back({start, end - start, d.kind});
    state = close < 0 ? d.state : SqlSyntax::Plain;
    return end;
}

// A word: keyword, or function (a word that is both is a function only when
// an opening parenthesis follows it, as in Left( against LEFT JOIN).
int readWord(QStringView line, int start, std::vector<SqlSyntax::Token>& tokens) {
    int end = start;
    while (end < line.size() && SqlSyntax::isWordCharacter(line[end])) {
        ++end;
    }
    const QStringView word = line.mid(start, end - start);
    int next = end;
    while (next < line.size() && line[next].isSpace()) {
        ++next;
    }
    const bool call = next < line.size() && line[next] == u'(';
    const bool keyword = SqlSyntax::isKeyword(word);
    const bool function = SqlSyntax::isFunction(word);
    if (function && (call || !keyword)) {
        tokens.push_back({start, end - start, SqlSyntax::Kind::Function});
    } else if (keyword) {
        tokens.push_back({start, end - start, SqlSyntax::Kind::Keyword});
    }
    return end;
}

int readNumber(QStringView line, int start, std::vector<SqlSyntax::Token>& tokens) {
    int end = start;
    while (end < line.size() && (line[end].isDigit() || line[end] == u'.')) {
        ++end;
    }
    tokens.push_back({start, end - start, SqlSyntax::Kind::Number});
    return end;
}

}  // namespace

bool SqlSyntax::isWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

bool SqlSyntax::isKeyword(QStringView word) {
    return keywords().contains(word.toString().toUpper());
}

bool SqlSyntax::isFunction(QStringView word) {
    return functions().contains(word.toString().toUpper());
}

const QStringList& SqlSyntax::functionNames() {
    static const QStringList names = [] {
        QStringList list = functions().values();
        list.sort(Qt::CaseInsensitive);
        return list;
    }();
    return names;
}

bool SqlSyntax::needsBrackets(QStringView name) {
    if (name.isEmpty() || !name[0].isLetter()) {
        return true;
    }
    for (QChar c : name) {
        if (!isWordCharacter(c)) {
            return true;
        }
    }
    return isKeyword(name) || isFunction(name);
}

std::vector<SqlSyntax::Token> SqlSyntax::scanLine(QStringView line, State& state) {
    std::vector<Token> tokens;
    int i = 0;
    if (const Delimited* open = delimitedByState(state)) {
        i = readDelimited(line, 0, 0, *open, state, tokens);
    }
    while (i < line.size()) {
        const QChar c = line[i];
        const Delimited* opened = nullptr;
        for (const Delimited& d : kDelimited) {
            if (c == d.open) {
                opened = &d;
            }
        }
        if (opened) {
            i = readDelimited(line, i, i + 1, *opened, state, tokens);
        } else if (c.isDigit() && (i == 0 || !isWordCharacter(line[i - 1]))) {
            i = readNumber(line, i, tokens);
        } else if (c.isLetter() || c == u'_') {
            i = readWord(line, i, tokens);
        } else {
            ++i;
        }
    }
    return tokens;
}

SqlSyntax::State SqlSyntax::stateAtEnd(QStringView text) {
    State state = Plain;
    qsizetype from = 0;
    while (from <= text.size()) {
        qsizetype nl = text.indexOf(u'\n', from);
        if (nl < 0) {
            nl = text.size();
        }
        scanLine(text.mid(from, nl - from), state);
        from = nl + 1;
    }
    return state;
}

}  // namespace sql
