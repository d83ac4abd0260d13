#include "ui/caption_panel.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/maker_info.h"
#include "ui/product_look.h"

namespace ui {

CaptionPanel::CaptionPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("VTPan"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    auto* column = new QVBoxLayout(this);
    column->addStretch(1);
    auto* image = new QLabel(this);
    image->setPixmap(productLogo(devicePixelRatioF()));
    image->setAlignment(Qt::AlignCenter);
    column->addWidget(image);
    column->addWidget(centred(sizedLabel(QString::fromLatin1(kMakerName), this, 0, false)));
    column->addWidget(centred(sizedLabel(QString::fromLatin1(kProductName), this, 6, true)));
    web_ = centred(sizedLabel(QString::fromLatin1(kMakerWebAddress), this, -1, false));
    web_->setObjectName(QStringLiteral("Label2"));
    web_->setWordWrap(true);
    web_->setCursor(Qt::PointingHandCursor);
    web_->setStyleSheet(QStringLiteral("color: #1a4fb0; text-decoration: underline;"));
    web_->installEventFilter(this);
    column->addWidget(web_);
    column->addStretch(2);
}

bool CaptionPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == web_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        emit webClicked();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace ui
