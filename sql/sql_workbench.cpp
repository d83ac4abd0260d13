#include "sql/sql_workbench.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "db/database.h"
#include "db/event_hook.h"
#include "db/scoped_action.h"
#include "sql/query_browser.h"
#include "sql/run_check.h"
#include "sql/saved_query_nodes.h"
#include "sql/sql_completer.h"
#include "sql/sql_highlighter.h"
#include "sql/sql_text.h"
#include "sql/tree_names.h"
#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"
#include "ui/window_controls.h"

namespace sql {

namespace {

const char* const kCrLf = "\r\n";
constexpr int kSqlPanel = 2;

}  // namespace

SqlWorkbench::SqlWorkbench(const ui::WindowControls& controls, ui::Dialogs& dialogs,
                           ui::Desktop& desktop, QObject* parent)
    : QObject(parent),
      box_(*controls.sqlBox),
      controls_(controls),
      dialogs_(dialogs),
      desktop_(desktop) {
    highlighter_ = new SqlHighlighter(box_.document());
    completer_ = new SqlCompleter(
        box_, [this] { return browser_ ? namesInTree(browser_->databaseTree()) : SqlNames(); },
        this);
    connectControls();
}

void SqlWorkbench::connectControls() {
    const ui::SqlButtons& b = controls_.sqlButtons;
    connect(b.run, &QPushButton::clicked, this, &SqlWorkbench::run);
    connect(b.clear, &QPushButton::clicked, this, &SqlWorkbench::clear);
    connect(b.lock, &QPushButton::clicked, this, &SqlWorkbench::lock);
    connect(b.unlock, &QPushButton::clicked, this, &SqlWorkbench::unlock);
    connect(b.saveQuery, &QPushButton::clicked, this, &SqlWorkbench::saveAsNewQuery);
    connect(b.deleteQuery, &QPushButton::clicked, this, &SqlWorkbench::deleteCurrentQuery);
    // Lock and Unlock share one place: while the text is locked, Unlock shows.
    controls_.tabStrip->setControlShown(b.lock, false);
    controls_.tabStrip->setControlShown(b.unlock, true);
    // The insertion point follows clicks, focus and keys; before a key takes
    // effect the point lies behind the character typed.
    auto* hook = new db::EventHook(this, [this](QObject* watched, QEvent* event) {
        if (watched == &box_ && event->type() == QEvent::FocusIn) {
            insertionPoint_ = SqlText::caret(box_);
            emit focused();
        } else if (watched == &box_ && event->type() == QEvent::KeyPress) {
            insertionPoint_ = SqlText::caret(box_) + 1;
            return handleKey(static_cast<const QKeyEvent&>(*event));
        } else if (watched == box_.viewport() && event->type() == QEvent::MouseButtonRelease) {
            insertionPoint_ = SqlText::caret(box_);
        }
        return false;
    });
    hook->watch(&box_);
    hook->watch(box_.viewport());
}

QString SqlWorkbench::text() const {
    return SqlText::get(box_);
}

void SqlWorkbench::setText(const QString& text) {
    SqlText::set(box_, text);
}

QString SqlWorkbench::selectedText() const {
    QString text = box_.textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return SqlText::toCrLf(text);
}

void SqlWorkbench::insertAtInsertionPoint(const QString& text) {
    SqlText::setCaret(box_, insertionPoint_);
    SqlText::replaceSelection(box_, text);
    box_.setFocus();
}

void SqlWorkbench::showError(const QString& text, const QString& title, bool exclamation) {
    dialogs_.messageBox(text, title,
                        exclamation ? ui::Dialogs::Icon::Exclamation : ui::Dialogs::Icon::Critical,
                        ui::Dialogs::Buttons::Ok);
}

bool SqlWorkbench::handleKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::ControlModifier) {
        return false;
    }
    switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            runSelectionOrAll();
            return true;
        case Qt::Key_Up:
            showOlderStatement();
            return true;
        case Qt::Key_Down:
            showNewerStatement();
            return true;
        default:
            return false;
    }
}

void SqlWorkbench::run() {
    runText(text());
}

void SqlWorkbench::runSelectionOrAll() {
    const QString selected = selectedText();
    runText(selected.isEmpty() ? text() : selected);
}

QString SqlWorkbench::databaseKey() const {
    db::Database* database = browser_ ? browser_->openDatabase() : nullptr;
    return database ? QString::fromStdString(database->name()) : QString();
}

void SqlWorkbench::showOlderStatement() {
    if (const auto older = history_.older(databaseKey(), text())) {
        showStatement(*older);
    }
}

void SqlWorkbench::showNewerStatement() {
    if (const auto newer = history_.newer(databaseKey(), text())) {
        showStatement(*newer);
    }
}

// The caret goes to the end, where the user goes on typing.
void SqlWorkbench::showStatement(const QString& statement) {
    completer_->close();
    setText(statement);
    SqlText::setCaret(box_, int(statement.size()));
}

