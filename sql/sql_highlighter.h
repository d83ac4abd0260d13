// Colours the SQL box's text as Access SQL: keywords, function names,
// literals, dates, bracketed names and numbers, each in its own format. The
// reading of the text is SqlSyntax's; this only paints it.
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include "sql/sql_syntax.h"

namespace sql {

class SqlHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
  public:
    explicit SqlHighlighter(QTextDocument* document);

    // The format a kind of token is painted with.
    QTextCharFormat format(SqlSyntax::Kind kind) const;

  protected:
    void highlightBlock(const QString& text) override;
};

}  // namespace sql
