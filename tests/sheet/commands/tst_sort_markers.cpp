// Sort markers on bare grids: only the sorted title carries a marker, a second
// sort the other way swaps it, and a column move clears both ends.
#include <QTest>

#include "sheet/grid.h"
#include "sheet/sheet_update.h"
#include "sheet/sort_markers.h"

using sheet::Grid;
using sheet::SortMarkers;

class SortMarkersTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void onlyLastSortedTitleHasMarker();
    void secondSortSwapsMarker();
    void moveClearsMarkersAndMarksTitles();
    void outOfRangeColumnsAreIgnored();

  private:
    QImage titlePicture(int col) const { return fa_->cellPicture(0, col).toImage(); }
    void sortBy(int col, int order);

    Grid* fa_ = nullptr;
    sheet::SheetState state_;
    QPixmap up_, down_, blank_;
};

void SortMarkersTest::init() {
    fa_ = new Grid;
    fa_->setFixedRows(1);
    fa_->setRows(5);
    fa_->setCols(6);
    state_ = sheet::SheetState{};
    up_ = QPixmap(8, 8);
    up_.fill(Qt::blue);
    down_ = QPixmap(8, 8);
    down_.fill(Qt::green);
    blank_ = QPixmap(8, 8);
    blank_.fill(Qt::white);
}

void SortMarkersTest::cleanup() {
    delete fa_;
}

void SortMarkersTest::sortBy(int col, int order) {
    SortMarkers markers(*fa_, state_, up_, down_, blank_);
    markers.beforeSort();
    markers.afterSort(col, order);
}

void SortMarkersTest::onlyLastSortedTitleHasMarker() {
    sortBy(3, Grid::SortAscending);
    QCOMPARE(titlePicture(3), up_.toImage());
    QCOMPARE(fa_->cell(sheet::CellSetting::PictureAlignment, 0, 3).toInt(), 7);
    sortBy(5, Grid::SortAscending);
    QCOMPARE(titlePicture(5), up_.toImage());
    QCOMPARE(titlePicture(3), blank_.toImage());
    QCOMPARE(state_.sortedColumn, 5);
}

void SortMarkersTest::secondSortSwapsMarker() {
    sortBy(3, Grid::SortAscending);
    sortBy(3, Grid::SortDescending);
    QCOMPARE(titlePicture(3), down_.toImage());
}

void SortMarkersTest::moveClearsMarkersAndMarksTitles() {
    sortBy(2, Grid::SortDescending);
    SortMarkers(*fa_, state_, up_, down_, blank_).afterMove(2, 4);
    QCOMPARE(titlePicture(2), blank_.toImage());
    QCOMPARE(titlePicture(4), blank_.toImage());
    QVERIFY(state_.titlesChanged);
    sortBy(1, Grid::SortAscending);
    for (int c = 0; c < fa_->cols(); ++c) {
        QCOMPARE(titlePicture(c) == up_.toImage(), c == 1);
    }
}

void SortMarkersTest::outOfRangeColumnsAreIgnored() {
    state_.sortedColumn = 40;
    sortBy(9, Grid::SortAscending);
    QCOMPARE(state_.sortedColumn, 40);
    SortMarkers(*fa_, state_, up_, down_, blank_).afterMove(-1, 99);
    QCOMPARE(fa_->cols(), 6);
}

QTEST_MAIN(SortMarkersTest)
#include "tst_sort_markers.moc"
