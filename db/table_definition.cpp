#include "db/table_definition.h"

#include <algorithm>

#include "jet/column.h"
#include "jet/table_def.h"

namespace db {

namespace {

std::string typeText(const jet::Column& column, bool jet3) {
    using jet::ColumnType;
    std::string type(column.typeName());
    switch (column.type()) {
        case ColumnType::Text:
            type += "(" + std::to_string(column.size(jet3)) + ")";
            break;
        case ColumnType::Decimal:
            type +=
                "(" + std::to_string(column.precision) + "," + std::to_string(column.scale) + ")";
            break;
        case ColumnType::Long:
            if (column.isAutoNumber()) {
                type = "AutoNumber";
            }
            break;
        case ColumnType::Guid:
            if (column.isAutoNumber()) {
                type = "AutoNumber(Replication ID)";
            }
            break;
        default:
            break;
    }
    return column.isCalculated() ? "Calculated " + type : type;
}

FieldDefinition::Index indexOf(const jet::Column& column, int position,
                               const std::vector<jet::IndexDef>& indexes) {
    FieldDefinition::Index strongest = FieldDefinition::Index::None;
    if (column.type() == jet::ColumnType::Complex) {
        return strongest;  // its index only ties it to its hidden value table
    }
    for (const jet::IndexDef& index : indexes) {
        const bool holds =
            std::any_of(index.keys.begin(), index.keys.end(),
                        [&](const jet::IndexDef::Key& k) { return k.column == position; });
        if (!holds || index.foreignKey) {
            continue;
        }
        const FieldDefinition::Index kind = index.primaryKey ? FieldDefinition::Index::PrimaryKey
                                            : index.unique   ? FieldDefinition::Index::Unique
                                                             : FieldDefinition::Index::Indexed;
        strongest = std::max(strongest, kind);
    }
    return strongest;
}

}  // namespace

FieldDefinition FieldDefinition::from(const jet::Column& column, int position,
                                      const std::vector<jet::IndexDef>& indexes, bool jet3) {
    return FieldDefinition{column.name, typeText(column, jet3), indexOf(column, position, indexes)};
}

std::vector<std::string> TableDefinition::fieldNames() const {
    std::vector<std::string> names;
    names.reserve(fields.size());
    for (const FieldDefinition& field : fields) {
        names.push_back(field.name);
    }
    return names;
}

}  // namespace db
