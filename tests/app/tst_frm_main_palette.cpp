// The main window on a dark desktop, headless: the window, the sheet and the
// form view take the dark palette, while the fixed colours of the program's
// own cells (the form view's green titles) stay as they are.
#include <QTest>

#include "sheet/form_view.h"
#include "sheet/grid.h"
#include "ui/desktop_color_scheme.h"
#include "window_fixture.h"

class MainPaletteTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { qunsetenv("GTK_THEME"); }
    void darkDesktopDarkWindowFixedColoursStay();
    void lightDesktopKeepsTheLightPalette();
};

void MainPaletteTest::darkDesktopDarkWindowFixedColoursStay() {
    qputenv("GTK_THEME", "Adwaita:dark");
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    app::MainWindow& w = run.window();
    QCOMPARE(run.module->colorScheme().applied(), ui::ColorScheme::Dark);
    QVERIFY(w.palette().color(QPalette::Window).lightness() < 80);
    QVERIFY(w.palette().color(QPalette::WindowText).lightness() > 180);
    sheet::Grid& sheetGrid = *w.controls().dataSheet;
    QVERIFY(sheetGrid.viewport()->palette().color(QPalette::Base).lightness() < 80);
    sheet::Grid& form = *w.controls().formView;
    QVERIFY(form.palette().color(QPalette::Base).lightness() < 80);
    const QVariant title = form.model()->headerData(0, Qt::Horizontal, Qt::BackgroundRole);
    QCOMPARE(title.value<QColor>(), QColor(0x00, 0x80, 0x00));
}

void MainPaletteTest::lightDesktopKeepsTheLightPalette() {
    qputenv("GTK_THEME", "Adwaita");
    app::MemoryFileSystem fs;
    WindowRun run(fs);
    QCOMPARE(run.module->colorScheme().applied(), ui::ColorScheme::Light);
    QVERIFY(run.window().palette().color(QPalette::Window).lightness() > 128);
}

QTEST_MAIN(MainPaletteTest)
#include "tst_frm_main_palette.moc"
