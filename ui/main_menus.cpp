#include "ui/main_menus.h"

#include <iterator>

#include <QMenu>
#include <QMenuBar>

namespace ui {

// One row of a menu: a submenu row opens the rows that follow it up to the
// matching End row.
struct MainMenus::Entry {
    enum Kind { Item, Separator, Submenu, End };
    Kind kind;
    const char* name;
    const char* caption;
    const char* shortcut;
    bool visible;
    bool enabled;
    bool checkable;
    bool checked;
};

namespace {

constexpr bool V = true, H = false;  // visible, hidden

#define ITEM(name, caption, key) \
    { Entry::Item, name, caption, key, V, true, false, false }
#define HIDDEN(name, caption, key) \
    { Entry::Item, name, caption, key, H, true, false, false }
#define CHECK(name, caption, key, vis, on) \
    { Entry::Item, name, caption, key, vis, true, true, on }
#define SEP(name, vis) \
    { Entry::Separator, name, "-", "", vis, true, false, false }
#define SUB(name, caption, vis) \
    { Entry::Submenu, name, caption, "", vis, true, false, false }
#define END \
    { Entry::End, "", "", "", V, true, false, false }

}  // namespace

MainMenus::MainMenus(QMenuBar* bar, QWidget* owner) {
    buildBar(bar);
    buildPopup(owner);
}

void MainMenus::buildBar(QMenuBar* bar) {
    static const Entry file[] = {
        ITEM("mnuNew", "&New", ""),
        ITEM("mnuOpen", "&Open...", "Ctrl+O"),
        HIDDEN("mnuSave", "&Save", ""),
        ITEM("mnuSaveAs", "Save &As...", ""),
        SEP("mnuSpace(0)", H),
        HIDDEN("mnuPageSetup", "Page Setup", ""),
        HIDDEN("mnuPrintPreview", "Print Preview", ""),
        HIDDEN("mnuPrint", "&Print", ""),
        SEP("mnuSpace11", H),
        HIDDEN("mnuFile1", "", ""),
        HIDDEN("mnuFile2", "", ""),
        HIDDEN("mnuFile3", "", ""),
        HIDDEN("mnuFile4", "", ""),
        HIDDEN("mnuFile5", "", ""),
        HIDDEN("mnuFile6", "", ""),
        HIDDEN("mnuFile7", "", ""),
        HIDDEN("mnuFile8", "", ""),
        SEP("mnuSpace1(1)", V),
        ITEM("mnuExit", "E&xit", ""),
    };
    static const Entry edit[] = {
        ITEM("mnuUndo", "&Undo", "Ctrl+Z"),
        ITEM("mnuRedo", "&Redo", "Ctrl+Y"),
        SEP("mnuSpaceUndo", V),
        ITEM("mnuEditCut", "Cu&t", "Ctrl+X"),
        ITEM("mnuEditCopy", "&Copy", "Ctrl+C"),
        ITEM("mnuEditCopyTitles", "Copy &with Titles", "Ctrl+Shift+C"),
        ITEM("mnuEditPaste", "Paste", "Ctrl+V"),
        ITEM("mnuSelectAll", "Select &All", "Ctrl+A"),
        SEP("mnuSpace101", V),
        SUB("mnuInsert", "&Insert", V),
        ITEM("mnuInsertRow", "&Row", "Shift+Ins"),
        ITEM("mnuInsertCol", "&Col", "Ctrl+Ins"),
        END,
        SUB("mnuDelete", "&Delete", V),
        ITEM("mnuDeleteRow", "&Row(s)", "Shift+Del"),
        ITEM("mnuDeleteCol", "&Col", "Ctrl+D"),
        END,
        SEP("mnuSpace102", V),
        ITEM("mnuEditColTitle", "Column &Title...", ""),
        SUB("mnuColFormat", "Column &Format", V),
        ITEM("mnuFormat0", "0", ""),
        ITEM("mnuFormat00", "0.00", ""),
        ITEM("mnuFormatComma", "#,###", ""),
        ITEM("mnuFormatComma00", "#,###.00", ""),
        ITEM("mnuFormatDollarComma", "$#,###", ""),
        ITEM("mnuFormatDollarComma00", "$#,###.00", ""),
        END,
        SEP("mnuSpaceFind", V),
        ITEM("mnuFind", "&Find...", "Ctrl+F"),
        ITEM("mnuFindNext", "Find &Next", "Ctrl+G"),
        ITEM("mnuFindPrevious", "Find Pre&vious", "Ctrl+Shift+G"),
    };
    static const Entry view[] = {
        {Entry::Item, "mnuRefresh", "&Refresh", "F5", V, false, false, false},
        SEP("mnuSpaceV0", V),
        CHECK("mnuToolbar", "&Toolbar", "", V, true),
        CHECK("mnuStatusBar", "&Status Bar", "", H, true),
        SEP("mnuSpaceV1", V),
        CHECK("mnuAlternateColor", "&Alternate Row Color", "", V, false),
        CHECK("mnuGrid", "&Grid Lines", "", V, true),
        CHECK("mnuFilterRow", "&Filter Row", "Ctrl+Shift+L", V, false),
        CHECK("mnuCellViewer", "Cell &Viewer", "Shift+F2", V, false),
        CHECK("mnuSQLtab", "&SQL Tab", "", V, true),
        CHECK("mnuHiddenQueries", "&Hidden Queries", "", V, false),
        SEP("mnuSpaceV2", V),
        ITEM("mnuMerge", "&Merge Cells for Current Column", ""),
        SEP("mnuSpaceV3", H),
        CHECK("mnuTableTab", "Ta&ble Tab", "", H, true),
        HIDDEN("mnuColorCode", "&Color Code", "F3"),
        SEP("mnuSpaceV4", H),
        CHECK("mnuFieldsTree", "&Fields Sub Tree", "", H, false),
        SEP("mnuSpaceV5", V),
        ITEM("mnuBarChart", "Instant &Bar Chart", "Ctrl+B"),
        SEP("mnuSpaceV6", V),
        ITEM("mnuFocusTree", "Go to &Database Tree", "Ctrl+1"),
        ITEM("mnuFocusSheet", "Go to Data S&heet", "Ctrl+2"),
        ITEM("mnuFocusSql", "Go to S&QL Box", "Ctrl+3"),
    };
    static const Entry tools[] = {
        HIDDEN("mnuSetThresholds", "Set Thresholds", ""),
        SUB("mnuOptions", "&Options", H),
        CHECK("mnuGridLine", "Grid Line", "", V, true),
        ITEM("mnuFlagMenu", "Flag", ""),
        END,
        HIDDEN("mnuMouseMode0", "&Mouse Mode", ""),
        CHECK("mnuMouseMode(0)", "&Row && Find Mode", "F6", V, true),
        CHECK("mnuMouseMode(1)", "&Block && Edit Mode", "F7", V, false),
        SEP("mnuSpace7", V),
        CHECK("mnuDragNo", "&No Drag", "", H, true),
        CHECK("mnuDragDrop", "&Drag Mode", "F8", V, false),
        HIDDEN("mnuEditCol", "&Edit Column...", ""),
        SEP("mnuSpace79", H),
        ITEM("mnuAddFlagCol", "Add &Flag Column", ""),
        SEP("mnuSpace8", H),
        ITEM("mnuSetColHeaderRow", "Set As Column &Header Row", ""),
        SEP("mnuSpace81", H),
        SEP("mnuSpace82", V),
        ITEM("mnuAnalysis", "&Column Statistics", "F12"),
    };
    static const Entry help[] = {
        ITEM("mnuTip", "&Tip of The Day", "F1"),
        SEP("mnuSpace5", V),
        ITEM("mnuWeb", "Veltrano on the &Web", ""),
        ITEM("mnuDisclaimer", "&Disclaimer", ""),
        SEP("mnuSpace3", V),
        ITEM("mnuAbout", "&About", ""),
    };
    struct Top {
        const char* name;
        const char* caption;
        const Entry* first;
        const Entry* last;
    };
    const Top tops[] = {
        {"mnuFile", "&File", std::begin(file), std::end(file)},
        {"mnuEdit", "&Edit", std::begin(edit), std::end(edit)},
        {"mnuView", "&View", std::begin(view), std::end(view)},
        {"mnuTools", "&Tools", std::begin(tools), std::end(tools)},
        {"mnuHelp", "&Help", std::begin(help), std::end(help)},
    };
    for (const Top& top : tops) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(top.caption));
        menu->setObjectName(QString::fromUtf8(top.name));
        menu->menuAction()->setObjectName(QString::fromUtf8(top.name));
        actions_.insert(menu->objectName(), menu->menuAction());
        menus_.insert(menu->objectName(), menu);
        addEntries(menu, top.first, top.last);
    }
}

