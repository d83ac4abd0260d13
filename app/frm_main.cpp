#include "app/frm_main.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include "app/module_main.h"
#include "sheet/grid.h"
#include "ui/caption_panel.h"
#include "ui/color_palette.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/size_boxes.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"
#include "ui/toolbar_icons.h"

namespace {

// The SQL box's first text: three lines, each ended by CR LF.
const char* const kSqlBoxStart = "SELECT \r\n FROM \r\n \r\n";

QFrame* splitterBar(QWidget* parent, const char* name, const QColor& color, bool visible) {
    auto* bar = new QFrame(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setAutoFillBackground(true);
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Window, color);
    bar->setPalette(pal);
    bar->setVisible(visible);
    return bar;
}

}  // namespace

frmMain::frmMain(ModuleMain& module, app::SettingsFile& settings, ui::Dialogs& dialogs,
                 ui::Desktop& desktop, QWidget* parent)
    : QMainWindow(parent),
      module_(module),
      settings_(settings),
      dialogs_(dialogs),
      desktop_(desktop) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tablescope"));
    createControls();
    sheetUpdate_ = new sheet::SheetUpdate(*fa, *fb, sheetState, *this, ImgNone);
    connectHandlers();
}

frmMain::~frmMain() {
    delete sheetUpdate_;
}

void frmMain::createControls() {
    client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setMouseTracking(true);
    setCentralWidget(client);
    menus = new ui::MainMenus(menuBar(), this);
    Toolbar = new ui::MainToolbar(client);
    SBar = new ui::StatusPanels(client);
    Progress = new QProgressBar(client);
    Progress->setObjectName(QStringLiteral("Progress"));
    Progress->setTextVisible(false);
    Progress->setValue(0);
    Progress->setVisible(false);  // shown only while statistics are computed
    createPictures();
    createSheetControls();
    createTabPages();
    createSplitters();
    PanColor = new ui::ColorPalette(client);
    PanColor->place(dpiX(), dpiY());
    Progress->raise();
    PanColor->raise();
}

void frmMain::createPictures() {
    ImgFlag[0] = ui::ToolbarIcons::flag();
    for (int i = 1; i < 4; ++i) {
        ImgFlag[i] = ImgFlag[0];
    }
    ImgU = ui::ToolbarIcons::sortUp();
    ImgD = ui::ToolbarIcons::sortDown();
    ImgUp = ImgU;
    ImgDown = ImgD;
    ImgNone = ui::ToolbarIcons::blank();
}

void frmMain::createSheetControls() {
    fa = new sheet::Grid(client);
    fa->setObjectName(QStringLiteral("fa"));
    TreeView1 = new QTreeWidget(client);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    VTPan = new ui::CaptionPanel(client);
    VTPan->raise();
}

void frmMain::createTabPages() {
    TabStrip1 = new ui::TabStrip(client);
    fb = new sheet::Grid(TabStrip1);
    fb->setObjectName(QStringLiteral("fb"));
    fs = new sheet::Grid(TabStrip1);
    fs->setObjectName(QStringLiteral("fs"));
    Tree2 = new QTreeWidget(TabStrip1);
    Tree2->setObjectName(QStringLiteral("Tree2"));
    Tree2->setHeaderHidden(true);
    txtSQL = new QPlainTextEdit(TabStrip1);
    txtSQL->setObjectName(QStringLiteral("txtSQL"));
    txtSQL->setPlainText(QString::fromLatin1(kSqlBoxStart));
    txtSQL->setLineWrapMode(QPlainTextEdit::NoWrap);
    TabStrip1->addPageControl(ui::TabStrip::Form, fb);
    TabStrip1->addPageControl(ui::TabStrip::Table, Tree2);
    TabStrip1->addPageControl(ui::TabStrip::Sql, txtSQL);
    TabStrip1->addPageControl(ui::TabStrip::ColumnStatistics, fs);
    createSqlButtons();
}

