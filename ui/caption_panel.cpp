#include "ui/caption_panel.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/maker_info.h"

namespace ui {

namespace {

QPixmap logo() {
    // A small table drawn under a magnifying glass.
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 60, 120), 2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 8, 40, 32));
    p.fillRect(QRectF(5, 9, 39, 7), QColor(60, 110, 190));
    for (int y = 24; y < 40; y += 8) {
        p.drawLine(4, y, 44, y);
    }
    p.drawLine(18, 8, 18, 40);
    p.drawLine(31, 8, 31, 40);
    p.setPen(QPen(QColor(90, 60, 20), 5));
    p.drawLine(QPointF(47, 47), QPointF(60, 60));
    p.setPen(QPen(QColor(40, 40, 40), 3));
    p.setBrush(QColor(200, 230, 255, 170));
    p.drawEllipse(QPointF(38, 38), 13, 13);
    return pm;
}

QLabel* centred(const QString& text, QWidget* parent, int pointDelta, bool bold) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() + pointDelta);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

}  // namespace

CaptionPanel::CaptionPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("VTPan"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    auto* column = new QVBoxLayout(this);
    column->addStretch(1);
    auto* image = new QLabel(this);
    image->setPixmap(logo());
    image->setAlignment(Qt::AlignCenter);
    column->addWidget(image);
    column->addWidget(centred(QString::fromLatin1(kMakerName), this, 0, false));
    column->addWidget(centred(QString::fromLatin1(kProductName), this, 6, true));
    web_ = centred(QString::fromLatin1(kMakerWebAddress), this, -1, false);
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
