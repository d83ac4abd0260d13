// TextMatcher: whether a sheet cell holds a typed text, for Find and for the
// filter row. The text may stand anywhere in the cell or fill it whole, with
// or without regard to case. Cells are the sheet's own UTF-8 texts; plain
// ASCII cells are compared byte by byte, others through Qt's case folding, so
// a million cells take a few milliseconds.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace sheet {

class TextMatcher {
  public:
    struct Options {
        bool matchCase = false;
        bool wholeCell = false;
    };

    TextMatcher(const QString& wanted, Options options);

    bool matches(std::string_view cell) const;
    bool isEmpty() const { return wanted_.isEmpty(); }

  private:
    bool matchesAscii(std::string_view cell) const;
    bool matchesUnicode(std::string_view cell) const;

    QString wanted_;
    std::string wantedUtf8_;  // lower-cased when case does not matter and it is ASCII
    bool wantedAscii_ = true;
    Options options_;
};

}  // namespace sheet
