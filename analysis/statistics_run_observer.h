// What a window shows of a statistics run: the hourglass and progress bar per
// numeric column, and the pause for pending window events between its passes.
#pragma once

#include "analysis/pass_progress.h"

namespace analysis {

// Steps of a run a window shows. Called for numeric columns only, in this
// order per column: columnStarted, rowDone for every data row, columnDone
// (after the figures and before the histogram is counted).
class StatisticsRunObserver : public PassProgress {
  public:
    void rowDone(int, int) override {}
    // Hourglass pointer and progress bar shown.
    virtual void columnStarted(int) {}
    // Bar chart offered, pending window events processed once, progress bar
    // hidden.
    virtual void columnDone(int) {}
    // Asked after each numeric column: true ends the run there.
    virtual bool stopRequested() const { return false; }
};

}  // namespace analysis
