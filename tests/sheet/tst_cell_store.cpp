// The column-wise cell store: texts, typed values, sparse properties, moves,
// removals, compaction and size limits.
#include "sheet/bulk_memory.h"
#include "sheet/cell_store.h"
#include "sheet/text_column.h"

#include <QTest>

#include <sys/mman.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

using sheet::CellInput;
using sheet::CellProps;
using sheet::CellStore;
using sheet::TextColumn;

namespace {
std::string str(std::string_view view) {
    return std::string(view);
}

CellStore makeStore(int rows, int cols) {
    CellStore store;
    store.setCols(cols);
    store.setRows(rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            store.setText(r, c, std::to_string(r) + ":" + std::to_string(c));
        }
    }
    return store;
}
}  // namespace

class TestCellStore : public QObject {
    Q_OBJECT
  private slots:
    void textColumnReusesAndGrows() {
        TextColumn column;
        QCOMPARE(str(column.get(5)), std::string());
        column.set(3, "hello");
        QCOMPARE(str(column.get(3)), std::string("hello"));
        QCOMPARE(str(column.get(2)), std::string());
        column.set(3, "hi");
        QCOMPARE(str(column.get(3)), std::string("hi"));
        column.set(3, "a much longer text than before");
        QCOMPARE(str(column.get(3)), std::string("a much longer text than before"));
        column.set(3, "");
        QCOMPARE(str(column.get(3)), std::string());
    }

    void textColumnKeepsTextsPastTheShortLengthField() {
        TextColumn column;
        const std::string huge((1 << 24) + 10, 'x');
        column.set(0, "before");
        column.set(1, huge);
        column.set(2, "after");
        QCOMPARE(column.get(1).size(), huge.size());
        QCOMPARE(str(column.get(0)), std::string("before"));
        QCOMPARE(str(column.get(2)), std::string("after"));
    }

    // Some 40 MB of texts: many full blocks, blocks of the largest size and
    // a text bigger than any block, each read back where it was put.
    void textColumnFillsAcrossManyBlocks() {
        TextColumn column;
        const auto textOf = [](uint32_t row) {
            return std::string(1 + row % 97, char('a' + row % 26)) + std::to_string(row);
        };
        constexpr uint32_t kRows = 700000;
        for (uint32_t row = 0; row < kRows; ++row) {
            column.append(row, row == 123456 ? std::string(5 << 20, 'z') : textOf(row));
        }
        QVERIFY(column.bytes() > std::size_t{40} << 20);
        for (uint32_t row = 0; row < kRows; ++row) {
            if (row == 123456) {
                QCOMPARE(column.get(row).size(), std::size_t{5} << 20);
            } else if (column.get(row) != textOf(row)) {
                QFAIL(qPrintable(QStringLiteral("row %1 reads back wrong").arg(row)));
            }
        }
    }

    // Arrays move from the heap to mapped memory and back as they grow and
    // shrink, keeping their contents.
    void bulkArraysKeepContentsAcrossTheirGrowth() {
        sheet::BulkVector<uint32_t> numbers;
        for (uint32_t i = 0; i < 3'000'000; ++i) {
            numbers.push_back(i * 7);
        }
        QCOMPARE(numbers[2'999'999], 2'999'999u * 7);
        numbers.resize(1000);
        numbers.shrink_to_fit();
        QCOMPARE(numbers[999], 999u * 7);
        sheet::BulkVector<uint32_t> copy = numbers;
        QCOMPARE(copy, numbers);
    }

