// A pair of up/down arrow buttons beside a text box (the UpDown control):
// it only reports presses; the box's owner decides what a step means.
#pragma once

#include <QWidget>

class QToolButton;

namespace ui {

class SpinButtons : public QWidget {
    Q_OBJECT
  public:
    explicit SpinButtons(QWidget* parent = nullptr);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

  signals:
    void upClicked();
    void downClicked();

  private:
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace ui
