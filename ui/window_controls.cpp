#include "ui/window_controls.h"

#include <QFrame>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include "sheet/grid.h"
#include "ui/caption_panel.h"
#include "ui/color_palette.h"
#include "ui/main_toolbar.h"
#include "ui/status_panels.h"
#include "ui/tab_strip.h"
#include "ui/toolbar_icons.h"

namespace ui {

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

QTreeWidget* tree(QWidget* parent, const char* name) {
    auto* t = new QTreeWidget(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setHeaderHidden(true);
    return t;
}

sheet::Grid* grid(QWidget* parent, const char* name) {
    auto* g = new sheet::Grid(parent);
    g->setObjectName(QString::fromLatin1(name));
    return g;
}

}  // namespace

WindowControls WindowControls::create(QWidget* client, double dpi) {
    WindowControls c;
    c.client = client;
    c.toolbar = new MainToolbar(client);
    c.statusPanels = new StatusPanels(client);
    c.progressBar = new QProgressBar(client);
    c.progressBar->setObjectName(QStringLiteral("Progress"));
    c.progressBar->setTextVisible(false);
    c.progressBar->setValue(0);
    c.progressBar->setVisible(false);  // shown only while statistics are computed
    c.pictures = {ToolbarIcons::flag(), ToolbarIcons::sortUp(), ToolbarIcons::sortDown(),
                  ToolbarIcons::blank()};
    c.createSheetControls();
    c.createTabPages();
    c.createSplitters();
    c.fontPalette = new ColorPalette(client);
    c.fontPalette->place(dpi, dpi);
    c.progressBar->raise();
    c.fontPalette->raise();
    return c;
}

void WindowControls::createSheetControls() {
    dataSheet = grid(client, "fa");
    databaseTree = tree(client, "TreeView1");
    // Field nodes carry their types: a long one scrolls rather than being
    // cut short with an ellipsis.
    databaseTree->header()->setStretchLastSection(false);
    databaseTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    captionPanel = new CaptionPanel(client);
    captionPanel->raise();
}

void WindowControls::createTabPages() {
    tabStrip = new TabStrip(client);
    formView = grid(tabStrip, "fb");
    statisticsGrid = grid(tabStrip, "fs");
    tableTree = tree(tabStrip, "Tree2");
    sqlBox = new QPlainTextEdit(tabStrip);
    sqlBox->setObjectName(QStringLiteral("txtSQL"));
    sqlBox->setPlainText(QString::fromLatin1(kSqlBoxStart));
    sqlBox->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    tabStrip->addPageControl(TabStrip::Form, formView);
    tabStrip->addPageControl(TabStrip::Table, tableTree);
    tabStrip->addPageControl(TabStrip::Sql, sqlBox);
    tabStrip->addPageControl(TabStrip::ColumnStatistics, statisticsGrid);
    createSqlButtons();
}

void WindowControls::createSqlButtons() {
    struct Spec {
        QPushButton* SqlButtons::*button;
        const char* name;
        const char* tip;
    };
    static const Spec specs[] = {
        {&SqlButtons::lock, "cmdLockSQL", "Lock SQL text for editing"},
        {&SqlButtons::run, "cmdRun", "Execute current SQL"},
        {&SqlButtons::clear, "cmdClear", "New SQL"},
        {&SqlButtons::saveQuery, "cmdSaveSQL", "Save As New Query"},
        {&SqlButtons::deleteQuery, "cmdDeleteSQL", "Delete current Query"},
        {&SqlButtons::unlock, "cmdUnlockSQL", "Unlock SQL text"},
    };
    for (const Spec& s : specs) {
        auto* b = new QPushButton(tabStrip);
        b->setObjectName(QString::fromLatin1(s.name));
        b->setToolTip(QString::fromLatin1(s.tip));
        b->setIcon(ToolbarIcons::sqlButton(b->objectName()));
        b->setFocusPolicy(Qt::TabFocus);
        tabStrip->addPageControl(TabStrip::Sql, b);
        sqlButtons.*s.button = b;
    }
    // Lock and unlock share one place; the SQL box shows one of them at a time.
    sqlButtons.unlock->setVisible(false);
}

void WindowControls::createSplitters() {
    const QColor face = client->palette().color(QPalette::Button);
    const QColor drag(90, 90, 90);
    const QColor limit(200, 40, 40);
    splitters.horizontal = splitterBar(client, "HBar", face, true);
    splitters.vertical = splitterBar(client, "VBar", face, true);
    splitters.horizontal->setCursor(Qt::SizeVerCursor);
    splitters.vertical->setCursor(Qt::SizeHorCursor);
    splitters.horizontalDrag = splitterBar(client, "HBar1", drag, false);
    splitters.verticalDrag = splitterBar(client, "VBar1", drag, false);
    splitters.horizontalLimit = splitterBar(client, "HBar2", limit, false);
    splitters.verticalLimit = splitterBar(client, "VBar2", limit, false);
    for (QFrame* bar : {splitters.horizontalDrag, splitters.verticalDrag, splitters.horizontalLimit,
                        splitters.verticalLimit}) {
        bar->raise();
    }
}

}  // namespace ui
