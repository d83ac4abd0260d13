// One table definition of an open database as the browser sees it: the name
// as stored and the field names in the table's own order. System tables are
// included; the hidden value tables of ACE complex columns are not.
#pragma once

#include <string>
#include <vector>

namespace db {

struct TableDefinition {
    std::string name;
    std::vector<std::string> fields;
};

}  // namespace db
