#include "sheet/sheet_update.h"

#include "sheet/form_view.h"
#include "sheet/grid.h"

namespace sheet {

namespace {
constexpr int kLeft = 1;
constexpr int kNoCheckBox = 0;
constexpr int kTicked = 1;
constexpr int kUnticked = 2;
}  // namespace

SheetUpdate::SheetUpdate(Grid& fa, Grid& fb, SheetState& state, SheetUpdateView& view,
                         QPixmap blank)
    : fa_(fa), fb_(fb), state_(state), view_(view), blank_(std::move(blank)) {}

void SheetUpdate::run() {
    showStyles();
    if (!state_.titlesBuilt || state_.titlesChanged) {
        FormView::fillTitles(fb_, fa_);
        state_.titlesBuilt = true;
    }
    fillValues();
    view_.showPosition(positionText(fa_.row(), fa_.rows()));
    view_.showColumnStatistics(fa_.col());
    fb_.setRows(fa_.cols() + 1);
}

void SheetUpdate::showStyles() {
    const int r = fa_.row();
    const int c = fa_.col();
    const bool valid = r >= 0 && c >= 0 && r < fa_.rows() && c < fa_.cols();
    state_.boldState = valid && fa_.cell(CellSetting::Bold, r, c).toBool();
    state_.italicState = valid && fa_.cell(CellSetting::Italic, r, c).toBool();
    state_.underlineState = valid && fa_.cell(CellSetting::Underline, r, c).toBool();
    view_.showStyleButton(QStringLiteral("Bold"), state_.boldState);
    view_.showStyleButton(QStringLiteral("Italic"), state_.italicState);
    view_.showStyleButton(QStringLiteral("Underline"), state_.underlineState);
}

void SheetUpdate::fillValues() {
    const int columns = fa_.cols();
    const int r = fa_.row();
    if (r < 0 || r >= fa_.rows()) {
        return;
    }
    // Grow first: a sheet wider than the form view would otherwise lose the
    // values of its last columns until the next update.
    if (fb_.rows() < columns + 1) {
        fb_.setRows(columns + 1);
    }
    for (int c = 0; c < columns; ++c) {
        const int fr = c + 1;
        fb_.setCell(CellSetting::Alignment, fr, 1, kLeft);
        const QString text = fa_.textMatrix(r, c);
        if (fa_.colDataType(c) != kBooleanType) {
            fb_.setCell(CellSetting::Checked, fr, 1, kNoCheckBox);
            fb_.setTextMatrix(fr, 1, text);
        } else {
            fb_.setTextMatrix(fr, 1, QString());
            fb_.setCell(CellSetting::Checked, fr, 1, isTrueText(text) ? kTicked : kUnticked);
        }
        const QPixmap picture = fa_.cellPicture(r, c);
        fb_.setCellPicture(fr, 1, fr, 1, picture.isNull() ? blank_ : picture);
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
