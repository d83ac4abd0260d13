#include "jet/database.h"

#include <algorithm>

#include "catalog_reader.h"
#include "complex/attachment_data.h"
#include "complex/complex_store.h"
#include "database_file.h"
#include "jet/collation.h"
#include "link_registry.h"
#include "long_value_reader.h"
#include "table_scanner.h"

namespace jet {

Database::Database(std::unique_ptr<DatabaseFile> file, ReadMode mode)
    : file_(std::move(file)),
      mode_(mode),
      complex_(std::make_unique<ComplexStore>(*file_, tables_)) {}
Database::~Database() = default;

Result<std::unique_ptr<Database>> Database::open(const std::string& path, std::string_view password,
                                                 ReadMode mode) {
    Result<std::unique_ptr<DatabaseFile>> file = DatabaseFile::open(path, password);
    if (!file)
        return file.status();
    std::unique_ptr<Database> db(new Database(std::move(file.value()), mode));
    if (Status s = db->loadCatalog(); !s)
        return s;
    db->ownLinks_ = std::make_unique<LinkRegistry>(*db, std::string(password));
    db->links_ = db->ownLinks_.get();
    return db;
}

void Database::shareLinks(LinkRegistry* links) {
    ownLinks_.reset();
    links_ = links;
}

void Database::setLinkFolders(std::vector<std::string> folders) {
    links_->setFolders(std::move(folders));
}

void Database::setLinkedFile(const std::string& stored, const std::string& file) {
    links_->setFile(stored, file);
}

Result<const Database*> Database::otherDatabase(const std::string& path,
                                                const std::string& password) const {
    if (path.empty())
        return this;
    return links_->open(path, password, *this);
}

Result<Database::TableSource> Database::resolveTable(const TableDef& table) const {
    // Each hop opens at most one more file; more hops than that means a circle.
    constexpr int kMaxHops = 32;
    TableSource at{this, &table};
    std::vector<TableSource> seen;
    for (int hop = 0; at.table->isLinked(); ++hop) {
        const TableDef& link = *at.table;
        const std::string other = linkedSourceName(link.connect);
        const std::string file = linkedFilePath(link.linkedDatabase, link.connect);
        if (link.kind == TableKind::LinkedOdbc || !other.empty()) {
            return Status(ErrorCode::Unsupported,
                          "The table '" + link.name + "' is linked to " +
                              (other.empty() ? std::string("an ODBC data source") : other) + " ('" +
                              (file.empty() ? link.connect : file) +
                              "'); only tables linked to Access files are read.");
        }
        const bool again = std::any_of(seen.begin(), seen.end(), [&](const TableSource& s) {
            return s.database == at.database && s.table == at.table;
        });
        if (again || hop >= kMaxHops)
            return Status(ErrorCode::Corrupt, "The linked table '" + table.name +
                                                  "' leads round in a circle of links.");
        seen.push_back(at);
        auto backEnd = at.database->links_->open(file, {}, *at.database);
        if (!backEnd)
            return Status(backEnd.status().code(),
                          "The linked table '" + link.name + "': " + backEnd.status().message());
        const std::string foreign = link.foreignName.empty() ? link.name : link.foreignName;
        const TableDef* next = (*backEnd)->findTable(foreign);
        if (!next)
            return Status(ErrorCode::NotFound,
                          "The linked table '" + link.name + "' names the table '" + foreign +
                              "' of '" + (*backEnd)->path() + "', which has no such table.");
        at = {*backEnd, next};
    }
    return at;
}

Status Database::loadCatalog() {
    complex_->clear();
    return CatalogReader(*file_, salvageReport()).read(tables_, queries_);
}

Status Database::reload() {
    if (Status s = file_->refreshSize(); !s)
        return s;
    return loadCatalog();
}

const std::string& Database::path() const {
    return file_->path();
}
bool Database::isFile(const std::string& other) const {
    return file_->isFile(other);
}
FileFormat Database::format() const {
    return file_->header().format;
}
uint32_t Database::pageSize() const {
    return file_->pageSize();
}
uint16_t Database::codePage() const {
    return file_->header().codePage;
}
bool Database::hasPassword() const {
    return !file_->header().password.empty();
}
bool Database::isEncrypted() const {
    return file_->codec() != nullptr;
}
const std::vector<TableDef>& Database::tables() const {
    return tables_;
}
const std::vector<QueryDef>& Database::queries() const {
    return queries_;
}

const TableDef* Database::findTable(std::string_view name) const {
    for (const TableDef& t : tables_)
        if (jetNamesEqual(t.name, name))
            return &t;
    return nullptr;
}

const QueryDef* Database::findQuery(std::string_view name) const {
    for (const QueryDef& q : queries_)
        if (jetNamesEqual(q.name, name))
            return &q;
    return nullptr;
}

Result<std::unique_ptr<TableCursor>> Database::openTable(std::string_view name) const {
    const TableDef* table = findTable(name);
    if (!table)
        return Status(ErrorCode::NotFound,
                      "The Microsoft Jet database engine cannot find the input table '" +
                          std::string(name) + "'.");
    return openTable(*table);
}

Result<std::unique_ptr<TableCursor>> Database::openTable(const TableDef& table) const {
    if (table.isLinked()) {
        auto source = resolveTable(table);
        if (!source)
            return source.status();
        return source->database->openTable(*source->table);
    }
    if (!table.definitionError.empty())
        return Status(ErrorCode::Corrupt, table.definitionError);
    auto cursor = std::make_unique<TableScanner>(*file_, table, complex_.get(), salvageReport());
    if (Status s = cursor->init(); !s)
        return s;
    return std::unique_ptr<TableCursor>(std::move(cursor));
}

bool Database::salvageable(const Status& failure) const {
    if (failure.code() != ErrorCode::Corrupt)
        return false;
    return std::none_of(tables_.begin(), tables_.end(), [&](const TableDef& t) {
        return !t.definitionError.empty() && t.definitionError == failure.message();
    });
}

Result<uint64_t> Database::countRows(const TableDef& table) const {
    Result<std::unique_ptr<TableCursor>> cursor = openTable(table);
    if (!cursor)
        return cursor.status();
    uint64_t rows = 0;
    while ((*cursor)->next())
        ++rows;
    if (!(*cursor)->status())
        return (*cursor)->status();
    return rows;
}

}  // namespace jet

namespace jet {

namespace {

Result<std::string> storedAttachment(const DatabaseFile& file, const Attachment& attachment) {
    std::string stored;
    LongValueReader reader(file);
    const auto* field = reinterpret_cast<const uint8_t*>(attachment.storedData.data());
    if (Status s = reader.read(field, static_cast<uint32_t>(attachment.storedData.size()), stored);
        !s)
        return Status(s.code(), "Attachment '" + attachment.name + "': " + s.message());
    return stored;
}

}  // namespace

Result<std::string> Database::attachmentData(const Attachment& attachment) const {
    Result<std::string> stored = storedAttachment(*file_, attachment);
    if (!stored)
        return stored.status();
    Result<std::string> data = decodeAttachmentData(*stored);
    if (!data)
        return Status(data.status().code(),
                      "Attachment '" + attachment.name + "': " + data.status().message());
    return data;
}

Result<uint64_t> Database::attachmentSize(const Attachment& attachment) const {
    Result<std::string> stored = storedAttachment(*file_, attachment);
    if (!stored)
        return stored.status();
    Result<uint64_t> size = attachmentDataSize(*stored);
    if (!size)
        return Status(size.status().code(),
                      "Attachment '" + attachment.name + "': " + size.status().message());
    return size;
}

}  // namespace jet
