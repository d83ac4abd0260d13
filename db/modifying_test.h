// The test that keeps statements which modify data away from the engine:
// the upper-cased text holds " INSERT ", " DELETE ", " SET " or " UPDATE ",
// each with exactly one blank on both sides. It is a plain substring test on
// purpose: a keyword inside a quoted literal is refused, one next to a line
// break, a tab or a bracket, or at the very start, is not (the engine
// refuses to open such a statement as a record set anyway).
#pragma once

#include <QString>

namespace db {

class ModifyingTest {
  public:
    static bool modifiesData(const QString& sql);
};

}  // namespace db
