#include "sql/sql_text.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>

namespace sql {

QString SqlText::get(const QPlainTextEdit& box) {
    return toCrLf(box.toPlainText());
}

void SqlText::set(QPlainTextEdit& box, const QString& text) {
    box.setPlainText(toLf(text));
}

int SqlText::caret(const QPlainTextEdit& box) {
    return crLfIndex(box.toPlainText(), box.textCursor().position());
}

void SqlText::setCaret(QPlainTextEdit& box, int index) {
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(lfIndex(box.toPlainText(), index));
    box.setTextCursor(cursor);
}

void SqlText::replaceSelection(QPlainTextEdit& box, const QString& text) {
    box.textCursor().insertText(toLf(text));
}

QString SqlText::toCrLf(const QString& lfText) {
    QString out = lfText;
    out.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return out;
}

QString SqlText::toLf(const QString& text) {
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

int SqlText::crLfIndex(const QString& lfText, int lfIndex) {
    const int end = std::clamp(lfIndex, 0, int(lfText.size()));
    int breaks = 0;
    for (int i = 0; i < end; ++i) {
        if (lfText.at(i) == QLatin1Char('\n')) {
            ++breaks;
        }
    }
    return end + breaks;
}

int SqlText::lfIndex(const QString& lfText, int crLfIndex) {
    int position = 0;  // in the CR LF form
    for (int i = 0; i < lfText.size(); ++i) {
        const int width = lfText.at(i) == QLatin1Char('\n') ? 2 : 1;
        if (position + width > crLfIndex) {
            return i;
        }
        position += width;
    }
    return int(lfText.size());
}

}  // namespace sql
