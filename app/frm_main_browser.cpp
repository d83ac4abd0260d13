// frmMain: the database browser. The database opener and the tree, showing a
// table or query, the result loader, Refresh and New. The rules live in db/;
// these handlers read the controls, call them and show the outcome.
#include <QAction>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include <memory>

#include "app/frm_main.h"
#include "db/connect_text.h"
#include "db/database.h"
#include "db/database_tree.h"
#include "db/event_hook.h"
#include "db/flag_column.h"
#include "db/modifying_test.h"
#include "db/scoped_action.h"
#include "db/tree_keys.h"
#include "sheet/grid.h"
#include "sql/sql_text.h"
#include "ui/caption_panel.h"
#include "ui/dialogs.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/maker_info.h"
#include "ui/size_boxes.h"
#include "ui/tab_strip.h"

namespace {

constexpr int kOpenOptions = 2;
const char* const kCrLf = "\r\n";

QString fromStd(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

void frmMain::connectBrowserHandlers() {
    loadProgress_ = std::make_unique<db::ProgressBarFeedback>(Progress);
    binding_ = std::make_unique<db::SheetBinding>(*fa, loadProgress_.get());
    Data1.bind(binding_.get());
    connect(TreeView1, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* node, int) { TreeView1_NodeClick(node); });
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem*, int) { TreeView1_DblClick(); });
    // A node reached with the keyboard is shown as a clicked one. Only a move
    // made by a key counts: a mouse click changes the current node too, but
    // is shown through itemClicked, and the program's own selection of the
    // first node shows nothing.
    auto keyMove = std::make_shared<bool>(false);
    connect(TreeView1, &QTreeWidget::currentItemChanged, this,
            [this, keyMove](QTreeWidgetItem* node, QTreeWidgetItem*) {
                if (*keyMove && node) {
                    *keyMove = false;
                    TreeView1_NodeClick(node);
                }
            });
    auto* hook = new db::EventHook(this, [this, keyMove](QObject* watched, QEvent* event) {
        switch (event->type()) {
            case QEvent::FocusIn:
                if (watched == TreeView1) {
                    TreeView1_GotFocus();
                }
                break;
            case QEvent::KeyPress:
                *keyMove = watched == TreeView1;
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
    hook->watch(TreeView1);
    hook->watch(TreeView1->viewport());
    connect(menus->action(QStringLiteral("mnuRefresh")), &QAction::triggered, this,
            &frmMain::mnuRefresh_Click);
    connect(menus->action(QStringLiteral("mnuNew")), &QAction::triggered, this,
            &frmMain::mnuNew_Click);
}

bool frmMain::OpenDatabase(const QString& path) {
    desktop_.setPointer(ui::Desktop::Pointer::Busy);
    db::ScopedAction restore([this] { desktop_.setPointer(ui::Desktop::Pointer::Default); });
    const std::string file = path.toStdString();
    auto opened = db::Database::open(file, kOpenOptions);
    if (!opened) {
        const QString password = dialogs_.inputBox(QStringLiteral("Enter password"),
                                                   QStringLiteral("Enter Password"), QString());
        opened = db::Database::open(file, kOpenOptions,
                                    db::ConnectText::forPassword(password.toStdString()));
    }
    if (!opened) {
        // Nothing else changes: the caption, Data1, the tree and the sheet
        // keep the earlier file's state.
        dialogs_.messageBox(
            QStringLiteral(
                "Open database error. Check your password or consult with system administrator."),
            QString::fromLatin1(ui::kProductName), ui::Dialogs::Icon::Information,
            ui::Dialogs::Buttons::Ok);
        return false;
    }
    setWindowTitle(QStringLiteral("%1 [%2]").arg(QString::fromLatin1(ui::kMakerName), path));
    CloseDatabase();
    openDb = std::move(opened).value();
    Data1.setDatabase(openDb);
    db::DatabaseTree::build(*TreeView1, *openDb, path);
    showFirstObject(db::DatabaseTree::fourthNode(*TreeView1));
    return true;
}

void frmMain::CloseDatabase() {
    Data1.setDatabase(nullptr);
    if (openDb) {
        openDb->close();
        openDb.reset();
    }
}

// The first table (or query) fills the sheet. When there is none or it
// cannot be opened, the sheet is emptied rather than left showing the
// previous file's rows under the new caption.
void frmMain::showFirstObject(QTreeWidgetItem* first) {
    db::RecordsetSink::Outcome outcome;
    if (!first) {
        outcome.status =
            jet::Status(jet::ErrorCode::NotFound, "The database has no table or query to show.");
    } else {
        Data1.setRecordSource(first->text(0).toStdString());
        outcome = Data1.refresh();
    }
    if (!outcome.replaced) {
        fa->clear();
        dialogs_.messageBox(QStringLiteral("Unable to open database.") + QLatin1String(kCrLf) +
                                fromStd(outcome.status.message()),
                            QStringLiteral("Error"), ui::Dialogs::Icon::Critical,
                            ui::Dialogs::Buttons::Ok);
        return;
    }
    sheetState.titlesChanged = true;
    fa->refresh();
    ResultLoader();
    TreeView1->setCurrentItem(first);
    menus->action(QStringLiteral("mnuRefresh"))->setEnabled(true);
    desktop_.setPointer(ui::Desktop::Pointer::Default);
    SheetUpdate();
    fb->setRows(fa->cols() + 1);
    showLoaded(outcome);
}

// A result whose rows failed part way stays on the sheet as far as it was
// read; the user is told it is incomplete.
void frmMain::showLoaded(const db::RecordsetSink::Outcome& outcome) {
    if (outcome.status.isOk()) {
        return;
    }
    dialogs_.messageBox(QStringLiteral("The result is incomplete.") + QLatin1String(kCrLf) +
                            fromStd(outcome.status.message()),
                        QStringLiteral("Error"), ui::Dialogs::Icon::Critical,
                        ui::Dialogs::Buttons::Ok);
}

// Every database result gets its flag column. The commands that add one by
// hand are put away, so that a second flag column cannot be added.
void frmMain::ResultLoader() {
    db::FlagColumn::add(*fa, *fb, sheetState);
    menus->action(QStringLiteral("mnuAddFlagCol"))->setEnabled(false);
    Toolbar->button(QStringLiteral("Flag"))->setVisible(true);
}

void frmMain::AnalysisReset() {
    TabStrip1->setTabVisible(ui::TabStrip::ColumnStatistics, false);
    Toolbar->button(QStringLiteral("Barchart"))->setVisible(false);
    menus->action(QStringLiteral("mnuBarChart"))->setEnabled(false);
    Toolbar->setPressed(QStringLiteral("Statistics"), false);
    menus->action(QStringLiteral("mnuAnalysis"))->setEnabled(true);
}

void frmMain::reportRecordSourceError(const jet::Status& status) {
    dialogs_.messageBox(
        QStringLiteral("Invalid SQL statement.") + QLatin1String(kCrLf) + fromStd(status.message()),
        QStringLiteral("SQL Error"), ui::Dialogs::Icon::Critical, ui::Dialogs::Buttons::Ok);
}

void frmMain::TreeView1_GotFocus() {
    sheetState.lastFocusedPane = 4;
    menus->action(QStringLiteral("mnuEditCut"))->setEnabled(false);
}

void frmMain::TreeView1_DblClick() {
    const QString key = db::DatabaseTree::key(currentNode);
    if (!currentNode || key.startsWith(QLatin1Char('N')) || key.startsWith(QLatin1Char('Q'))) {
        return;
    }
    sql::SqlText::setCaret(*txtSQL, insertionPoint);
    sql::SqlText::replaceSelection(*txtSQL, QStringLiteral(" [%1] ").arg(currentNode->text(0)));
    txtSQL->setFocus();
}

void frmMain::mnuRefresh_Click() {
    desktop_.setPointer(ui::Desktop::Pointer::Busy);
    db::ScopedAction restore([this] { desktop_.setPointer(ui::Desktop::Pointer::Default); });
    if (openFileType != 1) {
        return;
    }
    const db::RecordsetSink::Outcome outcome = Data1.refresh();
    if (!outcome.replaced) {
        reportRecordSourceError(outcome.status);
        return;
    }
    // The refresh replaced the whole sheet, flag column included: it comes
    // back, so that the sheet and "flag column present" stay in step.
    ResultLoader();
    fa->refresh();
    showLoaded(outcome);
}

void frmMain::TreeView1_NodeClick(QTreeWidgetItem* node) {
    currentNode = node;
    const QString key = db::DatabaseTree::key(node);
    const db::TreeKeys::Kind kind = db::TreeKeys::kindOf(key);
    if (!node || kind == db::TreeKeys::Kind::Branch || kind == db::TreeKeys::Kind::Field) {
        cmdDeleteSQL->setEnabled(false);
        return;
    }
    desktop_.setPointer(ui::Desktop::Pointer::Busy);
    db::ScopedAction restore([this] { desktop_.setPointer(ui::Desktop::Pointer::Default); });
    const QString name = node->text(0);
    const std::string oldSource = Data1.recordSource();
    const jet::ParameterValues oldValues = Data1.parameterValues();
    db::RecordsetSink::Outcome outcome;
    if (kind == db::TreeKeys::Kind::Table) {
        if (!sqlUnlocked) {
            setSqlText(QStringLiteral("SELECT * \r\n  FROM [%1]").arg(name));
        }
        Data1.setRecordSource(name.toStdString());
        outcome = Data1.refresh();
        cmdDeleteSQL->setEnabled(false);
    } else {
        currentQueryName = name;
        if (!sqlUnlocked) {
            db::QueryDefinition* query =
                openDb ? openDb->queryDefs().find(name.toStdString()) : nullptr;
            setSqlText(query ? fromStd(query->sql()) : QString());
        }
        if (db::ModifyingTest::modifiesData(SqlText())) {
            dialogs_.messageBox(QStringLiteral("Query involves modifying data is not allowed."),
                                QStringLiteral("Query Error"), ui::Dialogs::Icon::Exclamation,
                                ui::Dialogs::Buttons::Ok);
            return;
        }
        outcome = showQuery(name);
        cmdDeleteSQL->setEnabled(true);
    }
    if (!outcome.replaced) {
        // The sheet and the flag state are as they were; so is Data1.
        if (oldValues.empty()) {
            Data1.setRecordSource(oldSource);
        } else {
            Data1.setRecordset(nullptr, oldSource, oldValues);
        }
        reportRecordSourceError(outcome.status);
        return;
    }
    showClickedResult(outcome);
}

// A query without parameters becomes the record source by name; one with
// parameters asks for each value in order and binds the opened record set.
db::RecordsetSink::Outcome frmMain::showQuery(const QString& name) {
    db::QueryDefinition* query = openDb ? openDb->queryDefs().find(name.toStdString()) : nullptr;
    if (!query || query->parameters().empty()) {
        Data1.setRecordSource(name.toStdString());
        return Data1.refresh();
    }
    jet::ParameterValues values;
    for (db::QueryDefinition::Parameter& p : query->parameters()) {
        p.value = dialogs_
                      .inputBox(QStringLiteral("Enter ") + fromStd(p.name),
                                QStringLiteral("Enter Parameter Value"), QString())
                      .toStdString();
        values.emplace_back(p.name, p.value);
    }
    auto records = query->openRecordset();
    if (!records) {
        return {records.status(), false};
    }
    Data1.setRecordset(std::move(records).value(), query->name(), std::move(values));
    return Data1.refresh();
}

void frmMain::showClickedResult(const db::RecordsetSink::Outcome& outcome) {
    ResultLoader();
    fa->refresh();
    fb->setRows(fa->cols() + 1);
    SheetUpdate();
    AnalysisReset();
    fs->setRows(3);
    desktop_.setPointer(ui::Desktop::Pointer::Default);
    sheetState.titlesChanged = true;
    sheetState.titlesBuilt = false;
    sheetState.flagColumn = 0;
    Toolbar->sizeBoxes()->txtRow->setText(QString::number(fa->rows() - 1));
    Toolbar->sizeBoxes()->txtCol->setText(QString::number(fa->cols()));
    showLoaded(outcome);
}

void frmMain::mnuNew_Click() {
    TreeView1->setVisible(false);
    VTPan->setVisible(true);
    TabStrip1->setTabVisible(ui::TabStrip::ColumnStatistics, false);
    setSqlText(QString());
    fa->clear();
    SheetUpdate();
    AnalysisReset();
    FileSheetSetUp();
}
