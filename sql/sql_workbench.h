// The SQL workbench: the SQL box `txtSQL` and the buttons of the "SQL" tab.
// Run checks the text's length and keywords and runs it through the database
// browser; Clear empties the box; Lock and Unlock decide whether a tree click
// may replace the text; Save As New Query and Delete change the saved
// queries of the open database. The text rules live in SqlText and RunCheck.
// The box colours Access SQL, completes names (SqlCompleter), runs the
// statement or the selected part of it on Ctrl+Enter, and recalls the
// statements run on the open database with Ctrl+Up and Ctrl+Down.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

#include "jet/status.h"
#include "sql/query_history.h"

class QKeyEvent;
class QPlainTextEdit;

namespace db {
class QueryDefinitions;
}
namespace ui {
class Desktop;
class Dialogs;
class StatusPanels;
class TabStrip;
struct WindowControls;
}  // namespace ui

namespace sql {

class QueryBrowser;
class SqlCompleter;
class SqlHighlighter;

class SqlWorkbench : public QObject {
    Q_OBJECT
  public:
    SqlWorkbench(const ui::WindowControls& controls, ui::Dialogs& dialogs, ui::Desktop& desktop,
                 QObject* parent = nullptr);

    void setBrowser(QueryBrowser* browser) { browser_ = browser; }

    // The box's contents with every line break as CR LF.
    QString text() const;
    void setText(const QString& text);
    // The text the user has selected, line breaks as CR LF.
    QString selectedText() const;
    // Whether a tree click leaves the text alone.
    bool unlocked() const { return unlocked_; }
    // Where a double-clicked tree name is put: a character index into the text.
    int insertionPoint() const { return insertionPoint_; }
    void setInsertionPoint(int point) { insertionPoint_ = point; }
    // Puts `text` at the insertion point and gives the box the focus.
    void insertAtInsertionPoint(const QString& text);

    void run();
    // Ctrl+Enter: runs the selected text, or the whole text without a selection.
    void runSelectionOrAll();
    // Ctrl+Up / Ctrl+Down: the older / newer statement run on this database.
    void showOlderStatement();
    void showNewerStatement();
    void clear();
    void lock();
    void unlock();
    void saveAsNewQuery();
    void deleteCurrentQuery();

    QueryHistory& history() { return history_; }
    SqlCompleter& completer() const { return *completer_; }
    SqlHighlighter& highlighter() const { return *highlighter_; }

  signals:
    // The box got the focus (it is now the last-focused pane).
    void focused();

  private:
    void connectControls();
    // The box's own keys; true when the key was used.
    bool handleKey(const QKeyEvent& key);
    // Run with `statement` as the record source (the whole text or a part).
    void runText(const QString& statement);
    // The open database's path, which keys its history; empty when none.
    QString databaseKey() const;
    void showStatement(const QString& statement);
    void setLocked(bool locked);
    void showError(const QString& text, const QString& title, bool exclamation);
    // Delete found the query missing from the file: says so and offers
    // Delete no more.
    void reportQueryGone(const QString& name);
    jet::Status writeQuery(const std::function<jet::Status(db::QueryDefinitions&)>& change);

    QPlainTextEdit& box_;
    const ui::WindowControls& controls_;
    ui::Dialogs& dialogs_;
    ui::Desktop& desktop_;
    QueryBrowser* browser_ = nullptr;
    SqlHighlighter* highlighter_ = nullptr;
    SqlCompleter* completer_ = nullptr;
    QueryHistory history_;
    bool unlocked_ = false;
    int insertionPoint_ = 0;
};

}  // namespace sql
