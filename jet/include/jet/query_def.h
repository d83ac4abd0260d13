// A saved query of the catalog: its MSysObjects entry and the SQL text,
// kind, parameters and fields rebuilt from MSysQueries.
#pragma once

#include <cstdint>
#include <string>

#include "jet/query_info.h"
#include "jet/status.h"

namespace jet {

struct QueryDef {
    std::string name;
    int32_t id = 0;      // MSysObjects.Id, the ObjectId of its MSysQueries rows
    uint32_t flags = 0;  // MSysObjects.Flags (DAO type in bits 0xF0)
    QueryInfo info;      // meaningful when status is ok
    Status status;       // why the query could not be rebuilt, if it could not

    // Record sources of forms, reports and controls ("~sq_...").
    bool isHidden() const { return name.starts_with("~"); }
};

}  // namespace jet
