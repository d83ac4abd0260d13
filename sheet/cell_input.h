// CellInput: one cell handed to the grid's bulk fill. Beside its text it may
// carry the typed value the database delivered (numbers, dates as day
// numbers), so that sorting compares values; an edit later replaces both by
// the edited text. A binary or attachment cell also carries its payload.
#pragma once

#include <memory>
#include <string_view>

#include "sheet/cell_payload.h"

namespace sheet {

struct CellInput {
    std::string_view text;  // UTF-8
    double value = 0;
    bool hasValue = false;
    std::shared_ptr<const CellPayload> payload = nullptr;
};

}  // namespace sheet
