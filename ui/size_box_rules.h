// The rules of the "Rows" and "Cols" boxes: what a box's text asks of the
// sheet when Enter applies it, and how the spin buttons step the text. The
// boxes hold counts a user reads (data rows, columns); the window turns an
// accepted count into the sheet's shape.
#pragma once

#include <QString>

namespace ui {

class SizeBoxRules {
  public:
    enum class Box { Rows, Cols };

    // Beyond these the sheet would outgrow what a desktop can hold and scroll.
    static constexpr int kMaxDataRows = 10'000'000;
    static constexpr int kMaxCols = 16'384;
    // The spin buttons raise the box only while it holds at most this, so
    // spinning stops one above it; typing may go further.
    static constexpr int kRowSpinTop = 200'000;
    static constexpr int kColSpinTop = 200;

    enum class Verdict {
        Apply,       // count is the box's number (1 for an empty box)
        NotANumber,  // not a whole number the box accepts: sheet unchanged
        TooBig,      // above the box's maximum: sheet unchanged
    };
    struct Reading {
        Verdict verdict = Verdict::NotANumber;
        int count = 0;  // data rows or columns, when applied
        QString shown;  // what the box shows afterwards, when applied
    };

    // Enter in the box. An empty box asks for one row or one column and
    // shows "1". Rows accepts 0 or more, Cols 1 or more.
    static Reading read(Box box, const QString& text);

    // The box's text after its up or down spin button: down lowers a number
    // of at least 2, up raises one of at most the spin top; an empty box
    // counts as 0. Other text is returned unchanged (reading then refuses it).
    static QString stepUp(Box box, const QString& text);
    static QString stepDown(Box box, const QString& text);

    // The refusal message for a count above the maximum, and its title.
    static QString tooBigMessage(Box box);
    static QString title(Box box);

  private:
    // The box's whole number, or -1 when the text is not one; an empty text
    // reads as 0. Numbers too long for an int read as INT_MAX.
    static qint64 number(const QString& text);
};

}  // namespace ui
