// The caption panel: the maker's name, the product name and the
// maker's web address under a logo. It covers the tree while no database is
// open. A click on the address (the label `Label2`) asks for the web site.
#pragma once

#include <QFrame>

class QLabel;

namespace ui {

class CaptionPanel : public QFrame {
    Q_OBJECT
  public:
    explicit CaptionPanel(QWidget* parent = nullptr);

    QLabel* webLabel() const { return web_; }

  signals:
    void webClicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* web_;
};

}  // namespace ui