    // While a sheet is refilled, the large blocks of the rows it drops are
    // handed to the new rows; once the fill ends, those nobody took go back
    // to the system (mincore fails on memory no longer mapped).
    void refillWritesIntoTheBlocksItDropsAndGivesBackTheRest() {
        const std::size_t size = std::size_t{8} << 20;
        const auto mapped = [size](void* block) {
            std::vector<unsigned char> pages(size / 4096);
            return mincore(block, size, pages.data()) == 0;
        };
        void* kept = nullptr;
        void* unused = nullptr;
        {
            sheet::BulkReuse refill;
            void* first = sheet::bulkAllocate(size);
            void* second = sheet::bulkAllocate(size);
            std::memset(first, 1, size);
            std::memset(second, 2, size);
            sheet::bulkFree(first, size);
            sheet::bulkFree(second, size);
            kept = sheet::bulkAllocate(size);
            QVERIFY(kept == first || kept == second);
            // Not a fresh mapping at the same place: that would read zeros.
            QCOMPARE(int(*static_cast<char*>(kept)), kept == first ? 1 : 2);
            unused = kept == first ? second : first;
            QVERIFY(mapped(unused));
            {
                sheet::BulkReuse nested;  // an inner fill gives back nothing early
            }
            QVERIFY(mapped(unused));
        }
        QVERIFY(!mapped(unused));
        QVERIFY(mapped(kept));
        sheet::bulkFree(kept, size);  // no fill: straight back
        QVERIFY(!mapped(kept));
    }

    void textColumnCompactsAfterManyRewrites() {
        TextColumn column;
        // About 20 MB written into ten cells; without reclaiming it would all stay.
        for (int i = 0; i < 100000; ++i) {
            column.set(i % 10, std::string(200 + i % 7, char('a' + i % 10)));
        }
        QVERIFY(column.bytes() < 4 * 1024 * 1024);
        QCOMPARE(str(column.get(9)), std::string(200 + 99999 % 7, 'j'));
        QCOMPARE(str(column.get(0)), std::string(200 + 99990 % 7, 'a'));
    }

    void editDropsTypedValue() {
        CellStore store;
        store.beginFill(2);
        const CellInput row[] = {{"12", 12, true}, {"x"}};
        store.appendRow(row);
        double value = 0;
        QVERIFY(store.value(0, 0, &value));
        QCOMPARE(value, 12.0);
        QVERIFY(!store.value(0, 1, &value));
        store.setText(0, 0, "13");
        QVERIFY(!store.value(0, 0, &value));
        QCOMPARE(str(store.text(0, 0)), std::string("13"));
    }

    void fillHoldsEveryRowWhateverTheGuessedCount() {
        // The guess comes from the file's own row count, which can be stale.
        for (const std::size_t guess :
             {std::size_t(0), std::size_t(3), std::size_t(5000), std::size_t(1) << 40}) {
            CellStore store;
            store.beginFill(2, guess);
            for (int i = 0; i < 1000; ++i) {
                const std::string text = std::to_string(i);
                const std::string second = "t" + text;
                const CellInput row[] = {{text, double(i), i % 3 != 0}, {second}};
                store.appendRow(row);
            }
            QCOMPARE(store.rows(), 1000);
            double value = 0;
            QVERIFY(store.value(998, 0, &value));
            QCOMPARE(value, 998.0);
            QVERIFY(!store.value(999, 0, &value));
            QCOMPARE(str(store.text(999, 1)), std::string("t999"));
        }
    }

    void propertiesAreSparseAndDroppedWhenDefault() {
        CellStore store = makeStore(5, 2);
        store.editProps(2, 1, [](CellProps& p) { p.style |= CellProps::kBold; });
        QCOMPARE(store.column(1).styledCellsInMap(), std::size_t(1));
        QVERIFY(!store.column(0).hasStyles());
        QVERIFY(store.props(2, 1).style & CellProps::kBold);
        QVERIFY(!(store.props(1, 1).style & CellProps::kBold));
        store.editProps(2, 1, [](CellProps& p) { p.style = 0; });
        QVERIFY(!store.column(1).hasStyles());
    }

