// The menu bar and the grid pop-up menu: every entry's caption, access key,
// shortcut and initial state, the order of the entries and separators.
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "ui/main_menus.h"

namespace {

QStringList namesIn(const QMenu* menu) {
    QStringList names;
    for (const QAction* a : menu->actions()) {
        names.append(a->objectName());
    }
    return names;
}

}  // namespace

class MainMenusTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void entries_data();
    void entries();
    void separators_data();
    void separators();
    void orderOfEntries_data();
    void orderOfEntries();
    void popupMenu();
    void unknownNameGivesNothing();

  private:
    QMainWindow* window_ = nullptr;
    ui::MainMenus* menus_ = nullptr;
};

void MainMenusTest::init() {
    window_ = new QMainWindow;
    menus_ = new ui::MainMenus(window_->menuBar(), window_);
}

void MainMenusTest::cleanup() {
    delete menus_;
    delete window_;
}

void MainMenusTest::entries_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("checked");
    struct Row {
        const char* name;
        const char* caption;
        const char* shortcut;
        bool visible, enabled, checked;
    };
    const Row rows[] = {
        {"mnuFile", "&File", "", true, true, false},
        {"mnuNew", "&New", "", true, true, false},
        {"mnuOpen", "&Open...", "Ctrl+O", true, true, false},
        {"mnuSave", "&Save", "", false, true, false},
        {"mnuSaveAs", "Save &As...", "", true, true, false},
        {"mnuPageSetup", "Page Setup", "", false, true, false},
        {"mnuPrintPreview", "Print Preview", "", false, true, false},
        {"mnuPrint", "&Print", "", false, true, false},
        {"mnuFile1", "", "", false, true, false},
        {"mnuFile4", "", "", false, true, false},
        {"mnuFile8", "", "", false, true, false},
        {"mnuExit", "E&xit", "", true, true, false},
        {"mnuEdit", "&Edit", "", true, true, false},
        {"mnuUndo", "&Undo", "Ctrl+Z", true, true, false},
        {"mnuRedo", "&Redo", "Ctrl+Y", true, true, false},
        {"mnuEditCut", "Cu&t", "Ctrl+X", true, true, false},
        {"mnuEditCopy", "&Copy", "Ctrl+C", true, true, false},
        {"mnuEditCopyTitles", "Copy &with Titles", "Ctrl+Shift+C", true, true, false},
        {"mnuEditPaste", "Paste", "Ctrl+V", true, true, false},
        {"mnuSelectAll", "Select &All", "Ctrl+A", true, true, false},
        {"mnuInsert", "&Insert", "", true, true, false},
        {"mnuInsertRow", "&Row", "Shift+Ins", true, true, false},
        {"mnuInsertCol", "&Col", "Ctrl+Ins", true, true, false},
        {"mnuDelete", "&Delete", "", true, true, false},
        {"mnuDeleteRow", "&Row(s)", "Shift+Del", true, true, false},
        {"mnuDeleteCol", "&Col", "Ctrl+D", true, true, false},
        {"mnuEditColTitle", "Column &Title...", "", true, true, false},
        {"mnuColFormat", "Column &Format", "", true, true, false},
        {"mnuFormat0", "0", "", true, true, false},
        {"mnuFormat00", "0.00", "", true, true, false},
        {"mnuFormatComma", "#,###", "", true, true, false},
        {"mnuFormatComma00", "#,###.00", "", true, true, false},
        {"mnuFormatDollarComma", "$#,###", "", true, true, false},
        {"mnuFormatDollarComma00", "$#,###.00", "", true, true, false},
        {"mnuFind", "&Find...", "Ctrl+F", true, true, false},
        {"mnuFindNext", "Find &Next", "Ctrl+G", true, true, false},
        {"mnuFindPrevious", "Find Pre&vious", "Ctrl+Shift+G", true, true, false},
        {"mnuView", "&View", "", true, true, false},
        {"mnuRefresh", "&Refresh", "F5", true, false, false},
        {"mnuToolbar", "&Toolbar", "", true, true, true},
        {"mnuStatusBar", "&Status Bar", "", false, true, true},
        {"mnuAlternateColor", "&Alternate Row Color", "", true, true, false},
        {"mnuGrid", "&Grid Lines", "", true, true, true},
        {"mnuFilterRow", "&Filter Row", "Ctrl+Shift+L", true, true, false},
        {"mnuCellViewer", "Cell &Viewer", "Shift+F2", true, true, false},
        {"mnuSQLtab", "&SQL Tab", "", true, true, true},
        {"mnuHiddenQueries", "&Hidden Queries", "", true, true, false},
        {"mnuMerge", "&Merge Cells for Current Column", "", true, true, false},
        {"mnuTableTab", "Ta&ble Tab", "", false, true, true},
        {"mnuColorCode", "&Color Code", "F3", false, true, false},
        {"mnuFieldsTree", "&Fields Sub Tree", "", false, true, false},
        {"mnuBarChart", "Instant &Bar Chart", "Ctrl+B", true, true, false},
        {"mnuFocusTree", "Go to &Database Tree", "Ctrl+1", true, true, false},
        {"mnuFocusSheet", "Go to Data S&heet", "Ctrl+2", true, true, false},
        {"mnuFocusSql", "Go to S&QL Box", "Ctrl+3", true, true, false},
        {"mnuTools", "&Tools", "", true, true, false},
        {"mnuSetThresholds", "Set Thresholds", "", false, true, false},
        {"mnuOptions", "&Options", "", false, true, false},
        {"mnuGridLine", "Grid Line", "", true, true, true},
        {"mnuFlagMenu", "Flag", "", true, true, false},
        {"mnuMouseMode0", "&Mouse Mode", "", false, true, false},
        {"mnuMouseMode(0)", "&Row && Find Mode", "F6", true, true, true},
        {"mnuMouseMode(1)", "&Block && Edit Mode", "F7", true, true, false},
        {"mnuDragNo", "&No Drag", "", false, true, true},
        {"mnuDragDrop", "&Drag Mode", "F8", true, true, false},
        {"mnuEditCol", "&Edit Column...", "", false, true, false},
        {"mnuAddFlagCol", "Add &Flag Column", "", true, true, false},
        {"mnuSetColHeaderRow", "Set As Column &Header Row", "", true, true, false},
        {"mnuAnalysis", "&Column Statistics", "F12", true, true, false},
        {"mnuHelp", "&Help", "", true, true, false},
        {"mnuTip", "&Tip of The Day", "F1", true, true, false},
        {"mnuWeb", "Veltrano on the &Web", "", true, true, false},
        {"mnuDisclaimer", "&Disclaimer", "", true, true, false},
        {"mnuAbout", "&About", "", true, true, false},
    };
    for (const Row& r : rows) {
        QTest::newRow(r.name) << QString::fromUtf8(r.caption) << QString::fromUtf8(r.shortcut)
                              << r.visible << r.enabled << r.checked;
    }
}

