// The status bar `SBar` with its five text panels, numbered from 1: product
// banner, "SQL", "EDIT", "DRAG", and the current row " / " row count.
#pragma once

#include <QStatusBar>

class QLabel;

namespace ui {

class StatusPanels : public QStatusBar {
  public:
    static constexpr int kPanelCount = 5;

    explicit StatusPanels(QWidget* parent = nullptr);

    // Panel i, 1 to 5; other indexes are ignored (read as empty).
    void setPanelText(int i, const QString& text);
    QString panelText(int i) const;
    // Geometry of panel i in the bar's coordinates (for the progress bar).
    QRect panelRect(int i) const;

  private:
    QLabel* panels_[kPanelCount];
};

}  // namespace ui
