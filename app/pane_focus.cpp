#include "app/pane_focus.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>

#include "sheet/grid.h"
#include "ui/menu_actions.h"
#include "ui/tab_strip.h"
#include "ui/window_controls.h"

namespace app {

PaneFocus::PaneFocus(const ui::WindowControls& controls, const ui::MenuActions& menus,
                     QObject* parent)
    : QObject(parent), controls_(controls) {
    connect(menus.focusTree, &QAction::triggered, this, &PaneFocus::focusTree);
    connect(menus.focusSheet, &QAction::triggered, this, &PaneFocus::focusSheet);
    connect(menus.focusSqlBox, &QAction::triggered, this, &PaneFocus::focusSqlBox);
    setTabOrder();
}

void PaneFocus::setTabOrder() {
    const ui::WindowControls& c = controls_;
    c.dataSheet->setTabKeyNavigation(false);
    c.formView->setTabKeyNavigation(false);
    c.sqlBox->setTabChangesFocus(true);
    const ui::SqlButtons& b = c.sqlButtons;
    QWidget* const chain[] = {c.databaseTree, c.dataSheet,      c.tabStrip->tabBar(),
                              c.formView,     c.statisticsGrid, c.sqlBox,
                              b.run,          b.clear,          b.saveQuery,
                              b.deleteQuery,  b.lock,           b.unlock};
    for (std::size_t i = 1; i < std::size(chain); ++i) {
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    }
}

void PaneFocus::focusTree() {
    if (controls_.databaseTree->isVisible()) {
        controls_.databaseTree->setFocus(Qt::ShortcutFocusReason);
    }
}

void PaneFocus::focusSheet() {
    controls_.dataSheet->setFocus(Qt::ShortcutFocusReason);
}

void PaneFocus::focusSqlBox() {
    ui::TabStrip& tabs = *controls_.tabStrip;
    if (!tabs.isVisible() || !tabs.isTabVisible(ui::TabStrip::Sql)) {
        return;
    }
    tabs.setCurrentPage(ui::TabStrip::Sql);
    controls_.sqlBox->setFocus(Qt::ShortcutFocusReason);
}

}  // namespace app