void MainMenus::buildPopup(QWidget* owner) {
    static const Entry popup[] = {
        ITEM("mnuPUEditCell", "Edit Cell", ""),
        SEP("mnuPUSpace0", V),
        ITEM("mnuPUCut", "Cut", ""),
        ITEM("mnuPUCopy", "Copy", ""),
        ITEM("mnuPUPaste", "Paste", ""),
        SEP("mnuPUSpace1", V),
        SUB("mnuPUInsert", "Insert", V),
        ITEM("mnuPUInsertRow", "Row", ""),
        ITEM("mnuPUInsertCol", "Col", ""),
        END,
        SUB("mnuPUDelete", "Delete", V),
        ITEM("mnuPUDeleteRow", "Row(s)", ""),
        ITEM("mnuPUDeleteCol", "Col", ""),
        END,
        SEP("mnuPUSpace2", V),
        ITEM("mnuPUColTitle", "Column Title...", ""),
        SUB("mnuPUColFormat", "Column Format", V),
        ITEM("mnuPU0", "0", ""),
        ITEM("mnuPU000", "0.00", ""),
        ITEM("mnuPUComma", "#,###", ""),
        ITEM("mnuPUComma00", "#,###.00", ""),
        ITEM("mnuPUDollarComma", "$#,###", ""),
        ITEM("mnuPUDollarComma00", "$#,###.00", ""),
        END,
        SEP("mnuPUSpace3", V),
        ITEM("mnuPUSetFlag", "Set Flag", ""),
        SEP("mnuPUSpace4", V),
        ITEM("mnuPUColHeader", "Set As Column Header Row", ""),
    };
    popup_ = new QMenu(owner);
    popup_->setObjectName(QStringLiteral("mnuGrid1Popup"));
    menus_.insert(popup_->objectName(), popup_);
    addEntries(popup_, std::begin(popup), std::end(popup));
}

