// Formatting and the font colour palette in the real main window, driven by
// mouse clicks on the sheet, the toolbar's buttons and the menus' entries:
// bold, italic and underline over the style range of either mouse mode and
// kept in step with their buttons; column formats from both menus; alternate
// row colour and merging from menu and button; the palette dropping down,
// colouring the range, marking its swatch and the "A" button's picture.
#include <QAction>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "sheet/grid.h"
#include "sheet/grid_model.h"
#include "sheet/grid_roles.h"
#include "sheet_driving.h"
#include "ui/color_palette.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/toolbar_icons.h"
#include "window_fixture.h"

using sheet::CellSetting;

namespace {

// Colours as red + 256 green + 65536 blue.
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kDarkGreen = 0x008000;
constexpr uint32_t kDarkBlue = 0x800000;

QImage iconImage(const QIcon& icon) {
    return icon.pixmap(QSize(20, 20)).toImage();
}

}  // namespace

class FrmMainFormatTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    // Styles.
    void boldInRowModeTakesWholeRowsAndClearsAgain();
    void boldCellShowsPressedAndTheButtonClears();
    void stylesInBlockModeTakeTheBlock_data();
    void stylesInBlockModeTakeTheBlock();
    // Column formats, alternate rows, merging.
    void columnFormatEntriesFormatTheCurrentColumn();
    void formattedNumbersShowTheirPicture();
    void alternateColorMenuAndButtonStayInStep();
    void mergeMenuAndButtonFlipTheCurrentColumn();
    // Palette.
    void setFontColorDropsThePaletteDown();
    void backgroundClickClosesWithoutChoice();
    void swatchInBlockModeColoursTheBlock();
    void swatchInRowModeColoursWholeRows();
    void onlyTheChosenSwatchIsSunken();
    void currentColorButtonReappliesTheChoice();

  private:
    void press(const char* key);
    void chooseSwatch(int i);
    void selectBlock(int row1, int col1, int row2, int col2);
    // Whether the cells styled with `style` are exactly those of the block.
    bool styledExactly(CellSetting style, int row1, int col1, int row2, int col2) const;
    bool coloredExactly(uint32_t color, int row1, int col1, int row2, int col2) const;
    QAction* entry(const QString& name) const { return w_->menus().action(name); }

    std::unique_ptr<ToolbarWindowRun> window_;
    app::MainWindow* w_ = nullptr;
};

void FrmMainFormatTest::init() {
    window_ = std::make_unique<ToolbarWindowRun>();
    w_ = &window_->window();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    fillSheet(*w_->controls().dataSheet, 9);
}

void FrmMainFormatTest::cleanup() {
    window_.reset();
}

// A click on the button's own widget, as a user does it.
void FrmMainFormatTest::press(const char* key) {
    QAction* action = w_->controls().toolbar->button(QString::fromLatin1(key));
    QVERIFY2(action, key);
    QWidget* button = w_->controls().toolbar->widgetForAction(action);
    QVERIFY2(button && button->isVisible(), key);
    QTest::mouseClick(button, Qt::LeftButton);
}

void FrmMainFormatTest::chooseSwatch(int i) {
    press("Acolor");
    QVERIFY(w_->controls().fontPalette->isVisible());
    QTest::mouseClick(w_->controls().fontPalette->swatch(i), Qt::LeftButton);
}

void FrmMainFormatTest::selectBlock(int row1, int col1, int row2, int col2) {
    clickCell(*w_->controls().dataSheet, row1, col1);
    clickCell(*w_->controls().dataSheet, row2, col2, Qt::ShiftModifier);
}

bool FrmMainFormatTest::styledExactly(CellSetting style, int row1, int col1, int row2,
                                      int col2) const {
    const sheet::Grid& fa = *w_->controls().dataSheet;
    for (int r = 0; r < fa.rows(); ++r) {
        for (int c = 0; c < fa.cols(); ++c) {
            const bool inside = r >= row1 && r <= row2 && c >= col1 && c <= col2;
            if (fa.cell(style, r, c).toBool() != inside) {
                qWarning("cell %d,%d differs", r, c);
                return false;
            }
        }
    }
    return true;
}