void frmMain::createSqlButtons() {
    struct Spec {
        QPushButton** button;
        const char* name;
        const char* tip;
    };
    const Spec specs[] = {
        {&cmdLockSQL, "cmdLockSQL", "Lock SQL text for editing"},
        {&cmdRun, "cmdRun", "Execute current SQL"},
        {&cmdClear, "cmdClear", "New SQL"},
        {&cmdSaveSQL, "cmdSaveSQL", "Save As New Query"},
        {&cmdDeleteSQL, "cmdDeleteSQL", "Delete current Query"},
        {&cmdUnlockSQL, "cmdUnlockSQL", "Unlock SQL text"},
    };
    for (const Spec& s : specs) {
        auto* b = new QPushButton(TabStrip1);
        b->setObjectName(QString::fromLatin1(s.name));
        b->setToolTip(QString::fromLatin1(s.tip));
        b->setIcon(ui::ToolbarIcons::sqlButton(b->objectName()));
        b->setFocusPolicy(Qt::TabFocus);
        TabStrip1->addPageControl(ui::TabStrip::Sql, b);
        *s.button = b;
    }
    // Lock and unlock share one place; the SQL box shows one of them at a time.
    cmdUnlockSQL->setVisible(false);
}

void frmMain::createSplitters() {
    const QColor face = palette().color(QPalette::Button);
    HBar = splitterBar(client, "HBar", face, true);
    VBar = splitterBar(client, "VBar", face, true);
    HBar->setCursor(Qt::SizeVerCursor);
    VBar->setCursor(Qt::SizeHorCursor);
    HBar1 = splitterBar(client, "HBar1", QColor(90, 90, 90), false);
    VBar1 = splitterBar(client, "VBar1", QColor(90, 90, 90), false);
    HBar2 = splitterBar(client, "HBar2", QColor(200, 40, 40), false);
    VBar2 = splitterBar(client, "VBar2", QColor(200, 40, 40), false);
    for (QFrame* bar : {HBar1, VBar1, HBar2, VBar2}) {
        bar->raise();
    }
    // Splitters report their mouse to the window, which runs the drag rules.
    HBar->installEventFilter(this);
    VBar->installEventFilter(this);
}

void frmMain::connectHandlers() {
    connect(menus->action(QStringLiteral("mnuExit")), &QAction::triggered, this,
            &frmMain::mnuExit_Click);
    connectSheetHandlers();
    connectBrowserHandlers();
    connectStatisticsHandlers();
    connectSqlHandlers();
    connectQueryHandlers();
    connectFileHandlers();
    connectSheetCommandHandlers();
    connectFormatHandlers();
    connectViewHandlers();
    connectModeHandlers();
    connectToolbarHandlers();
    connectEditHandlers();
    keepMenuShortcutsInSqlBox();
    resetPointerOver(
        {client, VTPan, TabStrip1, txtSQL->viewport(), TreeView1->viewport(), PanColor});
    for (int i = 0; i < ui::ColorPalette::kSwatchCount; ++i) {
        resetPointerOver({PanColor->swatch(i)});
    }
}

void frmMain::connectSheetHandlers() {
    connect(fa, &sheet::Grid::clickedCell, this, &frmMain::fa_Click);
    connect(fa, &sheet::Grid::keyDown, this,
            [this](int key, Qt::KeyboardModifiers) { fa_KeyDown(key); });
    connect(fa, &sheet::Grid::gotFocus, this, &frmMain::fa_GotFocus);
    connect(fb, &sheet::Grid::gotFocus, this, &frmMain::fb_GotFocus);
    for (sheet::Grid* grid : {fa, fb}) {
        connect(grid, &sheet::Grid::mouseMoved, this,
                [this] { desktop_.setPointer(ui::Desktop::Pointer::Default); });
    }
}

// The SQL box would take the editing shortcuts for itself; the menu's
// commands run instead, so Cut/Copy/Paste act on the last-focused pane.
void frmMain::keepMenuShortcutsInSqlBox() {
    txtSQL->installEventFilter(this);
}

void frmMain::resetPointerOver(std::initializer_list<QWidget*> widgets) {
    for (QWidget* w : widgets) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (splitterMouse(watched, event)) {
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        desktop_.setPointer(ui::Desktop::Pointer::Default);
        return false;
    }
    if (watched == txtSQL && event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        static const char* const kMenuKeys[] = {"Ctrl+C",    "Ctrl+V",   "Ctrl+X",    "Ctrl+A",
                                                "Shift+Ins", "Ctrl+Ins", "Shift+Del", "Ctrl+D"};
        for (const char* k : kMenuKeys) {
            if (pressed == QKeySequence(QString::fromLatin1(k))) {
                return true;  // not accepted: the menu's shortcut runs
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
