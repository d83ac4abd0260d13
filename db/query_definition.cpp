#include "db/query_definition.h"

#include "db/database.h"

namespace db {

QueryDefinition::QueryDefinition(Database& owner, const jet::QueryDef& def)
    : owner_(owner), name_(def.name), kind_(jet::QueryKind::Unknown) {
    if (def.status.isOk()) {
        sql_ = def.info.sql;
        kind_ = def.info.kind;
        fields_ = def.info.fields;
    }
    // The engine's own output names: a stored "Table1.*" stands for several.
    const bool rows = kind_ == jet::QueryKind::Select || kind_ == jet::QueryKind::Crosstab ||
                      kind_ == jet::QueryKind::Union;
    if (rows) {
        if (auto names = owner_.fields(name_)) {
            fields_ = std::move(names).value();
        }
    }
}

std::vector<QueryDefinition::Parameter>& QueryDefinition::parameters() {
    if (!parametersRead_) {
        parametersRead_ = true;
        if (auto asked = owner_.parameters(name_)) {
            for (const jet::QueryParameter& p : *asked) {
                parameters_.push_back(Parameter{p.name, {}});
            }
        }
    }
    return parameters_;
}

jet::Result<std::unique_ptr<jet::Recordset>> QueryDefinition::openRecordset() {
    jet::ParameterValues values;
    for (const Parameter& p : parameters()) {
        values.emplace_back(p.name, p.value);
    }
    return owner_.openRecordset(name_, values);
}

}  // namespace db
