// Feedback while a long result fills the sheet: the window keeps painting
// and shows how far the load has come; no command runs in the middle of it,
// and the user may stop it (Esc in the window).
#pragma once

#include <cstdint>

namespace db {

class LoadProgress {
  public:
    virtual ~LoadProgress() = default;
    // `expected` rows, 0 when unknown.
    virtual void started(uint64_t expected) = 0;
    // Called every few thousand rows with the count so far.
    virtual void advanced(uint64_t rows) = 0;
    virtual void finished() = 0;
    // Whether the user asked to stop the load; asked after each advanced().
    virtual bool stopRequested() const { return false; }
};

}  // namespace db