bool FrmMainFormatTest::coloredExactly(uint32_t color, int row1, int col1, int row2,
                                       int col2) const {
    const sheet::Grid& fa = *w_->controls().dataSheet;
    for (int r = 0; r < fa.rows(); ++r) {
        for (int c = 0; c < fa.cols(); ++c) {
            const bool inside = r >= row1 && r <= row2 && c >= col1 && c <= col2;
            if ((fa.cell(CellSetting::ForeColor, r, c).toUInt() == color) != inside) {
                qWarning("cell %d,%d differs", r, c);
                return false;
            }
        }
    }
    return true;
}

void FrmMainFormatTest::boldInRowModeTakesWholeRowsAndClearsAgain() {
    QVERIFY(entry("mnuMouseMode(0)")->isChecked());
    selectBlock(4, 3, 6, 3);
    press("Bold");
    QVERIFY(styledExactly(CellSetting::Bold, 4, 0, 6, w_->controls().dataSheet->cols() - 1));
    QVERIFY(w_->controls().toolbar->isPressed("Bold"));
    QVERIFY(w_->sheetState().boldState);
    press("Bold");
    QVERIFY(styledExactly(CellSetting::Bold, 1, 0, 0, 0));  // none
    QVERIFY(!w_->controls().toolbar->isPressed("Bold"));
    QVERIFY(!w_->sheetState().boldState);
    QCOMPARE(w_->controls().dataSheet->textMatrix(5, 0), QStringLiteral("r5c0"));
}

void FrmMainFormatTest::boldCellShowsPressedAndTheButtonClears() {
    entry("mnuMouseMode(1)")->trigger();
    w_->controls().dataSheet->setCell(CellSetting::Bold, 2, 3, 2, 4, true);
    clickCell(*w_->controls().dataSheet, 5, 1);
    QVERIFY(!w_->controls().toolbar->isPressed("Bold"));
    selectBlock(2, 3, 2, 4);
    QVERIFY(w_->controls().toolbar->isPressed("Bold"));
    // The click flips the button's look up; the remembered state says bold,
    // so bold is cleared and the button stays up.
    press("Bold");
    QVERIFY(styledExactly(CellSetting::Bold, 1, 0, 0, 0));
    QVERIFY(!w_->controls().toolbar->isPressed("Bold"));
}

void FrmMainFormatTest::stylesInBlockModeTakeTheBlock_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("style");
    QTest::newRow("italic") << QStringLiteral("Italic") << int(CellSetting::Italic);
    QTest::newRow("underline") << QStringLiteral("Underline") << int(CellSetting::Underline);
    QTest::newRow("bold") << QStringLiteral("Bold") << int(CellSetting::Bold);
}

void FrmMainFormatTest::stylesInBlockModeTakeTheBlock() {
    QFETCH(QString, key);
    QFETCH(int, style);
    entry("mnuMouseMode(1)")->trigger();
    QVERIFY(w_->controls().toolbar->isPressed("BlockMode"));
    selectBlock(5, 4, 3, 2);  // dragged up and to the left
    press(key.toLatin1().constData());
    QVERIFY(styledExactly(CellSetting(style), 3, 2, 5, 4));
    QVERIFY(w_->controls().toolbar->isPressed(key));
    for (const char* other : {"Bold", "Italic", "Underline"}) {
        if (key != QLatin1String(other)) {
            QVERIFY2(!w_->controls().toolbar->isPressed(other), other);
        }
    }
}

