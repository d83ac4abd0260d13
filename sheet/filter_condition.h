// FilterCondition: what the user typed into one column's box of the filter
// row, and whether a cell passes it. Plain text keeps the cells that contain
// it (letter case does not count); plain text with * or ? in it is a Like
// pattern. A leading "=", "<>", "<", "<=", ">" or ">="
// compares: by number when both the operand and the cell are numbers (a date
// operand such as 2024-01-31 or 1/31/2024 compares with a date column's day
// numbers), else as text without regard to case. "Like" followed by a pattern
// matches the whole cell (see LikePattern). "=" alone keeps the empty cells,
// "<>" alone the filled ones.
#pragma once

#include <QString>

#include <optional>
#include <string_view>

#include "sheet/like_pattern.h"
#include "sheet/text_matcher.h"

namespace sheet {

class FilterCondition {
  public:
    enum class Kind {
        None,
        Contains,
        Equal,
        NotEqual,
        Less,
        LessEqual,
        Greater,
        GreaterEqual,
        Like
    };

    explicit FilterCondition(const QString& typed = QString());

    Kind kind() const { return kind_; }
    bool isActive() const { return kind_ != Kind::None; }
    // value: the cell's typed value, or null when it has none.
    bool passes(std::string_view text, const double* value) const;

  private:
    void parseComparison(const QString& typed);
    bool compares(int order) const;
    bool passesComparison(std::string_view text, const double* value) const;

    Kind kind_ = Kind::None;
    QString operand_;
    std::string operandUtf8_;
    std::optional<double> operandNumber_;
    std::optional<TextMatcher> contains_;
    std::optional<LikePattern> like_;
};

}  // namespace sheet
