#include "db/query_definitions.h"

#include "db/database.h"

namespace db {

QueryDefinition* QueryDefinitions::find(std::string_view name) {
    if (!owner_.engine()) {
        return nullptr;
    }
    const jet::QueryDef* def = owner_.engine()->findQuery(name);
    if (!def) {
        return nullptr;
    }
    for (auto& item : items_) {
        if (item->name() == def->name) {
            return item.get();
        }
    }
    return nullptr;
}

jet::Status QueryDefinitions::refresh() {
    return owner_.reload();
}

void QueryDefinitions::rebuild() {
    items_.clear();
    if (!owner_.engine()) {
        return;
    }
    for (const jet::QueryDef& def : owner_.engine()->queries()) {
        items_.push_back(std::make_unique<QueryDefinition>(owner_, def));
    }
}

}  // namespace db
