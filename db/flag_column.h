// Adding the flag column to the data sheet after a database result was
// loaded: a column titled "Flag", 410 twips wide, at position 0, with the
// window's flag state following it.
#pragma once

namespace sheet {
class Grid;
struct SheetState;
}  // namespace sheet

namespace db {

class FlagColumn {
  public:
    static constexpr int kWidth = 410;  // twips
    static constexpr const char* kTitle = "Flag";

    // One more column, moved to position 0, titled "Flag", data type 0; the
    // form view gets a row per sheet column plus its header; the state marks
    // the flag column present at 0.
    static void add(sheet::Grid& fa, sheet::Grid& fb, sheet::SheetState& state);
};

}  // namespace db
