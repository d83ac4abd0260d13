// The "Rows" and "Cols" boxes with their spin buttons (SSPanel2 holding
// SSPanel1(0..1), txtRow, UpDownRow, txtCol, UpDownCol). The window's
// handlers give the boxes their meaning; this class only builds them.
#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;

namespace ui {

class SpinButtons;

class SizeBoxes : public QFrame {
  public:
    explicit SizeBoxes(QWidget* parent = nullptr);

    QLineEdit* rowsBox;
    SpinButtons* rowsSpin;
    QLineEdit* colsBox;
    SpinButtons* colsSpin;
    QLabel* rowsLabel;  // SSPanel1(0)
    QLabel* colsLabel;  // SSPanel1(1)

  private:
    void addBox(QLabel*& label, const char* name, const QString& caption, QLineEdit*& box,
                const char* boxName, SpinButtons*& spin, const char* spinName, int chars);
};

}  // namespace ui
