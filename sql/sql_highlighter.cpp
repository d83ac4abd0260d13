#include "sql/sql_highlighter.h"

#include <QColor>
#include <QFont>

namespace sql {

SqlHighlighter::SqlHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

// Mid-tone colours that read on a light and on a dark background alike.
QTextCharFormat SqlHighlighter::format(SqlSyntax::Kind kind) const {
    QTextCharFormat f;
    switch (kind) {
        case SqlSyntax::Kind::Keyword:
            f.setForeground(QColor(0x3a, 0x6e, 0xd8));
            f.setFontWeight(QFont::Bold);
            break;
        case SqlSyntax::Kind::Function:
            f.setForeground(QColor(0x8e, 0x4c, 0xc8));
            break;
        case SqlSyntax::Kind::Text:
            f.setForeground(QColor(0xc0, 0x4a, 0x2a));
            break;
        case SqlSyntax::Kind::Date:
            f.setForeground(QColor(0xc0, 0x3a, 0x8a));
            break;
        case SqlSyntax::Kind::Name:
            f.setForeground(QColor(0x2a, 0x95, 0x5a));
            break;
        case SqlSyntax::Kind::Number:
            f.setForeground(QColor(0x1a, 0x95, 0x9a));
            break;
    }
    return f;
}

void SqlHighlighter::highlightBlock(const QString& text) {
    const int previous = previousBlockState();
    auto state = previous < 0 ? SqlSyntax::Plain : SqlSyntax::State(previous);
    for (const SqlSyntax::Token& token : SqlSyntax::scanLine(text, state)) {
        setFormat(token.start, token.length, format(token.kind));
    }
    setCurrentBlockState(state);
}

}  // namespace sql
