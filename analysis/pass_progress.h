// Progress of a column pass, told after every row so that a window can move
// its progress bar.
#pragma once

namespace analysis {

class PassProgress {
  public:
    virtual ~PassProgress() = default;
    virtual void rowDone(int row, int rows) = 0;
};

}  // namespace analysis
