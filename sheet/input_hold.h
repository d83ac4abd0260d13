// InputHold: while long work runs on the window's thread and lets the window
// paint now and then, keys and clicks reach no control (a command in the
// middle of the work would act on half-done work, or start it again); Esc
// asks the work to stop. Held from hold() until release() or destruction.
#pragma once

#include <QObject>

namespace sheet {

class InputHold : public QObject {
  public:
    InputHold() = default;
    ~InputHold() override;

    void hold();
    void release();
    bool holding() const { return holding_; }
    // Whether Esc was pressed since hold().
    bool stopRequested() const { return stopRequested_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool holding_ = false;
    bool stopRequested_ = false;
};

}  // namespace sheet