void MainMenusTest::entries() {
    const QString name = QString::fromUtf8(QTest::currentDataTag());
    QAction* action = menus_->action(name);
    QVERIFY2(action, qPrintable(name));
    QTEST(action->text(), "caption");
    QTEST(action->shortcut().toString(QKeySequence::PortableText), "shortcut");
    QTEST(action->isVisible(), "visible");
    if (action->isVisible()) {
        QTEST(action->isEnabled(), "enabled");  // Qt reports hidden entries disabled
    }
    QTEST(action->isChecked(), "checked");
    QCOMPARE(action->objectName(), name);
}

void MainMenusTest::separators_data() {
    QTest::addColumn<bool>("visible");
    for (const char* name : {"mnuSpace1(1)", "mnuSpace101", "mnuSpace102", "mnuSpaceV0",
                             "mnuSpaceV1", "mnuSpaceV2", "mnuSpaceV5", "mnuSpaceV6", "mnuSpaceFind",
                             "mnuSpaceUndo", "mnuSpace7", "mnuSpace82", "mnuSpace5", "mnuSpace3"}) {
        QTest::newRow(name) << true;
    }
    for (const char* name : {"mnuSpace(0)", "mnuSpace11", "mnuSpaceV3", "mnuSpaceV4", "mnuSpace79",
                             "mnuSpace8", "mnuSpace81"}) {
        QTest::newRow(name) << false;
    }
}

void MainMenusTest::separators() {
    QAction* action = menus_->action(QString::fromUtf8(QTest::currentDataTag()));
    QVERIFY(action);
    QVERIFY(action->isSeparator());
    QTEST(action->isVisible(), "visible");
}

