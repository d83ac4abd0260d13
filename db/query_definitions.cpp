#include "db/query_definitions.h"

#include "db/database.h"
#include "jet/query_writer.h"

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

jet::Status QueryDefinitions::create(const std::string& name, const std::string& sql) {
    if (!owner_.isOpen()) {
        return jet::Status(jet::ErrorCode::Invalid, "No database is open.");
    }
    jet::QueryWriteOptions options;
    options.password = owner_.password_;
    return afterWrite(jet::createQueryDef(owner_.name(), name, sql, options));
}

jet::Status QueryDefinitions::remove(const std::string& name) {
    if (!owner_.isOpen()) {
        return jet::Status(jet::ErrorCode::Invalid, "No database is open.");
    }
    jet::QueryWriteOptions options;
    options.password = owner_.password_;
    const jet::Status deleted = jet::deleteQueryDef(owner_.name(), name, options);
    // Gone already (another program deleted it): the catalog is read again
    // so that the collection stops listing it too.
    if (deleted.code() == jet::ErrorCode::NotFound) {
        (void)owner_.reload();
    }
    return afterWrite(deleted);
}

// The writer renamed a new file over the old one. The change is in the file
// whether or not it can be read again at once, so a failed re-read keeps the
// earlier catalog and still reports the write as done.
jet::Status QueryDefinitions::afterWrite(const jet::Status& written) {
    if (written) {
        (void)owner_.reload();
    }
    return written;
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
