#include "app/sheet_search.h"

#include <QAction>
#include <QLineEdit>
#include <QLocale>

#include "sheet/filter_row.h"
#include "sheet/find_bar.h"
#include "sheet/grid.h"
#include "sheet/grid_model.h"
#include "ui/menu_actions.h"

namespace app {

SheetSearch::SheetSearch(sheet::Grid& dataSheet, const ui::MenuActions& menus, QObject* parent)
    : QObject(parent), dataSheet_(dataSheet), menus_(menus) {
    findBar_ = new sheet::FindBar(dataSheet_);
    using Direction = sheet::SheetFind::Direction;
    connect(menus_.find, &QAction::triggered, this, &SheetSearch::openFind);
    connect(menus_.findNext, &QAction::triggered, this, [this] { find(Direction::Next); });
    connect(menus_.findPrevious, &QAction::triggered, this, [this] { find(Direction::Previous); });
    connect(findBar_, &sheet::FindBar::findNext, this, [this] { find(Direction::Next); });
    connect(findBar_, &sheet::FindBar::findPrevious, this, [this] { find(Direction::Previous); });
    connect(findBar_, &sheet::FindBar::wantedChanged, this, &SheetSearch::showHits);
    connect(findBar_, &sheet::FindBar::closed, this, [this] { dataSheet_.setFindHits({}, {}); });
    connect(menus_.filterRow, &QAction::toggled, this, &SheetSearch::setFilterRowShown);
    connect(&dataSheet_.filterRow(), &sheet::FilterRow::typed, this, &SheetSearch::applyFilter);
    // Conditions belong to columns by place: a moved column would take
    // another's condition.
    connect(&dataSheet_, &sheet::Grid::afterMoveColumn, this, &SheetSearch::reset);
}

sheet::TextMatcher SheetSearch::matcher() const {
    return sheet::TextMatcher(findBar_->text(), findBar_->options());
}

void SheetSearch::openFind() {
    findBar_->open();
    showHits();
}

void SheetSearch::showHits() {
    if (findBar_->isHidden()) {
        return;
    }
    const sheet::TextMatcher wanted = matcher();
    dataSheet_.setFindHits(findBar_->text(), findBar_->options());
    if (wanted.isEmpty()) {
        findBar_->showCount(QString());
        return;
    }
    const sheet::SheetFind finder(dataSheet_.gridModel()->store(), dataSheet_.fixedRows(),
                                  [this](int row) { return dataSheet_.isRowShown(row); });
    const long long hits = finder.count(wanted);
    findBar_->showCount(hits == 0 ? QStringLiteral("No hits")
                                  : QStringLiteral("%1 found").arg(QLocale::c().toString(hits)));
}

// Searching starts after the current cell and wraps round; a search with
// no hit leaves the current cell where it was.
void SheetSearch::find(sheet::SheetFind::Direction direction) {
    if (findBar_->isHidden()) {
        openFind();
    }
    const sheet::TextMatcher wanted = matcher();
    if (wanted.isEmpty()) {
        return;
    }
    const sheet::SheetFind finder(dataSheet_.gridModel()->store(), dataSheet_.fixedRows(),
                                  [this](int row) { return dataSheet_.isRowShown(row); });
    const auto hit = finder.find(wanted, {dataSheet_.row(), dataSheet_.col()}, direction);
    if (hit) {
        dataSheet_.goToCell(hit->row, hit->col);
        const QRect cell = dataSheet_.visualRect(dataSheet_.currentIndex());
        findBar_->keepClearOf(cell.translated(dataSheet_.viewport()->geometry().topLeft()));
    }
}

void SheetSearch::setFilterRowShown(bool shown) {
    if (!shown) {
        reset();
    }
    dataSheet_.setFilterRowShown(shown);
    if (menus_.filterRow->isChecked() != shown) {
        menus_.filterRow->setChecked(shown);
    }
    if (shown) {
        if (QWidget* box = dataSheet_.filterRow().box(std::max(dataSheet_.col(), 0))) {
            box->setFocus(Qt::ShortcutFocusReason);
        }
    }
}

void SheetSearch::applyFilter() {
    const int col = dataSheet_.col();
    filter_.clear();
    for (int c = 0; c < dataSheet_.cols(); ++c) {
        filter_.setCondition(c, dataSheet_.filterRow().text(c));
    }
    if (filter_.isActive()) {
        dataSheet_.showOnlyRows(
            filter_.shownRows(dataSheet_.gridModel()->store(), dataSheet_.fixedRows()));
        filteredCols_ = dataSheet_.cols();
    } else {
        dataSheet_.showAllRows();
    }
    // The view was rebuilt: the first shown row becomes current, in the
    // column the user was in.
    if (dataSheet_.shownDataRows() > 0) {
        const int first = dataSheet_.gridModel()->rowView().gridRow(0);
        dataSheet_.goToCell(first, col);
    }
    showHits();
    emit filterChanged();
}

void SheetSearch::reset() {
    dataSheet_.filterRow().clearTexts();
    const bool wasFiltered = filter_.isActive() || dataSheet_.isFiltered();
    filter_.clear();
    if (dataSheet_.isFiltered()) {
        dataSheet_.showAllRows();
    }
    showHits();
    if (wasFiltered) {
        emit filterChanged();
    }
}

void SheetSearch::afterShapeChange() {
    if (filter_.isActive() && dataSheet_.cols() != filteredCols_) {
        reset();
    } else {
        showHits();
    }
}

QString SheetSearch::shownText() const {
    if (!dataSheet_.isFiltered()) {
        return {};
    }
    return QStringLiteral("%1 / %2")
        .arg(dataSheet_.shownDataRows())
        .arg(std::max(0, dataSheet_.rows() - dataSheet_.fixedRows()));
}

}  // namespace app
