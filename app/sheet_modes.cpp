#include "app/sheet_modes.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

#include <functional>

#include "sheet/flag_column_controller.h"
#include "sheet/grid.h"
#include "sheet/sheet_update.h"
#include "ui/dialogs.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/menu_actions.h"
#include "ui/size_box_rules.h"
#include "ui/size_boxes.h"
#include "ui/spin_buttons.h"
#include "ui/status_panels.h"
#include "ui/window_controls.h"

using ui::SizeBoxRules;

namespace app {

namespace {

constexpr int kEditPanel = 3;
constexpr int kDragPanel = 4;

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

SheetModes::SheetModes(const ui::WindowControls& controls, const ui::MainMenus& menus,
                       const ui::MenuActions& actions, const sheet::FlagColumnController& flags,
                       sheet::SheetState& state, ui::Dialogs& dialogs, QObject* parent)
    : QObject(parent),
      controls_(controls),
      menus_(menus),
      actions_(actions),
      flags_(flags),
      state_(state),
      dialogs_(dialogs),
      rowsBox_(controls.toolbar->sizeBoxes()->rowsBox),
      colsBox_(controls.toolbar->sizeBoxes()->colsBox) {
    connectControls();
}

void SheetModes::connectControls() {
    connect(actions_.rowMode, &QAction::triggered, this,
            [this] { setMouseMode(MouseMode::RowAndFind); });
    connect(actions_.blockMode, &QAction::triggered, this,
            [this] { setMouseMode(MouseMode::BlockAndEdit); });
    // The entry has flipped its own check mark; the sheet follows it.
    connect(actions_.dragMode, &QAction::triggered, this,
            [this] { setDragMode(actions_.dragMode->isChecked()); });
    connect(controls_.dataSheet, &sheet::Grid::mouseUp, this, &SheetModes::onMouseUp);
    ui::SizeBoxes* boxes = controls_.toolbar->sizeBoxes();
    connect(rowsBox_, &QLineEdit::returnPressed, this, &SheetModes::applyRowsBox);
    connect(boxes->rowsSpin, &ui::SpinButtons::downClicked, this, [this] { stepRows(false); });
    connect(boxes->rowsSpin, &ui::SpinButtons::upClicked, this, [this] { stepRows(true); });
    connect(colsBox_, &QLineEdit::returnPressed, this, &SheetModes::applyColsBox);
    connect(boxes->colsSpin, &ui::SpinButtons::downClicked, this, [this] { stepCols(false); });
    connect(boxes->colsSpin, &ui::SpinButtons::upClicked, this, [this] { stepCols(true); });
}

void SheetModes::setMouseMode(MouseMode mode) {
    sheet::Grid& sheet = *controls_.dataSheet;
    const ui::ToolbarButtons& buttons = controls_.toolbar->buttons();
    const bool block = mode == MouseMode::BlockAndEdit;
    actions_.rowMode->setChecked(!block);
    actions_.blockMode->setChecked(block);
    (block ? buttons.blockMode : buttons.rowMode)->setChecked(true);
    controls_.statusPanels->setPanelText(kEditPanel, block ? QStringLiteral("EDIT") : QString());
    if (block) {
        sheet.setSelectionModeCode(sheet::Grid::SelectFree);
        sheet.setAutoSearch(0);
    } else {
        sheet.setSelectionModeCode(sheet::Grid::SelectListBox);
        sheet.setAutoSearch(2);
        sheet.select(sheet.row(), 0, sheet.row(), sheet.cols() - 1);
    }
    actions_.popupSetFlag->setEnabled(!block);
}

void SheetModes::setDragMode(bool on) {
    actions_.dragMode->setChecked(on);
    controls_.dataSheet->setOleDragMode(on ? 1 : 0);
    controls_.toolbar->buttons().dragMode->setChecked(on);
    controls_.statusPanels->setPanelText(kDragPanel, on ? QStringLiteral("DRAG") : QString());
}

// "Set Flag" is offered only while the sheet has its flag column.
void SheetModes::onMouseUp(Qt::MouseButton button, const QPoint& globalPos) {
    if (button != Qt::RightButton) {
        return;
    }
    const bool flagColumn = flags_.shownPresent();
    actions_.popupSetFlag->setVisible(flagColumn);
    actions_.popupFlagSeparator->setVisible(flagColumn);
    menus_.gridPopup()->popup(globalPos);
}

void SheetModes::showSheetSize() {
    rowsBox_->setText(QString::number(controls_.dataSheet->rows() - 1));
    showColumnCount();
}

void SheetModes::showColumnCount() {
    colsBox_->setText(QString::number(controls_.dataSheet->cols()));
}

// A resized sheet gets the sheet update like any other reshaping, so the
// status bar's row count and the form view follow the new size.
bool SheetModes::applyRowsBox() {
    sheet::Grid& sheet = *controls_.dataSheet;
    return applyBox(SizeBoxRules::Box::Rows, rowsBox_, sheet.rows() - 1, dialogs_,
                    [this, &sheet](int dataRows) {
                        sheet.setRows(dataRows + 1);
                        emit sheetResized();
                    });
}

bool SheetModes::applyColsBox() {
    sheet::Grid& sheet = *controls_.dataSheet;
    return applyBox(SizeBoxRules::Box::Cols, colsBox_, sheet.cols(), dialogs_,
                    [this, &sheet](int cols) {
                        sheet.setCols(cols);
                        controls_.formView->setRows(sheet.cols() + 1);
                        state_.titlesBuilt = false;
                        emit sheetResized();
                    });
}

void SheetModes::stepRows(bool up) {
    stepBox(rowsBox_, SizeBoxRules::Box::Rows, up);
    applyRowsBox();
}

void SheetModes::stepCols(bool up) {
    stepBox(colsBox_, SizeBoxRules::Box::Cols, up);
    applyColsBox();
}

}  // namespace app