void FrmMainFormatTest::columnFormatEntriesFormatTheCurrentColumn() {
    const QStringList names{"mnuFormat0",
                            "mnuFormat00",
                            "mnuFormatComma",
                            "mnuFormatComma00",
                            "mnuFormatDollarComma",
                            "mnuFormatDollarComma00",
                            "mnuPU0",
                            "mnuPU000",
                            "mnuPUComma",
                            "mnuPUComma00",
                            "mnuPUDollarComma",
                            "mnuPUDollarComma00"};
    for (int i = 0; i < names.size(); ++i) {
        const int col = i % w_->controls().dataSheet->cols();
        clickCell(*w_->controls().dataSheet, 2, col);
        QAction* action = entry(names[i]);
        QVERIFY2(action, qPrintable(names[i]));
        QStringList before;
        for (int c = 0; c < w_->controls().dataSheet->cols(); ++c) {
            before << w_->controls().dataSheet->colFormat(c);
        }
        action->trigger();
        // The entry's caption is the format it sets.
        QCOMPARE(w_->controls().dataSheet->colFormat(col), action->text());
        for (int c = 0; c < w_->controls().dataSheet->cols(); ++c) {
            if (c != col) {
                QCOMPARE(w_->controls().dataSheet->colFormat(c), before[c]);
            }
        }
    }
}

void FrmMainFormatTest::formattedNumbersShowTheirPicture() {
    w_->controls().dataSheet->setTextMatrix(2, 1, QStringLiteral("1234.5"));
    clickCell(*w_->controls().dataSheet, 3, 1);
    entry("mnuFormatDollarComma00")->trigger();
    const auto shown = [this](int row, int col) {
        return w_->controls()
            .dataSheet->model()
            ->index(row - 1, col)
            .data(Qt::DisplayRole)
            .toString();
    };
    QCOMPARE(shown(2, 1), QStringLiteral("$1,234.50"));
    QCOMPARE(shown(3, 1), QStringLiteral("r3c1"));  // text shows unchanged
    QCOMPARE(w_->controls().dataSheet->textMatrix(2, 1), QStringLiteral("1234.5"));
}

void FrmMainFormatTest::alternateColorMenuAndButtonStayInStep() {
    QAction* menu = entry("mnuAlternateColor");
    QVERIFY(!menu->isChecked());
    menu->trigger();
    QVERIFY(menu->isChecked());
    QVERIFY(w_->controls().toolbar->isPressed("AlternateColor"));
    QCOMPARE(w_->controls().dataSheet->backColorAlternate(), uint32_t(sheet::kAlternateRowColor));
    QVERIFY(w_->sheetState().alternateColorOn);
    press("AlternateColor");
    QVERIFY(!menu->isChecked());
    QVERIFY(!w_->controls().toolbar->isPressed("AlternateColor"));
    QVERIFY(w_->controls().dataSheet->backColorAlternate() != sheet::kAlternateRowColor);
    QVERIFY(!w_->sheetState().alternateColorOn);
    press("AlternateColor");
    QVERIFY(menu->isChecked());
    QCOMPARE(w_->controls().dataSheet->backColorAlternate(), uint32_t(sheet::kAlternateRowColor));
    menu->trigger();
    QVERIFY(!w_->controls().toolbar->isPressed("AlternateColor"));
    QVERIFY(!w_->sheetState().alternateColorOn);
}

void FrmMainFormatTest::mergeMenuAndButtonFlipTheCurrentColumn() {
    for (int r = 3; r <= 5; ++r) {
        w_->controls().dataSheet->setTextMatrix(r, 2, QStringLiteral("same"));
    }
    const auto mergesAbove = [this](int row) {
        return w_->controls()
            .dataSheet->model()
            ->index(row - 1, 2)
            .data(sheet::MergeAboveRole)
            .toBool();
    };
    QVERIFY(!mergesAbove(4));
    clickCell(*w_->controls().dataSheet, 7, 2);
    entry("mnuMerge")->trigger();
    QVERIFY(w_->controls().dataSheet->colMerge(2));
    QVERIFY(mergesAbove(4) && mergesAbove(5));
    QVERIFY(!mergesAbove(3) && !mergesAbove(6));
    for (int c = 0; c < w_->controls().dataSheet->cols(); ++c) {
        QCOMPARE(w_->controls().dataSheet->colMerge(c), c == 2);
    }
    press("Merge");
    QVERIFY(!w_->controls().dataSheet->colMerge(2));
    QVERIFY(!mergesAbove(4));
}

