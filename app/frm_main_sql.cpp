// frmMain: the SQL box and its buttons. Run with its length and keyword
// tests, Clear, Lock and Unlock, and the box's own click, focus and key
// handlers that keep the insertion point. The text rules live in sql/.
#include <QAction>
#include <QEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/frm_main.h"
#include "db/event_hook.h"
#include "db/scoped_action.h"
#include "sheet/grid.h"
#include "sql/run_check.h"
#include "sql/sql_text.h"
#include "ui/dialogs.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"

void frmMain::connectSqlHandlers() {
    connect(cmdRun, &QPushButton::clicked, this, &frmMain::cmdRun_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmMain::cmdClear_Click);
    connect(cmdLockSQL, &QPushButton::clicked, this, &frmMain::cmdLockSQL_Click);
    connect(cmdUnlockSQL, &QPushButton::clicked, this, &frmMain::cmdUnlockSQL_Click);
    // Lock and Unlock share one place: while the text is locked, Unlock shows.
    TabStrip1->setControlShown(cmdLockSQL, false);
    TabStrip1->setControlShown(cmdUnlockSQL, true);
    auto* hook = new db::EventHook(this, [this](QObject* watched, QEvent* event) {
        if (watched == txtSQL && event->type() == QEvent::FocusIn) {
            txtSQL_GotFocus();
        } else if (watched == txtSQL && event->type() == QEvent::KeyPress) {
            txtSQL_KeyDown();
        } else if (watched == txtSQL->viewport() && event->type() == QEvent::MouseButtonRelease) {
            txtSQL_Click();
        }
        return false;
    });
    hook->watch(txtSQL);
    hook->watch(txtSQL->viewport());
}

QString frmMain::SqlText() const {
    return sql::SqlText::get(*txtSQL);
}

void frmMain::setSqlText(const QString& text) {
    sql::SqlText::set(*txtSQL, text);
}

void frmMain::cmdRun_Click() {
    const QString statement = SqlText();
    switch (sql::RunCheck::check(statement)) {
        case sql::RunCheck::Verdict::TooShort:
            dialogs_.messageBox(QStringLiteral("Invalid SQL statement.\r\n"),
                                QStringLiteral("SQL Error"), ui::Dialogs::Icon::Critical,
                                ui::Dialogs::Buttons::Ok);
            txtSQL->setFocus();
            return;
        case sql::RunCheck::Verdict::Modifying:
            dialogs_.messageBox(QStringLiteral("Query involves modifying data is not allowed."),
                                QStringLiteral("Query Error"), ui::Dialogs::Icon::Exclamation,
                                ui::Dialogs::Buttons::Ok);
            txtSQL->setFocus();
            return;
        case sql::RunCheck::Verdict::Run:
            break;
    }
    desktop_.setPointer(ui::Desktop::Pointer::Busy);
    db::ScopedAction restore([this] { desktop_.setPointer(ui::Desktop::Pointer::Default); });
    Data1.setRecordSource(statement.toStdString());
    const db::RecordsetSink::Outcome outcome = Data1.refresh();
    if (!outcome.replaced) {
        reportRecordSourceError(outcome.status);
        txtSQL->setFocus();
        return;
    }
    fa->refresh();
    ResultLoader();
    fb->setRows(fa->cols() + 1);
    SheetUpdate();
    SBar->setPanelText(2, QString());
    txtSQL->setFocus();
    showLoaded(outcome);
}

void frmMain::cmdClear_Click() {
    setSqlText(QString());
    SBar->setPanelText(2, QString());
    txtSQL->setFocus();
}

void frmMain::cmdUnlockSQL_Click() {
    TabStrip1->setControlShown(cmdLockSQL, true);
    TabStrip1->setControlShown(cmdUnlockSQL, false);
    sqlUnlocked = true;
    txtSQL->setFocus();
    SBar->setPanelText(2, QStringLiteral("SQL"));
}

void frmMain::cmdLockSQL_Click() {
    TabStrip1->setControlShown(cmdLockSQL, false);
    TabStrip1->setControlShown(cmdUnlockSQL, true);
    sqlUnlocked = false;
    txtSQL->setFocus();
    SBar->setPanelText(2, QString());
}

void frmMain::txtSQL_Click() {
    insertionPoint = sql::SqlText::caret(*txtSQL);
}

void frmMain::txtSQL_GotFocus() {
    sheetState.lastFocusedPane = 3;
    insertionPoint = sql::SqlText::caret(*txtSQL);
}

// Before the key takes effect: the point lies behind the character typed.
void frmMain::txtSQL_KeyDown() {
    insertionPoint = sql::SqlText::caret(*txtSQL) + 1;
}
