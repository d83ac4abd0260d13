#include "db/database.h"

#include <algorithm>

#include "db/connect_text.h"

namespace db {

jet::Result<std::shared_ptr<Database>> Database::open(const std::string& path, int /*options*/,
                                                      std::string_view connect) {
    const std::string password = ConnectText::password(connect);
    auto engine = jet::Database::open(path, password);
    if (!engine) {
        return engine.status();
    }
    std::shared_ptr<Database> db(new Database(path, password, std::move(engine).value()));
    if (jet::Status started = db->startSession(); !started) {
        return started;
    }
    db->readTables();
    db->queries_.rebuild();
    return db;
}

Database::Database(std::string path, std::string password, std::unique_ptr<jet::Database> engine)
    : path_(std::move(path)), password_(std::move(password)), engine_(std::move(engine)) {}

Database::~Database() = default;

jet::Status Database::startSession() {
    session_.reset();
    auto session = jet::SqlSession::open(*engine_);
    if (!session) {
        return session.status();
    }
    session_ = std::move(session).value();
    return jet::Status::ok();
}

void Database::readTables() {
    tables_.clear();
    const bool jet3 = engine_->format() == jet::FileFormat::Jet3;
    for (const jet::TableDef& def : engine_->tables()) {
        if (def.isComplexValueTable()) {
            continue;  // not a table definition Access shows, system or not
        }
        // A linked table lists its back-end's fields when the back-end is found.
        const auto source = engine_->resolveTable(def);
        const jet::TableDef& shown = source ? *source->table : def;
        TableDefinition table{def.name, {}, def.isLinked(), def.backEndFile()};
        table.fields.reserve(shown.columns.size());
        for (std::size_t i = 0; i < shown.columns.size(); ++i) {
            table.fields.push_back(
                FieldDefinition::from(shown.columns[i], int(i), shown.indexes, jet3));
        }
        tables_.push_back(std::move(table));
    }
}

std::string Database::missingBackEnd(const std::string& table) const {
    const jet::TableDef* def = engine_ ? engine_->findTable(table) : nullptr;
    if (!def || def->backEndFile().empty()) {
        return {};
    }
    auto backEnd = engine_->otherDatabase(def->backEndFile());
    return !backEnd && backEnd.status().code() == jet::ErrorCode::NotFound ? def->backEndFile()
                                                                           : std::string();
}

jet::Status Database::linkStatus(const std::string& table) const {
    const jet::TableDef* def = engine_ ? engine_->findTable(table) : nullptr;
    if (!def || !def->isLinked()) {
        return jet::Status::ok();
    }
    auto source = engine_->resolveTable(*def);
    return source ? jet::Status::ok() : source.status();
}

void Database::setBackEndFile(const std::string& stored, const std::string& file) {
    if (file.empty()) {
        backEndFiles_.erase(stored);
    } else {
        backEndFiles_[stored] = file;
    }
    if (engine_) {
        engine_->setLinkedFile(stored, file);
        readTables();
    }
}

jet::Status Database::closedError() const {
    return jet::Status(jet::ErrorCode::Invalid, "The database is closed.");
}

jet::Result<std::unique_ptr<jet::Recordset>> Database::openRecordset(
    const std::string& source, const jet::ParameterValues& parameters) {
    if (!session_) {
        return closedError();
    }
    return session_->openRecordset(source, parameters);
}

jet::Result<std::vector<jet::QueryParameter>> Database::parameters(const std::string& source) {
    if (!session_) {
        return closedError();
    }
    return session_->parameters(source);
}

jet::Result<std::vector<std::string>> Database::fields(const std::string& source) {
    if (!session_) {
        return closedError();
    }
    auto fields = session_->fields(source);
    if (!fields) {
        return fields.status();
    }
    std::vector<std::string> names;
    for (const jet::RecordsetField& field : *fields) {
        names.push_back(field.name);
    }
    return names;
}

uint64_t Database::estimatedRows(const std::string& source) const {
    if (!engine_) {
        return 0;
    }
    const jet::TableDef* table = engine_->findTable(source);
    return table ? table->storedRowCount : 0;
}

// Saved queries are written to a new file renamed over the old one, so the
// catalog is read again from the path, not from the file opened first.
jet::Status Database::reload() {
    if (!engine_) {
        return closedError();
    }
    auto reopened = jet::Database::open(path_, password_);
    if (!reopened) {
        return reopened.status();
    }
    retired_.push_back({std::move(engine_), std::move(session_)});
    engine_ = std::move(reopened).value();
    for (const auto& [stored, file] : backEndFiles_) {
        engine_->setLinkedFile(stored, file);
    }
    if (jet::Status started = startSession(); !started) {
        return started;
    }
    readTables();
    queries_.rebuild();
    return jet::Status::ok();
}

bool Database::salvageable(const std::string& source, const jet::Status& failure) const {
    if (!engine_ || !engine_->salvageable(failure)) {
        return false;
    }
    const jet::TableDef* table = engine_->findTable(source);
    return !table || table->definitionError.empty();
}

jet::Result<std::unique_ptr<jet::Recordset>> Database::openSalvaged(
    const std::string& source, const jet::ParameterValues& parameters) {
    if (!session_) {
        return closedError();
    }
    // The last salvaging engine is kept, not closed: cells of its result may
    // still read their attachments through it.
    if (salvage_.engine) {
        retired_.push_back(std::move(salvage_));
        salvage_ = {};
    }
    auto engine = jet::Database::open(path_, password_, jet::ReadMode::Salvage);
    if (!engine) {
        return engine.status();
    }
    auto session = jet::SqlSession::open(**engine);
    if (!session) {
        return session.status();
    }
    salvage_ = {std::move(engine).value(), std::move(session).value()};
    return salvage_.session->openRecordset(source, parameters);
}

bool Database::holds(const jet::Database* engine) const {
    if (!engine) {
        return false;
    }
    if (engine == engine_.get() || engine == salvage_.engine.get()) {
        return true;
    }
    return std::any_of(retired_.begin(), retired_.end(),
                       [engine](const Retired& r) { return r.engine.get() == engine; });
}

jet::Result<std::string> Database::attachmentData(const jet::Database* holder,
                                                  const jet::Attachment& attachment) const {
    if (!holds(holder)) {
        return closedError();
    }
    return holder->attachmentData(attachment);
}

jet::Result<uint64_t> Database::attachmentSize(const jet::Database* holder,
                                               const jet::Attachment& attachment) const {
    if (!holds(holder)) {
        return closedError();
    }
    return holder->attachmentSize(attachment);
}

const jet::DamageReport& Database::damage() const {
    static const jet::DamageReport nothing;
    return salvage_.engine ? salvage_.engine->damage() : nothing;
}

void Database::close() {
    queries_.items_.clear();
    tables_.clear();
    salvage_.session.reset();
    salvage_.engine.reset();
    session_.reset();
    engine_.reset();
    retired_.clear();
}

}  // namespace db
