// Binary values and attachments kept beside a cell's text: they travel with
// their rows through sorting, moves, removals and compaction, are dropped
// when the cell's text is changed (and kept when an edit leaves it as it
// was), and come back with the cells an undo step restores.
#include "sheet/cell_payload.h"
#include "sheet/cell_snapshot.h"
#include "sheet/cell_store.h"
#include "sheet/grid.h"

#include <QTest>

#include <memory>
#include <string>
#include <vector>

using sheet::CellInput;
using sheet::CellPayload;
using sheet::Grid;

namespace {

std::shared_ptr<const CellPayload> binary(const std::string& bytes) {
    auto payload = std::make_shared<CellPayload>();
    payload->bytes = bytes;
    payload->size = bytes.size();
    return payload;
}

// Rows "a".."e" in column 0; column 1 holds a binary value of 10 - i bytes
// in every row but "c".
void fill(Grid& grid, std::vector<std::shared_ptr<const CellPayload>>& payloads) {
    grid.beginFill(std::vector<QString>{QStringLiteral("Name"), QStringLiteral("Data")});
    for (int i = 0; i < 5; ++i) {
        const std::string name(1, char('a' + i));
        const auto payload = i == 2 ? nullptr : binary(std::string(std::size_t(10 - i), 'x'));
        payloads.push_back(payload);
        const std::string label = payload ? sheet::binaryCellText(payload->size) : std::string();
        CellInput cells[2];
        cells[0].text = name;
        cells[1].text = label;
        cells[1].hasValue = payload != nullptr;
        cells[1].value = payload ? double(payload->size) : 0;
        cells[1].payload = payload;
        grid.appendRow(cells);
    }
    grid.endFill();
}

// The name of each data row and whether its payload is the one it was filled with.
QString rowsAndPayloads(const Grid& grid,
                        const std::vector<std::shared_ptr<const CellPayload>>& p) {
    QString out;
    for (int r = 1; r < grid.rows(); ++r) {
        const QString name = grid.textMatrix(r, 0);
        const auto payload = grid.cellPayload(r, 1);
        const bool same = payload == p[std::size_t(name[0].unicode() - 'a')];
        out += name + (payload ? QStringLiteral("+") : QStringLiteral("-")) +
               (same ? QString() : QStringLiteral("!")) + QLatin1Char(' ');
    }
    return out.trimmed();
}

}  // namespace

class TestCellPayload : public QObject {
    Q_OBJECT
  private slots:
    void payloadsFollowTheirRows() {
        Grid grid;
        std::vector<std::shared_ptr<const CellPayload>> payloads;
        fill(grid, payloads);
        QCOMPARE(grid.textMatrix(1, 1), QStringLiteral("(binary, 10 B)"));
        QCOMPARE(rowsAndPayloads(grid, payloads), QStringLiteral("a+ b+ c- d+ e+"));
        grid.sort(1, Grid::SortAscending);  // by size: e(6) d(7) b(9) a(10) after c's blank
        QCOMPARE(rowsAndPayloads(grid, payloads), QStringLiteral("c- e+ d+ b+ a+"));
        grid.sort(0, Grid::SortDescending);
        QCOMPARE(rowsAndPayloads(grid, payloads), QStringLiteral("e+ d+ c- b+ a+"));
        grid.setRowPosition(1, 4);
        grid.removeItems({2});
        QCOMPARE(rowsAndPayloads(grid, payloads), QStringLiteral("d+ b+ e+ a+"));
        grid.setColPosition(1, 0);
        QCOMPARE(grid.cellPayload(1, 0), payloads[3]);
        QVERIFY(!grid.cellPayload(1, 1));
        QVERIFY(!grid.cellPayload(0, 0));
        QVERIFY(!grid.cellPayload(99, 0));
    }

    void changingTheTextDropsThePayload() {
        Grid grid;
        std::vector<std::shared_ptr<const CellPayload>> payloads;
        fill(grid, payloads);
        grid.setTextMatrix(1, 1, grid.textMatrix(1, 1));  // an edit that changes nothing
        QCOMPARE(grid.cellPayload(1, 1), payloads[0]);
        double size = 0;
        QVERIFY(grid.cellValue(1, 1, &size));
        grid.setTextMatrix(1, 1, QStringLiteral("typed over"));
        QVERIFY(!grid.cellPayload(1, 1));
        grid.clear();
        QVERIFY(!grid.cellPayload(2, 1));
    }

    void payloadsSurviveCompaction() {
        sheet::CellStore store;
        store.setCols(1);
        store.setRows(10000);
        const auto kept = binary("kept");
        store.setPayload(9999, 0, kept);
        std::vector<int> removed(9000);
        for (int i = 0; i < 9000; ++i) {
            removed[std::size_t(i)] = i;
        }
        store.removeRows(removed);  // leaves few live rows: the columns are rebuilt
        QCOMPARE(store.payload(999, 0), kept);
        QVERIFY(!store.payload(998, 0));
    }

    void undoSnapshotsBringPayloadsBack() {
        sheet::CellStore store;
        store.setCols(2);
        store.setRows(3);
        const auto kept = binary("abc");
        store.setText(1, 1, "(binary, 3 B)");
        store.setPayload(1, 1, kept);
        sheet::CellSnapshot snapshot;
        QVERIFY(snapshot.capture(store, {1}, 0, 1, 1 << 20));
        store.setText(1, 1, "");
        QVERIFY(!store.payload(1, 1));
        store.setText(2, 1, "(binary, 3 B)");
        store.setPayload(2, 1, binary("xyz"));
        snapshot.restore(store);
        QCOMPARE(store.payload(1, 1), kept);
        sheet::CellSnapshot empty;
        QVERIFY(empty.capture(store, {0}, 0, 1, 1 << 20));
        store.setText(0, 1, "(binary, 3 B)");
        store.setPayload(0, 1, kept);
        empty.restore(store);  // a cell that had none gets none back
        QVERIFY(!store.payload(0, 1));
    }
};

QTEST_MAIN(TestCellPayload)
#include "tst_cell_payload.moc"
