// One table definition of an open database as the browser sees it: the name
// as stored, the fields in the table's own order with the type Access shows
// and whether an index holds them, and for a linked table the back-end file
// its link names. System tables are included; the hidden value tables of ACE
// complex columns are not.
#pragma once

#include <string>
#include <vector>

namespace jet {
struct Column;
struct IndexDef;
struct TableDef;
}  // namespace jet

namespace db {

struct FieldDefinition {
    enum class Index { None, Indexed, Unique, PrimaryKey };

    std::string name;
    // The data type as Access's table designer names it, with the size where
    // the type has one: "Text(40)", "Currency", "AutoNumber", "Decimal(18,4)".
    std::string type;
    // The strongest index the field is a key of: the primary key, a unique
    // index, any other index the table's designer made. Indexes Access adds
    // for relationships are not counted.
    Index index = Index::None;

    static FieldDefinition from(const jet::Column& column, int position,
                                const std::vector<jet::IndexDef>& indexes, bool jet3);
};

struct TableDefinition {
    std::string name;
    // A linked table lists its back-end's fields when the back-end is found,
    // else none.
    std::vector<FieldDefinition> fields;
    bool linked = false;
    // The Access file a linked table reads from, as the link stores it;
    // empty for local tables and for links to other kinds of source.
    std::string backEnd;

    std::vector<std::string> fieldNames() const;
};

}  // namespace db
