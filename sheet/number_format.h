// NumberFormat: a column display format such as "0.00", "#,###" or
// "$#,###.00" applied to a number. '0' is a digit always shown, '#' a digit
// shown only when significant, ',' in the integer part asks for thousands
// separators; other characters before or after the digits are kept literally.
#pragma once

#include <QString>

namespace sheet {

class NumberFormat {
  public:
    explicit NumberFormat(const QString& pattern);

    // False for an empty pattern or one without digit placeholders.
    bool isValid() const { return valid_; }
    QString format(double value) const;

  private:
    QString groupThousands(const QString& digits) const;

    QString prefix_;
    QString suffix_;
    int minIntegerDigits_ = 0;
    int fixedDecimals_ = 0;     // '0' after the point
    int optionalDecimals_ = 0;  // '#' after the point
    bool grouping_ = false;
    bool valid_ = false;
};

}  // namespace sheet
