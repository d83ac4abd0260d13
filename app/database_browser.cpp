#include "app/database_browser.h"

#include <optional>

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QPushButton>
#include <QTreeWidget>

#include "db/database.h"
#include "db/database_opening.h"
#include "db/database_tree.h"
#include "db/event_hook.h"
#include "db/modifying_test.h"
#include "db/scoped_action.h"
#include "db/sheet_binding.h"
#include "db/tree_keys.h"
#include "sheet/grid.h"
#include "sql/sql_workbench.h"
#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/maker_info.h"
#include "ui/menu_actions.h"
#include "ui/window_controls.h"

namespace app {

namespace {

constexpr int kOpenOptions = 2;
const char* const kCrLf = "\r\n";

QString fromStd(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

DatabaseBrowser::DatabaseBrowser(const ui::WindowControls& controls, const ui::MenuActions& menus,
                                 sql::SqlWorkbench& sqlWorkbench, db::LoadProgress& loadProgress,
                                 ui::Dialogs& dialogs, ui::Desktop& desktop, QObject* parent)
    : QObject(parent),
      controls_(controls),
      menus_(menus),
      sqlWorkbench_(sqlWorkbench),
      dialogs_(dialogs),
      desktop_(desktop),
      binding_(std::make_unique<db::SheetBinding>(*controls.dataSheet, &loadProgress)) {
    dataControl_.bind(binding_.get());
    connectTree();
    connect(menus_.hiddenQueries, &QAction::toggled, this, [this] { rebuildTree(); });
}

DatabaseBrowser::~DatabaseBrowser() = default;

void DatabaseBrowser::connectTree() {
    QTreeWidget* tree = controls_.databaseTree;
    connect(tree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* node, int) { onNodeClicked(node); });
    connect(tree, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem*, int) { onNodeDoubleClicked(); });
    // A node reached with the keyboard is shown as a clicked one. Only a move
    // made by a key counts: a mouse click changes the current node too, but
    // is shown through itemClicked, and the program's own selection of the
    // first node shows nothing.
    auto keyMove = std::make_shared<bool>(false);
    connect(tree, &QTreeWidget::currentItemChanged, this,
            [this, keyMove](QTreeWidgetItem* node, QTreeWidgetItem*) {
                if (*keyMove && node) {
                    *keyMove = false;
                    onNodeClicked(node);
                }
            });
    auto* hook = new db::EventHook(this, [this, tree, keyMove](QObject* watched, QEvent* event) {
        switch (event->type()) {
            case QEvent::FocusIn:
                if (watched == tree) {
                    emit focused();
                }
                break;
            case QEvent::KeyPress:
                *keyMove = watched == tree;
                break;
            case QEvent::KeyRelease:
            case QEvent::MouseButtonPress:
                *keyMove = false;
                break;
            default:
                break;
        }
        return false;
    });
    hook->watch(tree);
    hook->watch(tree->viewport());
}

QTreeWidget& DatabaseBrowser::databaseTree() const {
    return *controls_.databaseTree;
}

void DatabaseBrowser::showMessage(const QString& text, const QString& title) {
    dialogs_.messageBox(text, title, ui::Dialogs::Icon::Critical, ui::Dialogs::Buttons::Ok);
}

bool DatabaseBrowser::open(const QString& path) {
    desktop_.setPointer(ui::Desktop::Pointer::Busy);
    db::ScopedAction restore([this] { desktop_.setPointer(ui::Desktop::Pointer::Default); });
    // A password is asked for only when the file needs one; an empty answer
    // is a Cancel.
    auto outcome = db::DatabaseOpening::open(path.toStdString(), kOpenOptions, [this](int) {
        const QString password = dialogs_.passwordBox(QStringLiteral("Enter password"),
                                                      QStringLiteral("Enter Password"));
        return password.isEmpty() ? std::nullopt : std::optional<QString>(password);
    });
    // Nothing else changes on a failure: the caption, the data control, the
    // tree and the sheet keep the earlier file's state.
    if (outcome.failure == db::DatabaseOpening::Failure::Password) {
        dialogs_.messageBox(
            QStringLiteral(
                "Open database error. Check your password or consult with system administrator."),
            QString::fromLatin1(ui::kProductName), ui::Dialogs::Icon::Information,
            ui::Dialogs::Buttons::Ok);
        return false;
    }
    if (outcome.failure == db::DatabaseOpening::Failure::Other) {
        dialogs_.messageBox(QStringLiteral("Unable to open database.\r\n") + outcome.reason,
                            QStringLiteral("Error"), ui::Dialogs::Icon::Critical,
                            ui::Dialogs::Buttons::Ok);
        return false;
    }
    controls_.client->window()->setWindowTitle(
        QStringLiteral("%1 [%2]").arg(QString::fromLatin1(ui::kMakerName), path));
    close();
    database_ = std::move(outcome.database);
    path_ = path;
    for (const auto& [stored, file] : chosenBackEnds_) {
        database_->setBackEndFile(stored, file);
    }
    dataControl_.setDatabase(database_);
    binding_->setDatabase(database_);
    db::DatabaseTree::build(*controls_.databaseTree, *database_, path,
                            menus_.hiddenQueries->isChecked());
    showFirstObject(db::DatabaseTree::fourthNode(*controls_.databaseTree));
    return true;
}

// Nothing of the closed file stays in reach: the tree's nodes are about to be
// replaced, so neither the last node clicked nor the query Delete would act
// on may outlive them.
void DatabaseBrowser::close() {
    currentNode_ = nullptr;
    currentQueryName_.clear();
    controls_.sqlButtons.deleteQuery->setEnabled(false);
    dataControl_.setDatabase(nullptr);
    if (database_) {
        database_->close();
        database_.reset();
    }
}

// The first table (or query) fills the sheet. When there is none or it
// cannot be opened, the sheet is emptied rather than left showing the
// previous file's rows under the new caption.
void DatabaseBrowser::showFirstObject(QTreeWidgetItem* first) {
    db::RecordsetSink::Outcome outcome;
    if (!first) {
        outcome.status =
            jet::Status(jet::ErrorCode::NotFound, "The database has no table or query to show.");
    } else if (!locateBackEnd(first->text(0), outcome.status)) {
        outcome.replaced = false;
    } else {
        outcome = showTable(first->text(0));
    }
    if (!outcome.replaced) {
        controls_.dataSheet->clear();
        showMessage(QStringLiteral("Unable to open database.") + QLatin1String(kCrLf) +
                        fromStd(outcome.status.message()),
                    QStringLiteral("Error"));
        return;
    }
    controls_.databaseTree->setCurrentItem(first);
    menus_.refresh->setEnabled(true);
    announce(outcome);
}

db::RecordsetSink::Outcome DatabaseBrowser::showTable(const QString& name) {
    dataControl_.setRecordSource(name.toStdString());
    return refreshData();
}

// Damage to the file's pages fails a read; the user may see what can be read
// instead. A salvaging record source stays so through Refresh, which tells
// again what was left out.
db::RecordsetSink::Outcome DatabaseBrowser::refreshData() {
    db::RecordsetSink::Outcome outcome = dataControl_.refresh();
    if (!dataControl_.salvaging() && database_ &&
        database_->salvageable(dataControl_.recordSource(), outcome.status) &&
        askToSalvage(outcome.status)) {
        dataControl_.setSalvaging(true);
        outcome = dataControl_.refresh();
    }
    return outcome;
}

bool DatabaseBrowser::askToSalvage(const jet::Status& failure) {
    const QString text = fromStd(failure.message()) + QLatin1String(kCrLf) + QLatin1String(kCrLf) +
                         QStringLiteral("Show the rows that can be read?");
    return dialogs_.messageBox(text, QStringLiteral("Error"), ui::Dialogs::Icon::Question,
                               ui::Dialogs::Buttons::YesNoCancel) == ui::Dialogs::Answer::Yes;
}

void DatabaseBrowser::announce(const db::RecordsetSink::Outcome& outcome) {
    emit resultLoaded(outcome);
    if (dataControl_.salvaging() && database_) {
        reportSkipped(database_->damage());
    }
}

// Counts per table first, then each page, row and long value with its reason;
// a badly damaged file lists only the first of them.
void DatabaseBrowser::reportSkipped(const jet::DamageReport& damage) {
    constexpr std::size_t kMostPlaces = 20;
    if (damage.empty()) {
        return;
    }
    QString text = QStringLiteral("Only the rows that could be read are shown.");
    for (const std::string& line : damage.summary()) {
        text += QLatin1String(kCrLf) + fromStd(line);
    }
    text += QLatin1String(kCrLf);
    const std::vector<std::string> places = damage.lines();
    for (std::size_t i = 0; i < places.size() && i < kMostPlaces; ++i) {
        text += QLatin1String(kCrLf) + fromStd(places[i]);
    }
    if (places.size() > kMostPlaces) {
        text += QLatin1String(kCrLf) +
                QStringLiteral("... and %1 more.").arg(places.size() - kMostPlaces);
    }
    dialogs_.messageBox(text, QStringLiteral("Error"), ui::Dialogs::Icon::Exclamation,
                        ui::Dialogs::Buttons::Ok);
}

void DatabaseBrowser::reportRecordSourceError(const jet::Status& status) {
    showMessage(
        QStringLiteral("Invalid SQL statement.") + QLatin1String(kCrLf) + fromStd(status.message()),
        QStringLiteral("SQL Error"));
}

QString DatabaseBrowser::currentNodeName() const {
    return currentNode_ ? currentNode_->text(0) : QString();
}

void DatabaseBrowser::onNodeDoubleClicked() {
    const QString key = db::DatabaseTree::key(currentNode_);
    if (!currentNode_ || key.startsWith(QLatin1Char('N')) || key.startsWith(QLatin1Char('Q')) ||
        key.startsWith(QLatin1Char('R'))) {
        return;
    }
    sqlWorkbench_.insertAtInsertionPoint(
        QStringLiteral(" [%1] ").arg(db::DatabaseTree::name(currentNode_)));
}

void DatabaseBrowser::refresh() {
    desktop_.setPointer(ui::Desktop::Pointer::Busy);
    db::ScopedAction restore([this] { desktop_.setPointer(ui::Desktop::Pointer::Default); });
    const db::RecordsetSink::Outcome outcome = refreshData();
    if (!outcome.replaced) {
        reportRecordSourceError(outcome.status);
        return;
    }
    // The refresh replaced the whole sheet, flag column included: the result
    // is loaded again like any other.
    announce(outcome);
}

bool DatabaseBrowser::runStatement(const QString& statement) {
    desktop_.setPointer(ui::Desktop::Pointer::Busy);
    db::ScopedAction restore([this] { desktop_.setPointer(ui::Desktop::Pointer::Default); });
    const db::RecordsetSink::Outcome outcome = openStatement(statement.toStdString());
    if (!outcome.replaced) {
        reportRecordSourceError(outcome.status);
        return false;
    }
    announce(outcome);
    return true;
}

void DatabaseBrowser::onNodeClicked(QTreeWidgetItem* node) {
    currentNode_ = node;
    const db::TreeKeys::Kind kind = db::TreeKeys::kindOf(db::DatabaseTree::key(node));
    QPushButton* deleteButton = controls_.sqlButtons.deleteQuery;
    if (!node || kind == db::TreeKeys::Kind::Branch || kind == db::TreeKeys::Kind::Field ||
        kind == db::TreeKeys::Kind::Relationship) {
        deleteButton->setEnabled(false);
        return;
    }
    desktop_.setPointer(ui::Desktop::Pointer::Busy);
    db::ScopedAction restore([this] { desktop_.setPointer(ui::Desktop::Pointer::Default); });
    const QString name = node->text(0);
    const std::string oldSource = dataControl_.recordSource();
    const jet::ParameterValues oldValues = dataControl_.parameterValues();
    db::RecordsetSink::Outcome outcome;
    if (kind == db::TreeKeys::Kind::Table) {
        deleteButton->setEnabled(false);
        jet::Status why;
        if (!locateBackEnd(name, why)) {
            dialogs_.messageBox(fromStd(why.message()), QStringLiteral("Linked Table"),
                                ui::Dialogs::Icon::Exclamation, ui::Dialogs::Buttons::Ok);
            return;
        }
        if (!sqlWorkbench_.unlocked()) {
            sqlWorkbench_.setText(QStringLiteral("SELECT * \r\n  FROM [%1]").arg(name));
        }
        outcome = showTable(name);
    } else {
        currentQueryName_ = name;
        if (!showQuery(name, outcome)) {
            return;
        }
        deleteButton->setEnabled(true);
    }
    if (!outcome.replaced) {
        // The sheet and the flag state are as they were; so is the data control.
        if (oldValues.empty()) {
            dataControl_.setRecordSource(oldSource);
        } else {
            dataControl_.setRecordset(nullptr, oldSource, oldValues);
        }
        reportRecordSourceError(outcome.status);
        return;
    }
    announce(outcome);
}

bool DatabaseBrowser::showQuery(const QString& name, db::RecordsetSink::Outcome& outcome) {
    if (!sqlWorkbench_.unlocked()) {
        db::QueryDefinition* query =
            database_ ? database_->queryDefs().find(name.toStdString()) : nullptr;
        sqlWorkbench_.setText(query ? fromStd(query->sql()) : QString());
    }
    if (db::ModifyingTest::modifiesData(sqlWorkbench_.text())) {
        dialogs_.messageBox(QStringLiteral("Query involves modifying data is not allowed."),
                            QStringLiteral("Query Error"), ui::Dialogs::Icon::Exclamation,
                            ui::Dialogs::Buttons::Ok);
        return false;
    }
    outcome = openQuery(name);
    return true;
}

// A query without parameters becomes the record source by name; one with
// parameters asks for each value in order and binds the opened record set.
db::RecordsetSink::Outcome DatabaseBrowser::openQuery(const QString& name) {
    db::QueryDefinition* query =
        database_ ? database_->queryDefs().find(name.toStdString()) : nullptr;
    if (!query || query->parameters().empty()) {
        return showTable(name);
    }
    std::vector<std::string> names;
    for (const db::QueryDefinition::Parameter& p : query->parameters()) {
        names.push_back(p.name);
    }
    jet::ParameterValues values = askParameterValues(names);
    for (std::size_t i = 0; i < values.size(); ++i) {
        query->parameters()[i].value = values[i].second;
    }
    auto records = query->openRecordset();
    if (!records) {
        return {records.status(), false};
    }
    dataControl_.setRecordset(std::move(records).value(), query->name(), std::move(values));
    return refreshData();
}

// Each parameter is asked for in order; a cancelled prompt gives empty text.
jet::ParameterValues DatabaseBrowser::askParameterValues(const std::vector<std::string>& names) {
    jet::ParameterValues values;
    for (const std::string& name : names) {
        const QString value = dialogs_.inputBox(QStringLiteral("Enter ") + fromStd(name),
                                                QStringLiteral("Enter Parameter Value"), QString());
        values.emplace_back(name, value.toStdString());
    }
    return values;
}

// A typed statement asks for its parameters as a saved query does; the
// values stay with the record source, so Refresh runs it with them again.
// Whatever happens, the statement is the record source afterwards.
db::RecordsetSink::Outcome DatabaseBrowser::openStatement(const std::string& statement) {
    dataControl_.setRecordSource(statement);
    auto parameters =
        database_
            ? database_->parameters(statement)
            : jet::Result<std::vector<jet::QueryParameter>>(std::vector<jet::QueryParameter>());
    if (!parameters || parameters->empty()) {
        return refreshData();
    }
    std::vector<std::string> names;
    for (const jet::QueryParameter& p : *parameters) {
        names.push_back(p.name);
    }
    jet::ParameterValues values = askParameterValues(names);
    auto records = database_->openRecordset(statement, values);
    if (!records) {
        return {records.status(), false};
    }
    dataControl_.setRecordset(std::move(records).value(), statement, std::move(values));
    return refreshData();
}

// The node and its children go: neither stays the current node, and the tree
// highlights nothing rather than a neighbour the sheet does not show.
void DatabaseBrowser::forgetNode(QTreeWidgetItem* node) {
    const auto within = [node](QTreeWidgetItem* n) {
        for (; n; n = n->parent()) {
            if (n == node) {
                return true;
            }
        }
        return false;
    };
    if (within(currentNode_)) {
        currentNode_ = nullptr;
    }
    if (within(controls_.databaseTree->currentItem())) {
        controls_.databaseTree->setCurrentItem(nullptr);
    }
}

}  // namespace app

