#include "db/progress_bar_feedback.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QProgressBar>

#include <algorithm>

namespace db {

namespace {
constexpr int kScale = 1000;  // the bar counts in thousandths of the expected rows
}

void ProgressBarFeedback::started(uint64_t expected) {
    expected_ = expected;
    passes_ = 0;
    shown_ = false;
    lastPass_ = 0;
    stopRequested_ = false;
    if (!loading_ && QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    loading_ = true;
    clock_.start();
}

// While loading, keys and clicks reach no control (a command in the middle
// of a load would act on a half-filled sheet); Esc asks to stop.
bool ProgressBarFeedback::eventFilter(QObject* watched, QEvent* event) {
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

void ProgressBarFeedback::advanced(uint64_t rows) {
    const qint64 now = clock_.elapsed();
    if (now - lastPass_ < kPaintEveryMs) {
        return;
    }
    lastPass_ = now;
    if (bar_ && !shown_ && now >= kShowAfterMs) {
        shown_ = true;
        bar_->setRange(0, expected_ > 0 ? kScale : 0);
        bar_->setValue(0);
        bar_->setVisible(true);
        bar_->raise();
    }
    if (bar_ && shown_ && expected_ > 0) {
        bar_->setValue(int(std::min<uint64_t>(kScale, rows * kScale / expected_)));
    }
    ++passes_;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void ProgressBarFeedback::expect(uint64_t rows) {
    expected_ = rows;
    if (bar_ && shown_) {
        bar_->setRange(0, expected_ > 0 ? kScale : 0);
    }
}

void ProgressBarFeedback::finished() {
    if (loading_ && QCoreApplication::instance()) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
    loading_ = false;
    if (bar_ && shown_) {
        bar_->setVisible(false);
        bar_->setRange(0, 100);
        bar_->setValue(0);
    }
    shown_ = false;
}

}  // namespace db
