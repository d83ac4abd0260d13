// The SQL box's completion list (a QCompleter popup under the caret): opened
// by Ctrl+Space, and by typing "[" or a dot after a name; narrowed as the
// user types on; Enter or Tab puts the chosen name in place of what was
// typed of it, Escape closes it. What is offered is SqlCompletion's.
#pragma once

#include <QObject>

#include <functional>

#include "sql/sql_completion.h"

class QCompleter;
class QKeyEvent;
class QModelIndex;
class QPlainTextEdit;
class QStandardItemModel;

namespace sql {

class SqlCompleter : public QObject {
    Q_OBJECT
  public:
    // `names` gives the open database's tables and queries when the list opens.
    SqlCompleter(QPlainTextEdit& box, std::function<SqlNames()> names, QObject* parent = nullptr);

    // Opens the list for the caret's place; false, and nothing shown, when
    // nothing can be offered there.
    bool open();
    bool isOpen() const;
    void close();
    QCompleter& completer() const { return *completer_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void onTextChanged();
    // Enter, Return or Tab in the open list: the current offer goes in.
    bool choose(const QKeyEvent& key);
    // Narrows the open list to what is typed now; closes it when the caret
    // left the name or nothing matches.
    void narrow();
    void insert(const QModelIndex& index);
    QString textBeforeCaret() const;
    void fill(const std::vector<SqlCompletion::Offer>& offers);

    QPlainTextEdit& box_;
    std::function<SqlNames()> names_;
    QCompleter* completer_;
    QStandardItemModel* model_;
    SqlCompletion::Request request_;
    bool openAfterEdit_ = false;
};

}  // namespace sql