    void manyFormattedCellsShareTheirStyle() {
        CellStore store;
        store.setCols(3);
        store.setRows(100000);
        store.editProps(99999, 2, 0, 0, [](CellProps& p) { p.style |= CellProps::kBold; });
        QVERIFY(store.column(1).stylesInArray());      // past the map's limit
        QCOMPARE(store.styleCount(), std::size_t(2));  // default and bold
        store.editProps(10, 1, 20, 1, [](CellProps& p) { p.style |= CellProps::kItalic; });
        QCOMPARE(store.props(15, 1).style, uint8_t(CellProps::kBold | CellProps::kItalic));
        QCOMPARE(store.props(21, 1).style, uint8_t(CellProps::kBold));
        QCOMPARE(store.styleCount(), std::size_t(3));
        store.setRows(100100);  // rows added later read as plain
        QCOMPARE(store.props(100050, 1).style, uint8_t(0));
        store.moveColumn(1, 0);
        QCOMPARE(store.props(15, 0).style, uint8_t(CellProps::kBold | CellProps::kItalic));
        for (int r = 0; r < 100; ++r) {
            store.removeRow(0);
        }
        store.setRows(30000);  // few live rows left: the store compacts
        QCOMPARE(store.props(0, 0).style, uint8_t(CellProps::kBold));
        QCOMPARE(store.props(29999, 0).style, uint8_t(CellProps::kBold));
        QCOMPARE(store.props(0, 1).style, uint8_t(CellProps::kBold));
        store.setRows(40000);
        QCOMPARE(store.props(35000, 0).style, uint8_t(0));
        store.clearCells();
        QCOMPARE(store.styleCount(), std::size_t(1));
        QCOMPARE(store.props(5, 0).style, uint8_t(0));
    }

    // A bar chart gives every row of one column its own fill: the edit sees
    // each row, keeps the rest of the cell's look, follows the row order and
    // stays inside the sheet.
    void columnEditedRowByRow() {
        CellStore store = makeStore(8, 3);
        store.editProps(0, 0, 7, 2, [](CellProps& p) { p.foreColor = 255; });
        store.moveRow(6, 1);  // logical rows no longer match physical ones
        store.editColumnProps(1, 2, 99, [](int row, CellProps& p) {
            p.barPercent = row * 10.0;
            p.barColor = 0x0000FF;
        });
        QCOMPARE(store.props(1, 1).barPercent, 0.0);
        QCOMPARE(store.props(1, 1).barColor, CellProps::kNoColor);
        for (int r = 2; r < 8; ++r) {
            QCOMPARE(store.props(r, 1).barPercent, r * 10.0);
            QCOMPARE(store.props(r, 1).barColor, 0x0000FFu);
            QCOMPARE(store.props(r, 1).foreColor, 255u);
            QCOMPARE(store.props(r, 0).barPercent, 0.0);
            QCOMPARE(store.props(r, 2).barPercent, 0.0);
        }
        const std::size_t styles = store.styleCount();
        store.editColumnProps(5, 0, 7, [](int, CellProps& p) { p.barPercent = 1; });
        store.editColumnProps(-1, 0, 7, [](int, CellProps& p) { p.barPercent = 1; });
        store.editColumnProps(1, 6, 2, [](int, CellProps& p) { p.barPercent = 1; });
        QCOMPARE(store.styleCount(), styles);
        // Equal fills share one style.
        store.editColumnProps(1, 0, 7, [](int, CellProps& p) { p.barPercent = 50; });
        store.editColumnProps(2, 0, 7, [](int, CellProps& p) { p.barPercent = 50; });
        QCOMPARE(store.props(0, 1).barPercent, 50.0);
        QCOMPARE(store.column(1).styleId(0), store.column(2).styleId(0));
    }

    // A bar chart gives each cell its own percent; the percents must not
    // become styles of their own, and must follow the rows through sorting,
    // compaction and clearing.
    void barPercentsStayOutOfTheStyleTable() {
        CellStore store = makeStore(50000, 2);
        store.editColumnProps(1, 0, 49999, [](int row, CellProps& p) {
            p.barPercent = row / 500.0;
            p.barColor = 0xFF00FF;
        });
        QCOMPARE(store.styleCount(), std::size_t(2));  // default and the bar colour
        QCOMPARE(store.props(40000, 1).barPercent, 80.0);
        QCOMPARE(store.props(40000, 1).barColor, 0xFF00FFu);
        store.editProps(0, 1, 49999, 1, [](CellProps& p) { p.style |= CellProps::kBold; });
        QCOMPARE(store.props(40000, 1).barPercent, 80.0);  // a style edit keeps the bar
        QCOMPARE(store.styleCount(), std::size_t(3));
        const auto barFollowsItsRow = [&store](int row) {
            // Each text starts with the row it was made for.
            return store.props(row, 1).barPercent == std::stoi(str(store.text(row, 1))) / 500.0;
        };
        store.sortRows(1, 0, true);
        QVERIFY(str(store.text(0, 1)) != "0:1");
        QVERIFY(barFollowsItsRow(0));
        QVERIFY(barFollowsItsRow(31234));
        std::vector<int> gone(40000);
        std::iota(gone.begin(), gone.end(), 0);
        store.removeRows(gone);  // compacts
        QCOMPARE(store.rows(), 10000);
        QVERIFY(barFollowsItsRow(0));
        QVERIFY(barFollowsItsRow(9999));
        QCOMPARE(store.props(0, 0).barPercent, 0.0);
        store.editColumnProps(1, 0, 9999, [](int, CellProps& p) { p.barPercent = -0.0; });
        QVERIFY(store.props(5, 1).barPercent == 0.0);
        QVERIFY(!std::signbit(store.props(5, 1).barPercent));
        store.clearCells();
        QVERIFY(!store.column(1).hasStyles());
    }