void FrmMainFormatTest::setFontColorDropsThePaletteDown() {
    QVERIFY(!w_->controls().fontPalette->isVisible());
    press("Acolor");
    QVERIFY(w_->controls().fontPalette->isVisible());
    // It stays open while the user works elsewhere.
    clickCell(*w_->controls().dataSheet, 3, 3);
    QVERIFY(w_->controls().fontPalette->isVisible());
    QCOMPARE(w_->formatting().currentColor(), 0);
}

void FrmMainFormatTest::backgroundClickClosesWithoutChoice() {
    const QImage before = iconImage(w_->controls().toolbar->button("A")->icon());
    clickCell(*w_->controls().dataSheet, 3, 3);
    press("Acolor");
    QTest::mouseClick(w_->controls().fontPalette, Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(!w_->controls().fontPalette->isVisible());
    QCOMPARE(w_->formatting().currentColor(), 0);
    QCOMPARE(iconImage(w_->controls().toolbar->button("A")->icon()), before);
    for (int i = 0; i < ui::ColorPalette::kSwatchCount; ++i) {
        QCOMPARE(w_->controls().fontPalette->bevel(i), 2);
    }
    QVERIFY(coloredExactly(kRed, 1, 0, 0, 0));  // nothing red anywhere
}

void FrmMainFormatTest::swatchInBlockModeColoursTheBlock() {
    entry("mnuMouseMode(1)")->trigger();
    selectBlock(2, 3, 3, 5);
    chooseSwatch(1);
    QVERIFY(!w_->controls().fontPalette->isVisible());
    QVERIFY(coloredExactly(kRed, 2, 3, 3, 5));
    QCOMPARE(w_->formatting().currentColor(), 1);
    QCOMPARE(iconImage(w_->controls().toolbar->button("A")->icon()),
             iconImage(ui::ToolbarIcons::fontColor(1)));
    QVERIFY(iconImage(ui::ToolbarIcons::fontColor(1)) != iconImage(ui::ToolbarIcons::fontColor(0)));
}

void FrmMainFormatTest::swatchInRowModeColoursWholeRows() {
    selectBlock(3, 4, 5, 4);
    chooseSwatch(4);
    QVERIFY(coloredExactly(kDarkBlue, 3, 0, 5, w_->controls().dataSheet->cols() - 1));
    QCOMPARE(w_->formatting().currentColor(), 4);
}

void FrmMainFormatTest::onlyTheChosenSwatchIsSunken() {
    clickCell(*w_->controls().dataSheet, 2, 2);
    chooseSwatch(2);
    for (int i = 0; i < ui::ColorPalette::kSwatchCount; ++i) {
        QCOMPARE(w_->controls().fontPalette->bevel(i), i == 2 ? 1 : 2);
    }
    chooseSwatch(5);
    for (int i = 0; i < ui::ColorPalette::kSwatchCount; ++i) {
        QCOMPARE(w_->controls().fontPalette->bevel(i), i == 5 ? 1 : 2);
    }
}

void FrmMainFormatTest::currentColorButtonReappliesTheChoice() {
    clickCell(*w_->controls().dataSheet, 2, 2);
    chooseSwatch(3);
    QVERIFY(coloredExactly(kDarkGreen, 2, 0, 2, w_->controls().dataSheet->cols() - 1));
    clickCell(*w_->controls().dataSheet, 7, 1);
    press("A");
    QVERIFY(!w_->controls().fontPalette->isVisible());
    QCOMPARE(w_->controls().dataSheet->cell(CellSetting::ForeColor, 7, 0).toUInt(), kDarkGreen);
    QCOMPARE(w_->controls().dataSheet->cell(CellSetting::ForeColor, 7, 8).toUInt(), kDarkGreen);
    QVERIFY(w_->controls().dataSheet->cell(CellSetting::ForeColor, 6, 0).toUInt() != kDarkGreen);
}

QTEST_MAIN(FrmMainFormatTest)
#include "tst_frm_main_format.moc"
