#include "db/progress_bar_feedback.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressBar>

#include <algorithm>

namespace db {

namespace {
constexpr int kScale = 1000;  // the bar counts in thousandths of the expected rows
}

// While loading, keys and clicks reach no control (a command in the middle
// of a load would act on a half-filled sheet); Esc asks to stop.
void ProgressBarFeedback::started(uint64_t expected) {
    expected_ = expected;
    passes_ = 0;
    shown_ = false;
    lastPass_ = 0;
    input_.hold();
    clock_.start();
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
    input_.release();
    if (bar_ && shown_) {
        bar_->setVisible(false);
        bar_->setRange(0, 100);
        bar_->setValue(0);
    }
    shown_ = false;
}

}  // namespace db