void SqlWorkbench::runText(const QString& statement) {
    switch (RunCheck::check(statement)) {
        case RunCheck::Verdict::TooShort:
            showError(QStringLiteral("Invalid SQL statement.\r\n"), QStringLiteral("SQL Error"),
                      false);
            box_.setFocus();
            return;
        case RunCheck::Verdict::Modifying:
            showError(QStringLiteral("Query involves modifying data is not allowed."),
                      QStringLiteral("Query Error"), true);
            box_.setFocus();
            return;
        case RunCheck::Verdict::Run:
            break;
    }
    // What reached the engine is kept, failed statements too: they are the
    // ones most often corrected and run again.
    history_.add(databaseKey(), statement);
    if (browser_ && browser_->runStatement(statement)) {
        controls_.statusPanels->setPanelText(kSqlPanel, QString());
    }
    box_.setFocus();
}

void SqlWorkbench::clear() {
    setText(QString());
    controls_.statusPanels->setPanelText(kSqlPanel, QString());
    box_.setFocus();
}

void SqlWorkbench::unlock() {
    setLocked(false);
}

void SqlWorkbench::lock() {
    setLocked(true);
}

void SqlWorkbench::setLocked(bool locked) {
    controls_.tabStrip->setControlShown(controls_.sqlButtons.lock, !locked);
    controls_.tabStrip->setControlShown(controls_.sqlButtons.unlock, locked);
    unlocked_ = !locked;
    box_.setFocus();
    controls_.statusPanels->setPanelText(kSqlPanel, locked ? QString() : QStringLiteral("SQL"));
}

void SqlWorkbench::saveAsNewQuery() {
    const QString name = dialogs_.inputBox(QStringLiteral("Enter New Query Name:"),
                                           QStringLiteral("Save Query"), QString());
    if (name.isEmpty()) {
        return;
    }
    const jet::Status saved = writeQuery([&](db::QueryDefinitions& queries) {
        return queries.create(name.toStdString(), text().toStdString());
    });
    if (!saved) {
        showError(QString::fromStdString(saved.message()), QStringLiteral("Error Create Query"),
                  false);
        return;
    }
    SavedQueryNodes::add(browser_->databaseTree(), name);
    box_.setFocus();
}

// The file is changed first: the node goes only when the query is gone from
// the file (deleted now, or already missing), so the tree never hides a
// query that is still stored. A query that was already gone is reported,
// and a deleted query offers Delete no more.
void SqlWorkbench::deleteCurrentQuery() {
    if (!browser_) {
        return;
    }
    const QString name = browser_->currentQueryName();
    const ui::Dialogs::Answer answer =
        dialogs_.messageBox(QStringLiteral("Are you sure you want to delete Query '%1'?").arg(name),
                            QStringLiteral("Delete Query"), ui::Dialogs::Icon::Question,
                            ui::Dialogs::Buttons::YesNoCancel);
    if (answer != ui::Dialogs::Answer::Yes) {
        return;
    }
    QTreeWidgetItem* node = SavedQueryNodes::find(browser_->databaseTree(), name);
    if (!node) {
        db::Database* database = browser_->openDatabase();
        if (!database || !database->queryDefs().find(name.toStdString())) {
            reportQueryGone(name);
        }
        return;
    }
    const jet::Status deleted = writeQuery(
        [&](db::QueryDefinitions& queries) { return queries.remove(name.toStdString()); });
    if (!deleted && deleted.code() != jet::ErrorCode::NotFound) {
        showError(QStringLiteral("The query was not deleted.") + QLatin1String(kCrLf) +
                      QString::fromStdString(deleted.message()),
                  QStringLiteral("Delete Query"), false);
        return;
    }
    browser_->forgetNode(node);
    delete node;
    controls_.sqlButtons.deleteQuery->setEnabled(false);
    if (!deleted) {
        reportQueryGone(name);
    }
}

void SqlWorkbench::reportQueryGone(const QString& name) {
    controls_.sqlButtons.deleteQuery->setEnabled(false);
    showError(QStringLiteral("Query '%1' is no longer in the database.").arg(name),
              QStringLiteral("Delete Query"), true);
}

// Writing copies and verifies the whole file, which takes a while on a big
// database: the busy pointer shows for the whole of it.
jet::Status SqlWorkbench::writeQuery(
    const std::function<jet::Status(db::QueryDefinitions&)>& change) {
    db::Database* database = browser_ ? browser_->openDatabase() : nullptr;
    if (!database) {
        return jet::Status(jet::ErrorCode::Invalid, "No database is open.");
    }
    desktop_.setPointer(ui::Desktop::Pointer::Busy);
    db::ScopedAction restore([this] { desktop_.setPointer(ui::Desktop::Pointer::Default); });
    return change(database->queryDefs());
}

}  // namespace sql
