// FindBar: the find box that floats over the top right corner of a grid
// (the bottom right one while the current hit would be under it)
// (Ctrl+F): the text, Next and Previous, Match case, Whole cell and the
// number of hits. Enter finds the next hit, Shift+Enter the previous one,
// Esc closes the bar. The bar only says what is wanted; a controller finds.
#pragma once

#include <QFrame>

#include "sheet/text_matcher.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace sheet {

class FindBar : public QFrame {
    Q_OBJECT
  public:
    // Placed over `grid`, which it follows as it is resized.
    explicit FindBar(QWidget& grid);

    // Shows the bar with its text selected, ready to be typed over.
    void open();
    void dismiss();

    QString text() const;
    TextMatcher::Options options() const;
    void showCount(const QString& text);
    // Moves the bar to the other edge of the grid when it covers `area`
    // (in the grid's coordinates), so a hit under it comes into view.
    void keepClearOf(const QRect& area);

    QLineEdit* textBox() const { return text_; }
    QToolButton* nextButton() const { return next_; }
    QToolButton* previousButton() const { return previous_; }
    QCheckBox* matchCaseBox() const { return matchCase_; }
    QCheckBox* wholeCellBox() const { return wholeCell_; }

  signals:
    void findNext();
    void findPrevious();
    // The text or an option changed.
    void wantedChanged();
    void closed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QToolButton* button(const char* name, const QString& caption, const QString& tip);
    void place();

    QWidget& grid_;
    QLineEdit* text_ = nullptr;
    QToolButton* previous_ = nullptr;
    QToolButton* next_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* wholeCell_ = nullptr;
    QLabel* count_ = nullptr;
    QToolButton* close_ = nullptr;
    bool atBottom_ = false;
};

}  // namespace sheet
