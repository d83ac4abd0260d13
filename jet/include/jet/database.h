// An open Access database file (Jet 3, Jet 4, ACE), read-only: its catalog of
// tables and saved queries, and cursors over table rows. The file stays open
// until the Database is destroyed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/damage_report.h"
#include "jet/query_def.h"
#include "jet/status.h"
#include "jet/table_cursor.h"
#include "jet/table_def.h"

namespace jet {

enum class FileFormat {
    Jet3,  // Access 97, 2 KiB pages
    Jet4,  // Access 2000-2003 .mdb, 4 KiB pages
    Ace,   // Access 2007 and later .accdb
};

class DatabaseFile;
class ComplexStore;
class LinkRegistry;

class Database {
  public:
    // Opens `path` and reads its catalog. Failures:
    //   NotFound / Io      the file cannot be opened or read;
    //   Unrecognized       "Unrecognized database format 'PATH'.";
    //   BadPassword        "Not a valid password." (protected file, password
    //                      missing or wrong; compared case-sensitively);
    //   Unsupported        an encryption we cannot decode;
    //   Corrupt            the catalog cannot be read (message names the page).
    // A file without a password opens whatever `password` is given. A table
    // whose definition cannot be read is still listed, with the reason in
    // its definitionError. With ReadMode::Salvage, damaged pages and rows of
    // the catalog and of every table read later are skipped and recorded in
    // damage() instead of failing the read.
    static Result<std::unique_ptr<Database>> open(const std::string& path,
                                                  std::string_view password = {},
                                                  ReadMode mode = ReadMode::Strict);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const std::string& path() const;
    // Whether `other` names this database's file under any spelling (a
    // relative path, a symbolic or hard link): writing there would destroy it.
    bool isFile(const std::string& other) const;
    FileFormat format() const;
    uint32_t pageSize() const;
    uint16_t codePage() const;  // Jet 3 text code page (1252 for most files)
    bool hasPassword() const;   // a Jet 3/4 database password is set
    bool isEncrypted() const;   // pages are encoded or encrypted

    // Every table under the Tables container: local (system ones included)
    // and linked, sorted in Jet's text order by name.
    const std::vector<TableDef>& tables() const;
    // Every saved query (hidden "~sq_" ones included), sorted like tables.
    // A query whose rows cannot be rebuilt is listed with a failed status.
    const std::vector<QueryDef>& queries() const;
    // Lookups compare names as Jet does (case-insensitive); null when absent.
    const TableDef* findTable(std::string_view name) const;
    const QueryDef* findQuery(std::string_view name) const;

    // A cursor over a table; a linked table reads from its back-end (see
    // resolveTable). Unknown: NotFound.
    Result<std::unique_ptr<TableCursor>> openTable(std::string_view name) const;
    Result<std::unique_ptr<TableCursor>> openTable(const TableDef& table) const;

    // Folders to look in for back-ends (and IN files) that are neither where
    // the link says nor beside this file.
    void setLinkFolders(std::vector<std::string> folders);
    // Reads the back-end a link stores as `stored` (a TableDef::backEndFile)
    // from `file` instead, whatever its name: the user pointed at it. Tried
    // before every other place; an empty `file` forgets the choice.
    void setLinkedFile(const std::string& stored, const std::string& file);
    // Where a table's rows are: a local table is itself, a linked one is
    // followed to the local table of its back-end (which opens with this
    // file's password unless the link names one). Unsupported for links to
    // ODBC, spreadsheets, text and other sources (the message names which),
    // NotFound when the back-end or its table is missing, Corrupt for links
    // that lead round in a circle.
    struct TableSource {
        const Database* database = nullptr;
        const TableDef* table = nullptr;
    };
    Result<TableSource> resolveTable(const TableDef& table) const;
    // The Access file of FROM ... IN 'path', found and opened like a back-end;
    // an empty path is this database.
    Result<const Database*> otherDatabase(const std::string& path,
                                          const std::string& password = {}) const;
    // The number of live rows, counted from the data pages (the definition's
    // own count can be stale). Reads the table's pages but decodes no value.
    Result<uint64_t> countRows(const TableDef& table) const;

    // The bytes of an attachment's file (see ComplexCell), byte-exact.
    // Corrupt when the stored data is damaged; Unsupported when it declares
    // more than an attachment can hold.
    Result<std::string> attachmentData(const Attachment& attachment) const;
    // The length of that file, reading no more of it than needed.
    Result<uint64_t> attachmentSize(const Attachment& attachment) const;

    ReadMode readMode() const { return mode_; }
    // Whether reading again with ReadMode::Salvage can get past `failure`:
    // damaged pages, rows and long values can be, a table definition that
    // cannot be read cannot (nothing of that table can be shown).
    bool salvageable(const Status& failure) const;
    // What salvaging reads have skipped so far (always empty when Strict).
    const DamageReport& damage() const { return damage_; }

    // Re-reads the catalog, e.g. after a saved query was written to the file.
    // Cursors opened before stay usable only until their next call.
    Status reload();

    // Engine-internal access to the file reader (pages, codec, header).
    DatabaseFile& file() const { return *file_; }

  private:
    friend class LinkRegistry;
    Database(std::unique_ptr<DatabaseFile> file, ReadMode mode);
    Status loadCatalog();
    DamageReport* salvageReport() const { return mode_ == ReadMode::Salvage ? &damage_ : nullptr; }
    // A back-end joins the registry of the front-end that opened it.
    void shareLinks(LinkRegistry* links);

    std::unique_ptr<DatabaseFile> file_;
    ReadMode mode_ = ReadMode::Strict;
    mutable DamageReport damage_;
    std::vector<TableDef> tables_;
    std::vector<QueryDef> queries_;
    std::unique_ptr<ComplexStore> complex_;  // loads complex columns' values on first use
    std::unique_ptr<LinkRegistry> ownLinks_;
    LinkRegistry* links_ = nullptr;
};

}  // namespace jet
