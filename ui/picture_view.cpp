#include "ui/picture_view.h"

#include <QPainter>

namespace ui {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(32, 32);
}

void PictureView::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

QRect PictureView::pictureRect() const {
    if (picture_.isNull()) {
        return {};
    }
    QSize size = picture_.size();
    if (size.width() > width() || size.height() > height()) {
        size.scale(this->size(), Qt::KeepAspectRatio);
    }
    const QPoint corner((width() - size.width()) / 2, (height() - size.height()) / 2);
    return QRect(corner, size);
}

void PictureView::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureRect(), picture_);
}

}  // namespace ui
