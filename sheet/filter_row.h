// FilterRow: one text box per column in a band under the grid's titles, for
// the conditions of the sheet's filter (see FilterCondition). The boxes
// follow their columns as they are resized, moved or scrolled, and the
// titles keep their height above the band. The row only collects what is
// typed; whoever listens applies it.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <vector>

class QLineEdit;

namespace sheet {

class GridHeader;

class FilterRow : public QObject {
    Q_OBJECT
  public:
    explicit FilterRow(GridHeader& header);

    bool isShown() const { return shown_; }
    void setShown(bool shown);
    // The box of a column, or null when the row is hidden or the column is
    // out of range.
    QLineEdit* box(int col) const;
    QString text(int col) const;
    // Empties every box without announcing it.
    void clearTexts();

  signals:
    // The typing in the boxes settled (a short pause after the last
    // keystroke, or Enter): read the boxes anew.
    void typed();

  private:
    void matchColumns();
    void place();
    int bandHeight() const;

    GridHeader& header_;
    std::vector<QLineEdit*> boxes_;
    QTimer settle_;
    bool shown_ = false;
};

}  // namespace sheet
