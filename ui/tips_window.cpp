#include "ui/tips_window.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/desktop.h"
#include "ui/maker_info.h"
#include "ui/product_look.h"

namespace ui {

TipsWindow::TipsWindow(bool& showTipsAtStartup, Desktop& desktop, double random, QWidget* parent)
    : QDialog(parent),
      showTipsAtStartup_(showTipsAtStartup),
      desktop_(desktop),
      tips_(QString::fromLatin1(kMakerWebAddress)) {
    setObjectName(QStringLiteral("frmTips"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    createControls();
    showTipsCheckBox->setChecked(showTipsAtStartup_);
    tipLabel->setText(tips_.first(random));
    connect(nextButton, &QPushButton::clicked, this, &TipsWindow::showNextTip);
    connect(previousButton, &QPushButton::clicked, this, &TipsWindow::showPreviousTip);
    connect(okButton, &QPushButton::clicked, this, &TipsWindow::onOkClicked);
}

void TipsWindow::createControls() {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("frmTips.Panel"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Base);
    auto* icon = new QLabel(panel);
    icon->setPixmap(tipBulb(devicePixelRatioF()));
    auto* heading = new QLabel(QStringLiteral("Did you know..."), panel);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() + 3);
    heading->setFont(bold);
    tipLabel = new QLabel(panel);
    tipLabel->setObjectName(QStringLiteral("Label2"));
    tipLabel->setWordWrap(true);
    tipLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tipLabel->setMinimumSize(300, 130);
    auto* inside = new QGridLayout(panel);
    inside->addWidget(icon, 0, 0);
    inside->addWidget(heading, 0, 1);
    inside->addWidget(tipLabel, 1, 1);
    inside->setColumnStretch(1, 1);
    inside->setRowStretch(1, 1);

    nextButton = new QPushButton(QStringLiteral("Next Tip"), this);
    nextButton->setObjectName(QStringLiteral("cmdNext"));
    previousButton = new QPushButton(QStringLiteral("PreviousTip"), this);
    previousButton->setObjectName(QStringLiteral("cmdPrevious"));
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("cmdOK"));
    okButton->setDefault(true);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(okButton);
    buttons->addWidget(nextButton);
    buttons->addWidget(previousButton);
    buttons->addStretch(1);

    showTipsCheckBox = new QCheckBox(QStringLiteral("Show Tips at Startup"), this);
    showTipsCheckBox->setObjectName(QStringLiteral("chkShowTips"));
    auto* product = new QLabel(QStringLiteral("%1 %2").arg(QString::fromLatin1(kMakerName),
                                                           QString::fromLatin1(kProductName)),
                               this);
    product->setObjectName(QStringLiteral("lblProduct"));
    product->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* grid = new QGridLayout(this);
    grid->addWidget(panel, 0, 0);
    grid->addLayout(buttons, 0, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(showTipsCheckBox);
    bottom->addStretch(1);
    bottom->addWidget(product);
    grid->addLayout(bottom, 1, 0, 1, 2);
    resetPointerOver(this);
    resetPointerOver(panel);
}

void TipsWindow::resetPointerOver(QWidget* widget) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
}

bool TipsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        desktop_.setPointer(Desktop::Pointer::Default);
    }
    return QDialog::eventFilter(watched, event);
}

void TipsWindow::showNextTip() {
    tipLabel->setText(tips_.next());
}

void TipsWindow::showPreviousTip() {
    tipLabel->setText(tips_.previous());
}

// Only OK records the check box; any other way of closing leaves the option.
void TipsWindow::onOkClicked() {
    showTipsAtStartup_ = showTipsCheckBox->isChecked();
    accept();
}

}  // namespace ui
