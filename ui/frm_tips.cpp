#include "ui/frm_tips.h"

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

frmTips::frmTips(bool& showTipsAtStartup, Desktop& desktop, double random, QWidget* parent)
    : QDialog(parent),
      showTipsAtStartup_(showTipsAtStartup),
      desktop_(desktop),
      tips_(QString::fromLatin1(kMakerWebAddress)) {
    setObjectName(QStringLiteral("frmTips"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    createControls();
    chkShowTips->setChecked(showTipsAtStartup_);
    Label2->setText(tips_.first(random));
    connect(cmdNext, &QPushButton::clicked, this, &frmTips::cmdNext_Click);
    connect(cmdPrevious, &QPushButton::clicked, this, &frmTips::cmdPrevious_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmTips::cmdOK_Click);
}

void frmTips::createControls() {
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
    Label2 = new QLabel(panel);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setMinimumSize(300, 130);
    auto* inside = new QGridLayout(panel);
    inside->addWidget(icon, 0, 0);
    inside->addWidget(heading, 0, 1);
    inside->addWidget(Label2, 1, 1);
    inside->setColumnStretch(1, 1);
    inside->setRowStretch(1, 1);

    cmdNext = new QPushButton(QStringLiteral("Next Tip"), this);
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    cmdPrevious = new QPushButton(QStringLiteral("PreviousTip"), this);
    cmdPrevious->setObjectName(QStringLiteral("cmdPrevious"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdNext);
    buttons->addWidget(cmdPrevious);
    buttons->addStretch(1);

    chkShowTips = new QCheckBox(QStringLiteral("Show Tips at Startup"), this);
    chkShowTips->setObjectName(QStringLiteral("chkShowTips"));
    auto* product = new QLabel(QStringLiteral("%1 %2").arg(QString::fromLatin1(kMakerName),
                                                           QString::fromLatin1(kProductName)),
                               this);
    product->setObjectName(QStringLiteral("lblProduct"));
    product->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* grid = new QGridLayout(this);
    grid->addWidget(panel, 0, 0);
    grid->addLayout(buttons, 0, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(chkShowTips);
    bottom->addStretch(1);
    bottom->addWidget(product);
    grid->addLayout(bottom, 1, 0, 1, 2);
    resetPointerOver(this);
    resetPointerOver(panel);
}

void frmTips::resetPointerOver(QWidget* widget) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
}

bool frmTips::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        desktop_.setPointer(Desktop::Pointer::Default);
    }
    return QDialog::eventFilter(watched, event);
}

void frmTips::cmdNext_Click() {
    Label2->setText(tips_.next());
}

void frmTips::cmdPrevious_Click() {
    Label2->setText(tips_.previous());
}

// Only OK records the check box; any other way of closing leaves the option.
void frmTips::cmdOK_Click() {
    showTipsAtStartup_ = chkShowTips->isChecked();
    accept();
}

}  // namespace ui
