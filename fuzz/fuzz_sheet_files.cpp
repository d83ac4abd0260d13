// libFuzzer target: any bytes opened as the window opens a sheet file. Bytes
// that start with the grid file mark go to the grid file reader, the rest to
// the delimited-text reader (comma or tab, by the first byte). A file that
// loads is saved again both ways. Error results are expected; crashes, hangs
// and runaway memory are findings.
//
// With TABLESCOPE_FUZZ_SEED=path set, the target first writes a small grid
// file using every stored part to that path, as a seed.
#include <QApplication>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPixmap>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "sheet/delimited_text.h"
#include "sheet/grid.h"
#include "sheet/grid_file.h"

namespace {

void writeSeed(const char* path) {
    sheet::Grid g;
    g.setRows(4);
    g.setCols(3);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            g.setTextMatrix(r, c, QStringLiteral("r%1c%2 \u00E9").arg(r).arg(c));
        }
    }
    g.setColFormat(1, QStringLiteral("0.00"));
    g.setColMerge(2, true);
    g.setCell(sheet::CellSetting::Bold, 1, 0, 2, 1, true);
    g.setCell(sheet::CellSetting::BarFillPercent, 1, 2, 3, 2, 42.0);
    g.setCell(sheet::CellSetting::Checked, 3, 0, 1);
    QImage dot(4, 4, QImage::Format_ARGB32);
    dot.fill(QColor(Qt::red));
    g.setCellPicture(2, 0, 2, 0, QPixmap::fromImage(dot));
    QFile out(QString::fromLocal8Bit(path));
    if (out.open(QIODevice::WriteOnly)) {
        out.write(sheet::GridFile::save(g));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv);
    if (const char* seed = std::getenv("TABLESCOPE_FUZZ_SEED")) {
        writeSeed(seed);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    sheet::Grid grid;
    const bool gridFile =
        size >= sizeof sheet::GridFile::kMagic &&
        std::memcmp(data, sheet::GridFile::kMagic, sizeof sheet::GridFile::kMagic) == 0;
    jet::Status loaded = gridFile ? sheet::GridFile::load(grid, bytes)
                                  : sheet::DelimitedText::load(
                                        grid, sheet::DelimitedText::toUtf8(bytes),
                                        size > 0 && (data[0] & 1) ? sheet::DelimitedText::kTab
                                                                  : sheet::DelimitedText::kComma);
    if (loaded.isOk()) {
        sheet::Grid again;
        if (!sheet::GridFile::load(again, sheet::GridFile::save(grid)).isOk()) {
            __builtin_trap();  // what loaded must save into a file that loads
        }
        (void)sheet::DelimitedText::save(grid, sheet::DelimitedText::kComma, true).size();
    }
    return 0;
}
