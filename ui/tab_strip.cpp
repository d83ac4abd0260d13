#include "ui/tab_strip.h"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

namespace ui {

TabStrip::TabStrip(QWidget* parent) : QWidget(parent), controls_(4) {
    setObjectName(QStringLiteral("TabStrip1"));
    bar_ = new QTabBar(this);
    bar_->setObjectName(QStringLiteral("TabStrip1.Tabs"));
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->setElideMode(Qt::ElideRight);
    bar_->setUsesScrollButtons(true);
    for (const char* caption : {"Form", "Table", "SQL", "Column Statistics"}) {
        bar_->addTab(QString::fromLatin1(caption));
    }
    connect(bar_, &QTabBar::currentChanged, this, &TabStrip::showPage);
    connect(bar_, &QTabBar::tabBarClicked, this, [this](int page) {
        if (page >= 0) {
            // The bar changes its page only after this signal; the click's
            // handler wants to see the page it leads to.
            if (bar_->isTabEnabled(page)) {
                bar_->setCurrentIndex(page);
            }
            emit tabClicked(page);
        }
    });
}

void TabStrip::addPageControl(int page, QWidget* control) {
    if (page < 0 || page >= controls_.size()) {
        return;
    }
    controls_[page].append(control);
    control->setVisible(page == currentPage());
}

void TabStrip::setTabVisible(int page, bool visible) {
    if (!visible && page == bar_->currentIndex()) {
        // The current page goes away: the first other visible page takes over.
        for (int i = 0; i < bar_->count(); ++i) {
            if (i != page && bar_->isTabVisible(i)) {
                bar_->setCurrentIndex(i);
                break;
            }
        }
    }
    // Qt 6.4's tab bar forgets a pending relayout when told a visibility the
    // tab already has: only a change is passed on, or a tab shown a moment
    // earlier stays without room and is never drawn.
    if (bar_->isTabVisible(page) != visible) {
        bar_->setTabVisible(page, visible);
    }
    showPage(bar_->currentIndex());
}

void TabStrip::setControlShown(QWidget* control, bool shown) {
    if (shown) {
        withheld_.remove(control);
    } else {
        withheld_.insert(control);
    }
    showPage(bar_->currentIndex());
}

bool TabStrip::isTabVisible(int page) const {
    return bar_->isTabVisible(page);
}

int TabStrip::currentPage() const {
    return bar_->currentIndex();
}

void TabStrip::setCurrentPage(int page) {
    bar_->setCurrentIndex(page);
}

void TabStrip::showPage(int page) {
    for (int i = 0; i < controls_.size(); ++i) {
        for (QWidget* control : controls_[i]) {
            control->setVisible(i == page && !withheld_.contains(control));
        }
    }
}

void TabStrip::resizeEvent(QResizeEvent*) {
    bar_->setGeometry(0, 0, width(), bar_->sizeHint().height());
}

void TabStrip::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, bar_->height() - 1, 0, 0);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = bar_->sizeHint();
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

}  // namespace ui
