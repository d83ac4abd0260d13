// The pieces of Access SQL text the SQL box colours: keywords, function
// names, 'text' and "text" literals, #date# literals, [bracketed names] and
// numbers. Access SQL has no comments. A literal or bracketed name left open
// at the end of a line goes on in the next one, so each line is read with
// the state the previous line ended in.
#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace sql {

class SqlSyntax {
  public:
    enum class Kind { Keyword, Function, Text, Date, Name, Number };
    // Where a line ends: outside everything, or inside an open literal or name.
    enum State { Plain = 0, InSingleQuoted = 1, InDoubleQuoted = 2, InDate = 3, InBracket = 4 };

    struct Token {
        int start = 0;
        int length = 0;
        Kind kind = Kind::Keyword;
    };

    // The tokens of one line read from `state`; `state` becomes the state the
    // line ends in. Plain words that are neither keywords nor functions, and
    // operators, are not listed.
    static std::vector<Token> scanLine(QStringView line, State& state);
    // The state `text` (any number of lines) ends in.
    static State stateAtEnd(QStringView text);

    // Case-insensitive, for words in their plain (unbracketed) form.
    static bool isKeyword(QStringView word);
    static bool isFunction(QStringView word);
    // The functions as Access spells them ("DateAdd", "IIf"), every one the
    // engine runs.
    static const QStringList& functionNames();
    // Whether `name` must be bracketed to stand in a statement: it is not a
    // plain word of letters, digits and "_" starting with a letter, or it is
    // a keyword or function.
    static bool needsBrackets(QStringView name);
    static bool isWordCharacter(QChar c);
};

}  // namespace sql
