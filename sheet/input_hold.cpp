#include "sheet/input_hold.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace sheet {

InputHold::~InputHold() {
    release();
}

void InputHold::hold() {
    stopRequested_ = false;
    if (!holding_ && QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
        holding_ = true;
    }
}

void InputHold::release() {
    if (holding_ && QCoreApplication::instance()) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
    holding_ = false;
}

bool InputHold::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            event->accept();  // no menu shortcut either
            return true;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                stopRequested_ = true;
            }
            return true;
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::Shortcut:
            return true;
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace sheet