namespace app {

void DatabaseBrowser::rebuildTree() {
    if (!database_) {
        return;
    }
    QTreeWidget& tree = *controls_.databaseTree;
    const QString currentKey = db::DatabaseTree::key(currentNode_);
    currentNode_ = nullptr;
    db::DatabaseTree::build(tree, *database_, path_, menus_.hiddenQueries->isChecked());
    currentNode_ = currentKey.isEmpty() ? nullptr : db::DatabaseTree::find(tree, currentKey);
    tree.setCurrentItem(currentNode_);
}

bool DatabaseBrowser::locateBackEnd(const QString& table, jet::Status& why) {
    if (!database_) {
        return true;
    }
    const std::string stored = database_->missingBackEnd(table.toStdString());
    if (stored.empty()) {
        return true;
    }
    const QString storedName = db::DatabaseTree::fileNodeText(fromStd(stored));
    const QString chosen = dialogs_.openFileName(
        QStringLiteral("Locate the back-end database %1")
            .arg(storedName.isEmpty() ? fromStd(stored) : storedName),
        QFileInfo(path_).absolutePath(),
        QStringLiteral("ACCESS Database Files (*.mdb *.accdb);;All Files (*)"));
    const std::string notFound = "The linked table '" + table.toStdString() +
                                 "' reads from the database '" + stored + "', which was not found.";
    if (chosen.isEmpty()) {
        why = jet::Status(jet::ErrorCode::NotFound, notFound);
        return false;
    }
    database_->setBackEndFile(stored, chosen.toStdString());
    if (jet::Status readable = database_->linkStatus(table.toStdString()); !readable) {
        database_->setBackEndFile(stored, {});
        why = jet::Status(readable.code(), notFound + " The file chosen cannot stand in for it: " +
                                               readable.message());
        return false;
    }
    chosenBackEnds_[stored] = chosen.toStdString();
    db::DatabaseTree::refreshLinkedTables(*controls_.databaseTree, *database_);
    return true;
}

}  // namespace app
