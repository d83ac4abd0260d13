// LoadProgress on the window's progress bar: after a short while the bar
// appears (a moving bar when the row count is unknown) and pending window
// events are processed now and then, so the window keeps painting while a
// big result loads. Meanwhile user input is ignored, except Esc, which asks
// to stop the load.
#pragma once

#include <QElapsedTimer>
#include <QObject>

#include "db/load_progress.h"
#include "sheet/input_hold.h"

class QProgressBar;

namespace db {

class ProgressBarFeedback : public LoadProgress {
  public:
    static constexpr int kShowAfterMs = 250;  // quick loads show no bar
    static constexpr int kPaintEveryMs = 40;

    explicit ProgressBarFeedback(QProgressBar* bar) : bar_(bar) {}

    void started(uint64_t expected) override;
    void advanced(uint64_t rows) override;
    void finished() override;
    bool stopRequested() const override { return input_.stopRequested(); }
    // The number of rows, learnt once the work has begun (0: unknown).
    void expect(uint64_t rows);

    // Times the window was given a chance to paint (tests).
    int paintPasses() const { return passes_; }

  private:
    QProgressBar* bar_;
    QElapsedTimer clock_;
    qint64 lastPass_ = 0;
    uint64_t expected_ = 0;
    int passes_ = 0;
    bool shown_ = false;
    sheet::InputHold input_;
};

}  // namespace db
