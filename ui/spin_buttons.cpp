#include "ui/spin_buttons.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace ui {

SpinButtons::SpinButtons(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    up_ = new QToolButton(this);
    down_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFixedSize(16, 11);
        b->setFocusPolicy(Qt::NoFocus);
        column->addWidget(b);
    }
    connect(up_, &QToolButton::clicked, this, &SpinButtons::upClicked);
    connect(down_, &QToolButton::clicked, this, &SpinButtons::downClicked);
}

}  // namespace ui
