// frmMain: loading the window (Form_Load and SetDefaults).
#include <QAction>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include "app/frm_main.h"
#include "app/settings_file.h"
#include "app/window_placement.h"
#include "sheet/form_view.h"
#include "sheet/grid.h"
#include "sheet/grid_codes.h"
#include "ui/caption_panel.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/maker_info.h"
#include "ui/size_boxes.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"

namespace {

int wholeNumber(app::SettingsFile& settings, const char* section, const char* key) {
    return app::settingsWholeNumber(
        settings.GetINI(QString::fromLatin1(section), QString::fromLatin1(key)));
}

void readBoolean(app::SettingsFile& settings, const char* key, bool& field) {
    if (const auto value = app::settingsBoolean(
            settings.GetINI(QStringLiteral("OPTION"), QString::fromLatin1(key)))) {
        field = *value;
    }
}

}  // namespace

void frmMain::Form_Load() {
    vbarLeftLimit = kVBarLeftLimit;
    vbarRightMargin = kVBarRightMargin;
    hbarUpperLimit = kHBarUpperLimit;
    hbarBottomMargin = kHBarBottomMargin;
    SBar->setPanelText(1, QStringLiteral("%1 %2").arg(QString::fromLatin1(ui::kProductName),
                                                      QString::fromLatin1(ui::kProductVersion)));
    restoreGeometry();
    restoreOptions();
    placeInitialPanes();
    applyToolbarShown();
    applyAlternateColor();
    menus->action(QStringLiteral("mnuSQLtab"))->setVisible(false);
    TabStrip1->setTabVisible(ui::TabStrip::Sql, false);
    TabStrip1->setTabVisible(ui::TabStrip::Table, false);
    TabStrip1->hide();
    TabStrip1->show();
    SetDefaults();
    sheetState.flagPicture = ImgFlag[0];
    sheet::FormView::setUp(*fb, *fa, panes[ui::Pane::fb].width, sheetState.flagColumn);
    TabStrip1->setTabVisible(ui::TabStrip::ColumnStatistics, false);
    SetDragMode(false);
    SetMouseMode(0);
    fa->setMergeCells(3);
    Toolbar->button(QStringLiteral("Flag"))->setVisible(false);
    Toolbar->button(QStringLiteral("Barchart"))->setVisible(false);
    menus->action(QStringLiteral("mnuBarChart"))->setEnabled(false);
    Toolbar->sizeBoxes()->txtRow->setText(QStringLiteral("50"));
    Toolbar->sizeBoxes()->txtCol->setText(QStringLiteral("10"));
    loaded_ = true;
    Form_Resize();
    // A file named on the command line opens once the window is up.
    if (!startupFile.isEmpty()) {
        QTimer::singleShot(0, this, [this] { OpenFile(startupFile); });
    }
}

// TOP, LEFT, WIDTH and HEIGHT are the frame's, in twips.
void frmMain::restoreGeometry() {
    const int top = wholeNumber(settings_, "WINDOWS", "TOP");
    const int left = wholeNumber(settings_, "WINDOWS", "LEFT");
    const int width = wholeNumber(settings_, "WINDOWS", "WIDTH");
    const int height = wholeNumber(settings_, "WINDOWS", "HEIGHT");
    const QRect stored(toPixelsX(left), toPixelsY(top), toPixelsX(width), toPixelsY(height));
    const QRect frame = app::WindowPlacement::choose(stored, desktop_.screens());
    move(frame.topLeft());
    pendingOuterSize_ = frame.size();
    const QSize margins = frameGeometry().size() - geometry().size();
    resize(frame.size() - margins);
    frameCorrected_ = margins.width() > 0 || margins.height() > 0;
}

void frmMain::restoreOptions() {
    readBoolean(settings_, "TOOLBAR", toolbarShown);
    readBoolean(settings_, "SQLTAB", sqlTabShown);
    readBoolean(settings_, "ALTERNATECOLOR", alternateColorOn);
    readBoolean(settings_, "FIELDSSUBTREE", fieldsSubtree);
    lastOpenPath = settings_.GetINI(QStringLiteral("OPTION"), QStringLiteral("LASTOPENPATH"));
    sheetState.alternateColorOn = alternateColorOn;
}

// The splitters from the settings (0 or less: their defaults), the tops below
// the toolbar and the tab pages' shared origin.
void frmMain::placeInitialPanes() {
    const int T = toolbarShown ? toTwipsY(Toolbar->sizeHint().height()) : 0;
    panes = ui::initialPlacement(T, wholeNumber(settings_, "WINDOWS", "HBAR_TOP"),
                                 wholeNumber(settings_, "WINDOWS", "VBAR_LEFT"),
                                 sheet::FormView::kColumnWidth, sheet::FormView::kColumnWidth);
    panes[ui::Pane::fb].width = toTwipsX(fb->width());
    panes[ui::Pane::fb].height = toTwipsY(fb->height());
    applyPanes();
}

void frmMain::applyToolbarShown() {
    Toolbar->setVisible(toolbarShown);
    menus->action(QStringLiteral("mnuToolbar"))->setChecked(toolbarShown);
}

void frmMain::applyAlternateColor() {
    menus->action(QStringLiteral("mnuAlternateColor"))->setChecked(alternateColorOn);
    Toolbar->setPressed(QStringLiteral("AlternateColor"), alternateColorOn);
    fa->setBackColorAlternate(
        alternateColorOn ? kAlternateColor : sheet::fromQColor(palette().color(QPalette::Base)));
}

void frmMain::SetDefaults() {
    fa->setFixedRows(1);
    fa->setRows(50);
    fa->setCols(9);
    for (int c = 0; c < fa->cols(); ++c) {
        fa->setColWidth(c, 1500);
    }
    fa->setFixedCols(0);
    fa->setUserResizing(3);
    fa->setColAlignment(-1, sheet::Grid::kGeneralAlignment);
    fa->setGridLines(1);
    fa->setAutoSearch(0);
    fa->setColWidth(0, 410);
}