    void movingAColumnCarriesItsCellsAndProperties() {
        CellStore store = makeStore(4, 4);
        store.editProps(3, 1, [](CellProps& p) { p.foreColor = 255; });
        store.column(1).width = 777;
        store.moveColumn(1, 3);
        QCOMPARE(str(store.text(3, 3)), std::string("3:1"));
        QCOMPARE(str(store.text(3, 1)), std::string("3:2"));
        QCOMPARE(store.props(3, 3).foreColor, 255u);
        QCOMPARE(store.props(3, 1).foreColor, CellProps::kNoColor);
        QCOMPARE(store.column(3).width, 777);
    }

    void movingAndRemovingRows() {
        CellStore store = makeStore(6, 1);
        store.editProps(5, 0, [](CellProps& p) { p.checked = 1; });
        store.moveRow(5, 1);  // last row moves up, rows 1..4 shift down
        QCOMPARE(str(store.text(1, 0)), std::string("5:0"));
        QCOMPARE(str(store.text(2, 0)), std::string("1:0"));
        QCOMPARE(int(store.props(1, 0).checked), 1);
        store.moveRow(1, 4);
        QCOMPARE(str(store.text(4, 0)), std::string("5:0"));
        QCOMPARE(str(store.text(1, 0)), std::string("1:0"));
        store.removeRow(0);
        QCOMPARE(store.rows(), 5);
        QCOMPARE(str(store.text(0, 0)), std::string("1:0"));
    }

    void compactionKeepsContentAfterManyRemovals() {
        CellStore store = makeStore(10000, 2);
        store.editProps(9999, 1, [](CellProps& p) { p.barPercent = 50; });
        store.setRows(3000);  // forces a rebuild of the sparse physical rows
        store.setRows(10000);
        for (int r = 0; r < 2000; ++r) {
            store.removeRow(0);
        }
        QCOMPARE(store.rows(), 8000);
        QCOMPARE(str(store.text(0, 1)), std::string("2000:1"));
        QCOMPARE(str(store.text(999, 0)), std::string("2999:0"));
        QCOMPARE(str(store.text(1000, 0)), std::string());  // cut rows came back empty
        QCOMPARE(store.props(7999, 1).barPercent, 0.0);
    }

    void removingManyRowsInOnePass() {
        CellStore store = makeStore(10000, 2);
        store.editProps(9999, 1, [](CellProps& p) { p.barPercent = 50; });
        std::vector<int> gone;
        for (int r = 0; r < 10000; r += 3) {
            gone.push_back(r);  // a third of the rows, scattered
        }
        for (int r = 1; r < 6000; r += 3) {
            gone.push_back(r);  // and more, so that the store compacts
        }
        std::sort(gone.begin(), gone.end());
        store.removeRows(gone);
        QCOMPARE(store.rows(), 10000 - int(gone.size()));
        QCOMPARE(str(store.text(0, 0)), std::string("2:0"));
        QCOMPARE(str(store.text(1, 1)), std::string("5:1"));
        QCOMPARE(str(store.text(store.rows() - 1, 0)), std::string("9998:0"));
        store.setRows(store.rows() + 1);  // a new row is empty, not an old one back
        QCOMPARE(str(store.text(store.rows() - 1, 0)), std::string());
        QCOMPARE(store.props(store.rows() - 2, 1).barPercent, 0.0);
        store.removeRows({});
        QCOMPARE(store.rows(), 10000 - int(gone.size()) + 1);
    }