void MainMenus::addEntries(QMenu* parent, const Entry* first, const Entry* last) {
    QMenu* target = parent;
    for (const Entry* e = first; e != last; ++e) {
        switch (e->kind) {
            case Entry::Submenu:
                target =
                    addSubmenu(parent, QString::fromUtf8(e->name), QString::fromUtf8(e->caption));
                target->menuAction()->setVisible(e->visible);
                break;
            case Entry::End:
                target = parent;
                break;
            default:
                addItem(target, *e);
                break;
        }
    }
}

QMenu* MainMenus::addSubmenu(QMenu* parent, const QString& name, const QString& caption) {
    QMenu* sub = parent->addMenu(caption);
    sub->setObjectName(name);
    sub->menuAction()->setObjectName(name);
    actions_.insert(name, sub->menuAction());
    menus_.insert(name, sub);
    return sub;
}

QAction* MainMenus::addItem(QMenu* parent, const Entry& e) {
    // A separator's caption "-" would be drawn beside its line; it stays empty.
    const bool separator = e.kind == Entry::Separator;
    QAction* action = parent->addAction(separator ? QString() : QString::fromUtf8(e.caption));
    action->setObjectName(QString::fromUtf8(e.name));
    action->setSeparator(separator);
    if (*e.shortcut) {
        action->setShortcut(QKeySequence(QString::fromUtf8(e.shortcut)));
    }
    action->setCheckable(e.checkable);
    action->setChecked(e.checked);
    action->setEnabled(e.enabled);
    action->setVisible(e.visible);
    actions_.insert(action->objectName(), action);
    return action;
}

}  // namespace ui
