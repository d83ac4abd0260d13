#include "sheet/flag_column_controller.h"

#include <QAction>

#include "sheet/flag_commands.h"
#include "sheet/grid.h"
#include "sheet/sheet_update.h"

namespace sheet {

FlagColumnController::FlagColumnController(Grid& dataSheet, Grid& formView, SheetState& state,
                                           QAction& addEntry, QAction& flagButton, QPixmap blank,
                                           QObject* parent)
    : QObject(parent),
      dataSheet_(dataSheet),
      formView_(formView),
      state_(state),
      addEntry_(addEntry),
      flagButton_(flagButton),
      blank_(std::move(blank)) {
    connect(&dataSheet_, &Grid::doubleClickedCell, this, &FlagColumnController::toggleCurrentRow);
    connect(&dataSheet_, &Grid::afterUserResize, this, &FlagColumnController::afterColumnResized);
}

// The entry is put away while the column is there, so that a second flag
// column cannot be added.
void FlagColumnController::show(bool present) {
    addEntry_.setEnabled(!present);
    flagButton_.setVisible(present);
}

bool FlagColumnController::shownPresent() const {
    return !addEntry_.isEnabled();
}

void FlagColumnController::addToResult() {
    FlagCommands(dataSheet_, formView_, state_, blank_).addColumn();
    show(true);
}

void FlagColumnController::addByHand() {
    if (state_.flagColumnPresent) {
        return;
    }
    FlagCommands(dataSheet_, formView_, state_, blank_).addColumn();
    show(true);
    state_.titlesBuilt = false;
    emit columnsChanged();
    emit flagsChanged();
}

void FlagColumnController::startWithout() {
    show(false);
    state_.flagColumnPresent = false;
}

void FlagColumnController::removeForSave() {
    if (!state_.flagColumnPresent) {
        return;
    }
    dataSheet_.setColPosition(state_.flagColumn, dataSheet_.cols() - 1);
    dataSheet_.setCols(dataSheet_.cols() - 1);
    startWithout();
    emit columnsChanged();
}

void FlagColumnController::deletedByUser() {
    show(false);
}

void FlagColumnController::followState() {
    show(state_.flagColumnPresent);
}

void FlagColumnController::toggleCurrentRow() {
    if (FlagCommands(dataSheet_, formView_, state_, blank_).toggleCurrentRow()) {
        emit flagsChanged();
    }
}

void FlagColumnController::toggleSelectedRows() {
    if (FlagCommands(dataSheet_, formView_, state_, blank_).toggleSelectedRows() > 0) {
        emit flagsChanged();
    }
}

void FlagColumnController::afterColumnMoved() {
    FlagCommands(dataSheet_, formView_, state_, blank_).refindColumn();
}

void FlagColumnController::afterColumnResized() {
    FlagCommands(dataSheet_, formView_, state_, blank_).keepWidth();
}

}  // namespace sheet
