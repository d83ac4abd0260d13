// Flags and sorting in the real main window, driven by mouse gestures on the
// sheet and its titles, the menus' entries and the toolbar: the flag column
// added by its entry, a row flipped by a double-click, the selected rows set
// by "Set Flag" and the "Flag" button, the flag column found again after a
// title drag and kept at its width after a border drag; sort markers on the
// sorted title only, turned by a second click, cleared by a column move.
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTest>

#include "sheet/grid.h"
#include "sheet_driving.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "window_fixture.h"

using sheet::CellSetting;

namespace {

constexpr int kDataRows = 9;
constexpr int kFlagWidth = 410;  // twips

QPoint titleCentre(sheet::Grid& grid, int col) {
    QHeaderView* header = grid.horizontalHeader();
    return QPoint(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                  header->height() / 2);
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, target->mapToGlobal(pos),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Press at `from`, move there in steps, let go at `to`: a title drag or a
// border drag, depending on where it starts.
void drag(QWidget* target, QPoint from, QPoint to) {
    sendMouse(target, QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (int step = 1; step <= 10; ++step) {
        sendMouse(target, QEvent::MouseMove, from + (to - from) * step / 10, Qt::LeftButton);
    }
    sendMouse(target, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

}  // namespace

class FrmMainFlagsTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    // Flags.
    void doubleClickWithoutFlagColumnChangesNothing();
    void addFlagColumnEntryPutsItFirst();
    void doubleClickFlipsTheRow();
    void setFlagGivesSelectedRowsTheOppositeOfCurrent();
    void flagButtonActsOnSelectedRows();
    void flagColumnFollowsATitleDrag();
    void firstFlagTitleFromTheLeftWins();
    void flagColumnKeepsItsWidthAfterABorderDrag();
    // Sorting.
    void markerOnlyOnTheSortedTitle();
    void secondClickTurnsTheMarker();
    void columnMoveClearsBothMarkers();
    void sortingByFlagColumnGroupsFlaggedRows();

  private:
    void addFlagColumn();
    void clickCell(int row, int col, Qt::KeyboardModifiers keys = {});
    void doubleClickCell(int row, int col);
    void clickTitle(int col);
    void dragTitle(int col, int position);
    bool flagged(int row) const;
    bool formViewShowsFlag() const;
    // "U", "D" or "" for the picture of column col's title.
    QString marker(int col) const;
    QAction* entry(const char* name) const { return w_->menus().action(QString::fromLatin1(name)); }

    std::unique_ptr<ToolbarWindowRun> window_;
    app::MainWindow* w_ = nullptr;
    sheet::Grid* fa_ = nullptr;
};

void FrmMainFlagsTest::init() {
    window_ = std::make_unique<ToolbarWindowRun>();
    w_ = &window_->window();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    fa_ = w_->controls().dataSheet;
    fa_->setRows(kDataRows + 1);
    fa_->setCols(6);
    fillSheet(*fa_, kDataRows, QStringLiteral("T"));
    for (int r = 1; r <= kDataRows; ++r) {
        fa_->setTextMatrix(r, 0, QString::number(100 - r));  // sorting it reverses the rows
    }
}

void FrmMainFlagsTest::cleanup() {
    window_.reset();
}

void FrmMainFlagsTest::addFlagColumn() {
    QVERIFY(entry("mnuAddFlagCol")->isEnabled());
    entry("mnuAddFlagCol")->trigger();
    QVERIFY(w_->sheetState().flagColumnPresent);
}

void FrmMainFlagsTest::clickCell(int row, int col, Qt::KeyboardModifiers keys) {
    ::clickCell(*fa_, row, col, keys);
}

void FrmMainFlagsTest::doubleClickCell(int row, int col) {
    ::doubleClickCell(*fa_, row, col);
}

void FrmMainFlagsTest::clickTitle(int col) {
    QTest::mouseClick(fa_->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      titleCentre(*fa_, col));
}

void FrmMainFlagsTest::dragTitle(int col, int position) {
    const int nudge = position > col ? 10 : -10;
    drag(fa_->horizontalHeader()->viewport(), titleCentre(*fa_, col),
         titleCentre(*fa_, position) + QPoint(nudge, 0));
}

bool FrmMainFlagsTest::flagged(int row) const {
    const int col = w_->sheetState().flagColumn;
    const bool text = fa_->textMatrix(row, col) == QLatin1String(" ");
    const bool picture =
        fa_->cellPicture(row, col).toImage() == w_->sheetState().flagPicture.toImage();
    if (text != picture) {
        qWarning("row %d: text and picture disagree", row);
    }
    return text && picture;
}

bool FrmMainFlagsTest::formViewShowsFlag() const {
    const int formRow = w_->sheetState().flagColumn + 1;
    return w_->controls().formView->cellPicture(formRow, 1).toImage() ==
           w_->sheetState().flagPicture.toImage();
}

QString FrmMainFlagsTest::marker(int col) const {
    const QImage picture = fa_->cellPicture(0, col).toImage();
    if (picture == w_->controls().pictures.sortUp.toImage()) {
        return QStringLiteral("U");
    }
    return picture == w_->controls().pictures.sortDown.toImage() ? QStringLiteral("D") : QString();
}

void FrmMainFlagsTest::doubleClickWithoutFlagColumnChangesNothing() {
    doubleClickCell(3, 0);
    QVERIFY(!w_->sheetState().flagColumnPresent);
    QCOMPARE(fa_->textMatrix(3, 0), QStringLiteral("97"));
    QVERIFY(fa_->cellPicture(3, 0).toImage() != w_->sheetState().flagPicture.toImage());
}

void FrmMainFlagsTest::addFlagColumnEntryPutsItFirst() {
    QVERIFY(!w_->controls().toolbar->button("Flag")->isVisible());
    addFlagColumn();
    QCOMPARE(fa_->cols(), 7);
    QCOMPARE(fa_->textMatrix(0, 0), QStringLiteral("Flag"));
    QCOMPARE(fa_->textMatrix(0, 1), QStringLiteral("T0"));
    QCOMPARE(fa_->colWidth(0), kFlagWidth);
    QCOMPARE(w_->sheetState().flagColumn, 0);
    QVERIFY(w_->controls().toolbar->button("Flag")->isVisible());
    QVERIFY(!entry("mnuAddFlagCol")->isEnabled());
    QCOMPARE(w_->controls().formView->rows(), fa_->cols() + 1);
    QCOMPARE(w_->controls().formView->textMatrix(1, 0), QStringLiteral("Flag"));
}

void FrmMainFlagsTest::doubleClickFlipsTheRow() {
    addFlagColumn();
    doubleClickCell(4, 2);
    QVERIFY(flagged(4));
    QVERIFY(formViewShowsFlag());
    for (int r = 1; r <= kDataRows; ++r) {
        QCOMPARE(flagged(r), r == 4);
    }
    doubleClickCell(4, 3);
    QVERIFY(!flagged(4));
    QCOMPARE(fa_->textMatrix(4, 0), QString());
    QCOMPARE(fa_->cellPicture(4, 0).toImage(), w_->controls().pictures.blank.toImage());
    QVERIFY(!formViewShowsFlag());
}

void FrmMainFlagsTest::setFlagGivesSelectedRowsTheOppositeOfCurrent() {
    addFlagColumn();
    doubleClickCell(3, 1);
    doubleClickCell(4, 1);
    // Rows 2, 5 and 3 selected, row 3 (flagged) current, row 5 not flagged.
    clickCell(2, 2);
    clickCell(5, 2, Qt::ControlModifier);
    clickCell(3, 2, Qt::ControlModifier);
    QCOMPARE(fa_->row(), 3);
    QVERIFY(entry("mnuPUSetFlag")->isEnabled());
    entry("mnuPUSetFlag")->trigger();
    QVERIFY(!flagged(2) && !flagged(3) && !flagged(5));
    QVERIFY(flagged(4));  // not selected: kept
    QVERIFY(!formViewShowsFlag());
    entry("mnuPUSetFlag")->trigger();
    QVERIFY(flagged(2) && flagged(3) && flagged(5));
    QVERIFY(flagged(4));
    QVERIFY(!flagged(1) && !flagged(6));
    QVERIFY(formViewShowsFlag());
}

void FrmMainFlagsTest::flagButtonActsOnSelectedRows() {
    addFlagColumn();
    clickCell(6, 3);
    clickCell(8, 3, Qt::ShiftModifier);
    QTest::mouseClick(
        w_->controls().toolbar->widgetForAction(w_->controls().toolbar->button("Flag")),
        Qt::LeftButton);
    for (int r = 1; r <= kDataRows; ++r) {
        QCOMPARE(flagged(r), r >= 6 && r <= 8);
    }
}

void FrmMainFlagsTest::flagColumnFollowsATitleDrag() {
    addFlagColumn();
    dragTitle(0, 3);
    QCOMPARE(fa_->textMatrix(0, 3), QStringLiteral("Flag"));
    QCOMPARE(w_->sheetState().flagColumn, 3);
    doubleClickCell(5, 1);
    QCOMPARE(fa_->textMatrix(5, 3), QStringLiteral(" "));
    QVERIFY(flagged(5));
    QCOMPARE(fa_->textMatrix(5, 0), QStringLiteral("95"));  // data untouched
    // The form view's titles follow the new order at the next update.
    QCOMPARE(w_->controls().formView->textMatrix(4, 0), QStringLiteral("Flag"));
    QCOMPARE(w_->controls().formView->textMatrix(1, 0), QStringLiteral("T0"));
}

void FrmMainFlagsTest::firstFlagTitleFromTheLeftWins() {
    addFlagColumn();
    fa_->setTextMatrix(0, 4, QStringLiteral("Flag"));  // a data field of that name
    dragTitle(0, 5);
    // Old column 4 shifted to 3 and is now the first "Flag" from the left.
    QCOMPARE(fa_->textMatrix(0, 5), QStringLiteral("Flag"));
    QCOMPARE(w_->sheetState().flagColumn, 3);
}

void FrmMainFlagsTest::flagColumnKeepsItsWidthAfterABorderDrag() {
    addFlagColumn();
    QHeaderView* header = fa_->horizontalHeader();
    const auto border = [header](int col) {
        return QPoint(header->sectionViewportPosition(col) + header->sectionSize(col) - 1,
                      header->height() / 2);
    };
    drag(header->viewport(), border(0), border(0) + QPoint(60, 0));
    QCOMPARE(fa_->colWidth(0), kFlagWidth);
    const int before = fa_->colWidth(2);
    drag(header->viewport(), border(2), border(2) + QPoint(40, 0));
    QVERIFY(fa_->colWidth(2) > before);  // other columns take the user's width
    QCOMPARE(fa_->colWidth(0), kFlagWidth);
}

void FrmMainFlagsTest::markerOnlyOnTheSortedTitle() {
    clickTitle(3);
    QCOMPARE(marker(3), QStringLiteral("U"));
    QCOMPARE(fa_->cell(CellSetting::PictureAlignment, 0, 3).toInt(), 7);
    QCOMPARE(w_->sheetState().sortedColumn, 3);
    clickTitle(5);
    for (int c = 0; c < fa_->cols(); ++c) {
        QCOMPARE(marker(c), c == 5 ? QStringLiteral("U") : QString());
    }
    QCOMPARE(w_->sheetState().sortedColumn, 5);
}

void FrmMainFlagsTest::secondClickTurnsTheMarker() {
    clickTitle(0);
    QCOMPARE(marker(0), QStringLiteral("U"));
    QCOMPARE(fa_->textMatrix(1, 0), QStringLiteral("91"));
    clickTitle(0);
    QCOMPARE(marker(0), QStringLiteral("D"));
    QCOMPARE(fa_->textMatrix(1, 0), QStringLiteral("99"));
}

void FrmMainFlagsTest::columnMoveClearsBothMarkers() {
    clickTitle(2);
    dragTitle(2, 4);
    for (int c = 0; c < fa_->cols(); ++c) {
        QCOMPARE(marker(c), QString());
    }
    clickTitle(1);
    for (int c = 0; c < fa_->cols(); ++c) {
        QCOMPARE(marker(c), c == 1 ? QStringLiteral("U") : QString());
    }
}

void FrmMainFlagsTest::sortingByFlagColumnGroupsFlaggedRows() {
    addFlagColumn();
    for (int r : {2, 5, 8}) {
        doubleClickCell(r, 1);
    }
    for (int click = 0; click < 2; ++click) {
        clickTitle(0);
        QStringList order;
        for (int r = 1; r <= kDataRows; ++r) {
            order << (flagged(r) ? QStringLiteral("F") : QStringLiteral("-"));
        }
        const QString joined = order.join(QString());
        QVERIFY2(joined == "FFF------" || joined == "------FFF", qPrintable(joined));
    }
}

QTEST_MAIN(FrmMainFlagsTest)
#include "tst_frm_main_flags.moc"
