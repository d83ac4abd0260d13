// The checks Run makes on the SQL text before the engine sees it: at least
// twelve characters (line breaks as CR LF and blanks count), then none of
// the modifying keywords (db::ModifyingTest).
#pragma once

#include <QString>

namespace sql {

class RunCheck {
  public:
    static constexpr int kMinLength = 12;
    enum class Verdict { TooShort, Modifying, Run };

    // `sql` in its CR LF form.
    static Verdict check(const QString& sql);
};

}  // namespace sql
