#include "sheet/sheet_update.h"

#include "sheet/column_types.h"
#include "sheet/form_view.h"
#include "sheet/grid.h"

namespace sheet {

namespace {
constexpr int kLeft = 1;
constexpr int kNoCheckBox = 0;
constexpr int kTicked = 1;
constexpr int kUnticked = 2;
}  // namespace

SheetUpdate::SheetUpdate(Grid& dataSheet, Grid& formView, SheetState& state, SheetUpdateView& view,
                         QPixmap blank)
    : dataSheet_(dataSheet),
      formView_(formView),
      state_(state),
      view_(view),
      blank_(std::move(blank)) {}

void SheetUpdate::run() {
    showStyles();
    if (!state_.titlesBuilt || state_.titlesChanged) {
        FormView::fillTitles(formView_, dataSheet_);
        state_.titlesBuilt = true;
    }
    fillValues();
    view_.showPosition(positionText(dataSheet_.row(), dataSheet_.rows()));
    view_.showColumnStatistics(dataSheet_.col());
    formView_.setRows(dataSheet_.cols() + 1);
}

void SheetUpdate::showStyles() {
    const int r = dataSheet_.row();
    const int c = dataSheet_.col();
    const bool valid = r >= 0 && c >= 0 && r < dataSheet_.rows() && c < dataSheet_.cols();
    state_.boldState = valid && dataSheet_.cell(CellSetting::Bold, r, c).toBool();
    state_.italicState = valid && dataSheet_.cell(CellSetting::Italic, r, c).toBool();
    state_.underlineState = valid && dataSheet_.cell(CellSetting::Underline, r, c).toBool();
    view_.showStyleButton(QStringLiteral("Bold"), state_.boldState);
    view_.showStyleButton(QStringLiteral("Italic"), state_.italicState);
    view_.showStyleButton(QStringLiteral("Underline"), state_.underlineState);
}

void SheetUpdate::fillValues() {
    const int columns = dataSheet_.cols();
    const int r = dataSheet_.row();
    if (r < 0 || r >= dataSheet_.rows()) {
        return;
    }
    // Without a data row the current row is the title row: the form view
    // shows blank values rather than the titles a second time. A filter that
    // hides every row leaves the current row hidden: blank too.
    const bool dataRow = r >= dataSheet_.fixedRows() && dataSheet_.isRowShown(r);
    // Grow first: a sheet wider than the form view would otherwise lose the
    // values of its last columns until the next update.
    if (formView_.rows() < columns + 1) {
        formView_.setRows(columns + 1);
    }
    for (int c = 0; c < columns; ++c) {
        const int fr = c + 1;
        formView_.setCell(CellSetting::Alignment, fr, 1, kLeft);
        const QString text = dataRow ? dataSheet_.textMatrix(r, c) : QString();
        if (dataSheet_.colDataType(c) != kBooleanType || !dataRow) {
            formView_.setCell(CellSetting::Checked, fr, 1, kNoCheckBox);
            formView_.setTextMatrix(fr, 1, text);
        } else {
            formView_.setTextMatrix(fr, 1, QString());
            formView_.setCell(CellSetting::Checked, fr, 1, isTrueText(text) ? kTicked : kUnticked);
        }
        const QPixmap picture = dataRow ? dataSheet_.cellPicture(r, c) : QPixmap();
        formView_.setCellPicture(fr, 1, fr, 1, picture.isNull() ? blank_ : picture);
    }
}

QString SheetUpdate::positionText(int currentRow, int rowCount) {
    return QStringLiteral("%1 / %2").arg(currentRow).arg(rowCount - 1);
}

bool SheetUpdate::isTrueText(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    bool ok = false;
    const double number = t.toDouble(&ok);
    return ok && number != 0;
}

}  // namespace sheet