void MainMenusTest::orderOfEntries_data() {
    QTest::addColumn<QStringList>("names");
    QTest::newRow("mnuFile") << QStringList{
        "mnuNew",       "mnuOpen",         "mnuSave",      "mnuSaveAs",  "mnuSpace(0)",
        "mnuPageSetup", "mnuPrintPreview", "mnuPrint",     "mnuSpace11", "mnuFile1",
        "mnuFile2",     "mnuFile3",        "mnuFile4",     "mnuFile5",   "mnuFile6",
        "mnuFile7",     "mnuFile8",        "mnuSpace1(1)", "mnuExit"};
    QTest::newRow("mnuEdit") << QStringList{
        "mnuUndo",           "mnuRedo",      "mnuSpaceUndo",    "mnuEditCut",   "mnuEditCopy",
        "mnuEditCopyTitles", "mnuEditPaste", "mnuSelectAll",    "mnuSpace101",  "mnuInsert",
        "mnuDelete",         "mnuSpace102",  "mnuEditColTitle", "mnuColFormat", "mnuSpaceFind",
        "mnuFind",           "mnuFindNext",  "mnuFindPrevious"};
    QTest::newRow("mnuView") << QStringList{
        "mnuRefresh",        "mnuSpaceV0",   "mnuToolbar",    "mnuStatusBar",  "mnuSpaceV1",
        "mnuAlternateColor", "mnuGrid",      "mnuFilterRow",  "mnuCellViewer", "mnuSQLtab",
        "mnuHiddenQueries",  "mnuSpaceV2",   "mnuMerge",      "mnuSpaceV3",    "mnuTableTab",
        "mnuColorCode",      "mnuSpaceV4",   "mnuFieldsTree", "mnuSpaceV5",    "mnuBarChart",
        "mnuSpaceV6",        "mnuFocusTree", "mnuFocusSheet", "mnuFocusSql"};
    QTest::newRow("mnuTools") << QStringList{
        "mnuSetThresholds",   "mnuOptions", "mnuMouseMode0", "mnuMouseMode(0)",
        "mnuMouseMode(1)",    "mnuSpace7",  "mnuDragNo",     "mnuDragDrop",
        "mnuEditCol",         "mnuSpace79", "mnuAddFlagCol", "mnuSpace8",
        "mnuSetColHeaderRow", "mnuSpace81", "mnuSpace82",    "mnuAnalysis"};
    QTest::newRow("mnuHelp") << QStringList{"mnuTip",        "mnuSpace5", "mnuWeb",
                                            "mnuDisclaimer", "mnuSpace3", "mnuAbout"};
}

void MainMenusTest::orderOfEntries() {
    const QMenu* menu = menus_->menu(QString::fromUtf8(QTest::currentDataTag()));
    QVERIFY(menu);
    QTEST(namesIn(menu), "names");
}

void MainMenusTest::popupMenu() {
    const QMenu* popup = menus_->gridPopup();
    QVERIFY(popup);
    QCOMPARE(popup->objectName(), QStringLiteral("mnuGrid1Popup"));
    QVERIFY(!window_->menuBar()->actions().contains(popup->menuAction()));
    QStringList captions;
    for (const QAction* a : popup->actions()) {
        captions.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    QCOMPARE(captions, (QStringList{"Edit Cell", "-", "Cut", "Copy", "Paste", "-", "Insert",
                                    "Delete", "-", "Column Title...", "Column Format", "-",
                                    "Set Flag", "-", "Set As Column Header Row"}));
    QCOMPARE(namesIn(menus_->menu("mnuPUInsert")),
             (QStringList{"mnuPUInsertRow", "mnuPUInsertCol"}));
    QCOMPARE(namesIn(menus_->menu("mnuPUDelete")),
             (QStringList{"mnuPUDeleteRow", "mnuPUDeleteCol"}));
    QCOMPARE(namesIn(menus_->menu("mnuPUColFormat")),
             (QStringList{"mnuPU0", "mnuPU000", "mnuPUComma", "mnuPUComma00", "mnuPUDollarComma",
                          "mnuPUDollarComma00"}));
    QCOMPARE(menus_->action("mnuPUDeleteRow")->text(), QStringLiteral("Row(s)"));
    QCOMPARE(menus_->action("mnuPUComma00")->text(), QStringLiteral("#,###.00"));
    QVERIFY(menus_->action("mnuPUSpace3")->isSeparator());
    QVERIFY(menus_->action("mnuPUSpace4")->isSeparator());
}

void MainMenusTest::unknownNameGivesNothing() {
    QVERIFY(!menus_->action("mnuNoSuchEntry"));
    QVERIFY(!menus_->menu("mnuNoSuchMenu"));
}

QTEST_MAIN(MainMenusTest)
#include "tst_main_menus.moc"
