#include "ui/about_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "ui/desktop.h"
#include "ui/maker_info.h"
#include "ui/product_look.h"

namespace ui {

AboutWindow::AboutWindow(Desktop& desktop, QWidget* parent) : QDialog(parent), desktop_(desktop) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(12);
    auto* logo = new QLabel(this);
    logo->setPixmap(productLogo(devicePixelRatioF()));
    logo->setAlignment(Qt::AlignTop);
    grid->addWidget(logo, 0, 0, 3, 1);
    grid->addWidget(sizedLabel(QString::fromLatin1(kMakerName), this, 1, false), 0, 1, 1, 2);
    grid->addWidget(sizedLabel(QString::fromLatin1(kProductName), this, 8, true), 1, 1, 1, 2);
    grid->addWidget(
        sizedLabel(QStringLiteral("Version %1").arg(QString::fromLatin1(kProductVersion)), this, 0,
                   false),
        2, 1, 1, 2);
    grid->setRowMinimumHeight(3, 12);
    grid->addWidget(new QLabel(QStringLiteral("Web Site:"), this), 4, 1);
    grid->addWidget(link(2, QString::fromLatin1(kMakerWebAddress)), 4, 2);
    grid->addWidget(new QLabel(QStringLiteral("Email:"), this), 5, 1);
    grid->addWidget(link(1, QString::fromLatin1(kSupportMail)), 5, 2);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("cmdQuit"));
    okButton->setDefault(true);
    grid->setRowMinimumHeight(6, 12);
    grid->addWidget(okButton, 7, 2, Qt::AlignRight);
    grid->setColumnStretch(2, 1);
    connect(okButton, &QPushButton::clicked, this, &AboutWindow::onOkClicked);
}

QLabel* AboutWindow::link(int index, const QString& caption) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(QStringLiteral("Label2(%1)").arg(index));
    label->setCursor(Qt::PointingHandCursor);
    label->setStyleSheet(QStringLiteral("color: #1a4fb0; text-decoration: underline;"));
    label->installEventFilter(this);
    links_[index] = label;
    return label;
}

QLabel* AboutWindow::linkLabel(int index) const {
    return index >= 1 && index <= 2 ? links_[index] : nullptr;
}

QString AboutWindow::linkTarget(int index) {
    switch (index) {
        case 1:
            return QStringLiteral("mailto:") + QString::fromLatin1(kInfoMail);
        case 2:
            return QString::fromLatin1(kMakerWebAddress);
        default:
            return {};
    }
}

void AboutWindow::onLinkClicked(int index) {
    const QString target = linkTarget(index);
    if (!target.isEmpty()) {
        desktop_.openUrl(target);
    }
}

void AboutWindow::onOkClicked() {
    close();
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 1; i <= 2; ++i) {
            if (watched == links_[i]) {
                onLinkClicked(i);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AboutWindow::mousePressEvent(QMouseEvent* event) {
    event->accept();  // the release that follows closes the window
}

// A click on the window's background (not on a label or the button, which
// take their own clicks) closes it.
void AboutWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        close();
        return;
    }
    QDialog::mouseReleaseEvent(event);
}

}  // namespace ui
