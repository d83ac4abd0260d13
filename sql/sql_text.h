// The SQL box's text as the program's rules see it: every line break is
// CR LF, whether the program set the text or the user pressed Enter. A Qt
// text box keeps paragraphs and hands back LF; every rule (length test,
// keyword test, insertion point, copy, paste, saving a query) goes through
// these functions so that it sees the CR LF form.
#pragma once

#include <QString>

class QPlainTextEdit;

namespace sql {

class SqlText {
  public:
    // The box's contents with each line break as CR LF.
    static QString get(const QPlainTextEdit& box);
    // Replaces the contents; CR LF, lone CR and lone LF all become one break.
    static void set(QPlainTextEdit& box, const QString& text);

    // The caret as a character index into the CR LF form.
    static int caret(const QPlainTextEdit& box);
    // Puts the caret at a CR LF index (inside a CR LF pair: before the
    // break; past the end: at the end), with an empty selection.
    static void setCaret(QPlainTextEdit& box, int index);
    // The selection replaced by `text` (CR LF form) at the caret.
    static void replaceSelection(QPlainTextEdit& box, const QString& text);

    // Conversions between the box's LF form and the CR LF form.
    static QString toCrLf(const QString& lfText);
    static QString toLf(const QString& text);
    static int crLfIndex(const QString& lfText, int lfIndex);
    static int lfIndex(const QString& lfText, int crLfIndex);
};

}  // namespace sql
