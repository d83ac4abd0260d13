// The tip-of-the-day window ("frmTips"). It shows one tip drawn at random,
// walks through the others with Next and Previous, and offers the
// show-at-start-up check box, whose state counts only when OK closes the
// window.
#pragma once

#include <QDialog>

#include "ui/tips.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace ui {

class Desktop;

class TipsWindow : public QDialog {
    Q_OBJECT
  public:
    // showTipsAtStartup is the program-wide option: read when the window
    // opens, written by OK. random picks the first tip (see Tips::firstIndex).
    TipsWindow(bool& showTipsAtStartup, Desktop& desktop, double random, QWidget* parent = nullptr);

    const Tips& tips() const { return tips_; }

    QLabel* tipLabel = nullptr;  // the tip shown
    QPushButton* previousButton = nullptr;
    QPushButton* nextButton = nullptr;
    QPushButton* okButton = nullptr;
    QCheckBox* showTipsCheckBox = nullptr;

    void showNextTip();
    void showPreviousTip();
    void onOkClicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void resetPointerOver(QWidget* widget);

    bool& showTipsAtStartup_;
    Desktop& desktop_;
    Tips tips_;
};

}  // namespace ui