    void insertingRowsAtScatteredPlaces() {
        CellStore store = makeStore(5, 1);
        const std::vector<int> at{1, 2, 5, 99};  // 99: clipped to the new end
        store.insertRows(at);
        QStringList texts;
        for (int r = 0; r < store.rows(); ++r) {
            texts << QString::fromStdString(str(store.text(r, 0)));
        }
        QCOMPARE(texts.join(u'|'), QStringLiteral("0:0|||1:0|2:0||3:0|4:0|"));
        store.insertRows({});
        QCOMPARE(store.rows(), 9);
    }

    void hiddenRowsSurviveSortsAndCompaction() {
        CellStore store = makeStore(10000, 1);
        std::vector<bool> hide(9999, false);
        hide[9998 - 1] = true;  // row 9998
        hide[5 - 1] = true;     // row 5
        store.setHidden(1, hide);
        QVERIFY(store.anyHidden());
        QVERIFY(store.isHidden(5) && store.isHidden(9998) && !store.isHidden(6));
        const auto rowOf = [&store](const std::string& text) {
            for (int r = 0; r < store.rows(); ++r) {
                if (str(store.text(r, 0)) == text) {
                    return r;
                }
            }
            return -1;
        };
        store.sortRows(0, 1, true);
        const int moved = rowOf("9998:0");
        QVERIFY(moved != 9998);
        QVERIFY(store.isHidden(moved));
        QVERIFY(!store.isHidden(rowOf("9997:0")));
        std::vector<int> gone;
        for (int r = 1; r < store.rows() && gone.size() < 6000; ++r) {
            if (!store.isHidden(r)) {
                gone.push_back(r);  // enough rows to force a compaction
            }
        }
        store.removeRows(gone);
        QVERIFY(store.isHidden(rowOf("9998:0")));
        int hidden = 0;
        for (int r = 0; r < store.rows(); ++r) {
            hidden += store.isHidden(r) ? 1 : 0;
        }
        QCOMPARE(hidden, 2);
        store.showAll();
        QVERIFY(!store.anyHidden() && !store.isHidden(2));
    }

    void absurdSizesAreBounded() {
        CellStore store;
        store.setCols(1 << 30);
        QCOMPARE(store.cols(), CellStore::kMaxCols);
        store.setCols(-5);
        QCOMPARE(store.cols(), 0);
        store.setRows(-1);
        QCOMPARE(store.rows(), 0);
        QCOMPARE(str(store.text(-1, 7)), std::string());
        store.setText(100, 100, "ignored");  // outside: no effect, no crash
        QCOMPARE(store.rows(), 0);
    }

    void clearEmptiesCellsButKeepsShapeAndColumns() {
        CellStore store = makeStore(3, 2);
        store.column(0).format = "0.00";
        store.editProps(1, 1, [](CellProps& p) { p.picture = 1; });
        store.clearCells();
        QCOMPARE(store.rows(), 3);
        QCOMPARE(store.cols(), 2);
        QCOMPARE(str(store.text(1, 1)), std::string());
        QCOMPARE(store.props(1, 1).picture, uint16_t(0));
        QCOMPARE(store.column(0).format, QStringLiteral("0.00"));
    }

    void sortLeavesTheTitleRowInPlace() {
        CellStore store;
        store.beginFill(1);
        for (const char* text : {"Title", "b", "C", "a"}) {
            const CellInput cell{text};
            store.appendRow(std::span(&cell, 1));
        }
        store.sortRows(0, 1, false);
        QCOMPARE(str(store.text(0, 0)), std::string("Title"));
        QCOMPARE(str(store.text(1, 0)), std::string("a"));
        QCOMPARE(str(store.text(2, 0)), std::string("b"));
        QCOMPARE(str(store.text(3, 0)), std::string("C"));
    }
};

QTEST_GUILESS_MAIN(TestCellStore)
#include "tst_cell_store.moc"
