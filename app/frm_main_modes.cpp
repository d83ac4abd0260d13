// frmMain: the data sheet's mouse modes, drag mode, its pop-up menu and the
// "Rows" and "Cols" boxes. The boxes' rules live in ui::SizeBoxRules; these
// handlers apply an accepted count to the sheet and keep the menus, buttons
// and status panels in step.
#include <QAction>
#include <QLineEdit>
#include <QMenu>

#include <functional>

#include "app/frm_main.h"
#include "sheet/grid.h"
#include "ui/dialogs.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/size_box_rules.h"
#include "ui/size_boxes.h"
#include "ui/spin_buttons.h"
#include "ui/status_panels.h"

using ui::SizeBoxRules;

namespace {
QAction* entry(ui::MainMenus* menus, const char* name) {
    return menus->action(QString::fromLatin1(name));
}
constexpr int kEditPanel = 3;
constexpr int kDragPanel = 4;
}  // namespace

void frmMain::connectModeHandlers() {
    for (int i = 0; i < 2; ++i) {
        connect(menus->action(QStringLiteral("mnuMouseMode(%1)").arg(i)), &QAction::triggered, this,
                [this, i] { mnuMouseMode_Click(i); });
    }
    connect(entry(menus, "mnuDragDrop"), &QAction::triggered, this, &frmMain::mnuDragDrop_Click);
    connect(fa, &sheet::Grid::mouseUp, this, &frmMain::fa_MouseUp);
    ui::SizeBoxes* boxes = Toolbar->sizeBoxes();
    connect(boxes->txtRow, &QLineEdit::returnPressed, this, &frmMain::txtRow_Enter);
    connect(boxes->UpDownRow, &ui::SpinButtons::downClicked, this, &frmMain::UpDownRow_DownClick);
    connect(boxes->UpDownRow, &ui::SpinButtons::upClicked, this, &frmMain::UpDownRow_UpClick);
    connect(boxes->txtCol, &QLineEdit::returnPressed, this, &frmMain::txtCol_Enter);
    connect(boxes->UpDownCol, &ui::SpinButtons::downClicked, this, &frmMain::UpDownCol_DownClick);
    connect(boxes->UpDownCol, &ui::SpinButtons::upClicked, this, &frmMain::UpDownCol_UpClick);
}

void frmMain::SetMouseMode(int index) {
    QAction* rowMode = entry(menus, "mnuMouseMode(0)");
    QAction* blockMode = entry(menus, "mnuMouseMode(1)");
    QAction* setFlag = entry(menus, "mnuPUSetFlag");
    if (index == 1) {
        rowMode->setChecked(false);
        blockMode->setChecked(true);
        Toolbar->setPressed(QStringLiteral("BlockMode"), true);
        SBar->setPanelText(kEditPanel, QStringLiteral("EDIT"));
        fa->setSelectionModeCode(sheet::Grid::SelectFree);
        fa->setAutoSearch(0);
        setFlag->setEnabled(false);
    } else if (index == 0) {
        rowMode->setChecked(true);
        blockMode->setChecked(false);
        Toolbar->setPressed(QStringLiteral("RowMode"), true);
        SBar->setPanelText(kEditPanel, QString());
        fa->setSelectionModeCode(sheet::Grid::SelectListBox);
        fa->setAutoSearch(2);
        fa->select(fa->row(), 0, fa->row(), fa->cols() - 1);
        setFlag->setEnabled(true);
    }
}

// The entry has flipped its own check mark; the sheet follows it.
void frmMain::mnuDragDrop_Click() {
    SetDragMode(entry(menus, "mnuDragDrop")->isChecked());
}

void frmMain::SetDragMode(bool on) {
    entry(menus, "mnuDragDrop")->setChecked(on);
    fa->setOleDragMode(on ? 1 : 0);
    Toolbar->setPressed(QStringLiteral("DragMode"), on);
    SBar->setPanelText(kDragPanel, on ? QStringLiteral("DRAG") : QString());
}

// "Set Flag" is offered only while the sheet has its flag column, which is
// exactly while "Add Flag Column" is disabled.
void frmMain::fa_MouseUp(Qt::MouseButton button, const QPoint& globalPos) {
    if (button != Qt::RightButton) {
        return;
    }
    const bool flagColumn = !entry(menus, "mnuAddFlagCol")->isEnabled();
    entry(menus, "mnuPUSetFlag")->setVisible(flagColumn);
    entry(menus, "mnuPUSpace3")->setVisible(flagColumn);
    menus->gridPopup()->popup(globalPos);
}

namespace {

// Refusals leave the sheet as it is and put its count back into the box, so
// the box never claims a size the sheet does not have.
bool applyBox(SizeBoxRules::Box box, QLineEdit* text, int currentCount, ui::Dialogs& dialogs,
              const std::function<void(int)>& resize) {
    const SizeBoxRules::Reading reading = SizeBoxRules::read(box, text->text());
    if (reading.verdict == SizeBoxRules::Verdict::TooBig) {
        dialogs.messageBox(SizeBoxRules::tooBigMessage(box), SizeBoxRules::title(box),
                           ui::Dialogs::Icon::Exclamation, ui::Dialogs::Buttons::Ok);
    }
    if (reading.verdict != SizeBoxRules::Verdict::Apply) {
        text->setText(QString::number(currentCount));
        return false;
    }
    text->setText(reading.shown);
    resize(reading.count);
    return true;
}

// A spin button's step: the box's number one up or down, within its rule.
void stepBox(QLineEdit* box, SizeBoxRules::Box kind, bool up) {
    box->setText(up ? SizeBoxRules::stepUp(kind, box->text())
                    : SizeBoxRules::stepDown(kind, box->text()));
}

}  // namespace

// A resized sheet gets the sheet update like any other reshaping, so the
// status bar's row count and the form view follow the new size.
bool frmMain::applyRowsBox() {
    return applyBox(SizeBoxRules::Box::Rows, Toolbar->sizeBoxes()->txtRow, fa->rows() - 1, dialogs_,
                    [this](int dataRows) {
                        fa->setRows(dataRows + 1);
                        SheetUpdate();
                    });
}

bool frmMain::applyColsBox() {
    return applyBox(SizeBoxRules::Box::Cols, Toolbar->sizeBoxes()->txtCol, fa->cols(), dialogs_,
                    [this](int cols) {
                        fa->setCols(cols);
                        fb->setRows(fa->cols() + 1);
                        sheetState.titlesBuilt = false;
                        SheetUpdate();
                    });
}

void frmMain::txtRow_Enter() {
    applyRowsBox();
}

void frmMain::UpDownRow_DownClick() {
    stepBox(Toolbar->sizeBoxes()->txtRow, SizeBoxRules::Box::Rows, false);
    applyRowsBox();
}

void frmMain::UpDownRow_UpClick() {
    stepBox(Toolbar->sizeBoxes()->txtRow, SizeBoxRules::Box::Rows, true);
    applyRowsBox();
}

void frmMain::txtCol_Enter() {
    applyColsBox();
}

void frmMain::UpDownCol_DownClick() {
    stepBox(Toolbar->sizeBoxes()->txtCol, SizeBoxRules::Box::Cols, false);
    applyColsBox();
}

void frmMain::UpDownCol_UpClick() {
    stepBox(Toolbar->sizeBoxes()->txtCol, SizeBoxRules::Box::Cols, true);
    applyColsBox();
}
