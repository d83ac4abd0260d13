// A table of the database catalog: its name, kind and flags from MSysObjects
// and, for a local table, the columns and row layout from its definition.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "jet/column.h"

namespace jet {

enum class TableKind {
    Local,       // stored in this file
    LinkedJet,   // linked to another Access file, a spreadsheet, text ... (not followed)
    LinkedOdbc,  // linked through ODBC (not followed)
};

// One index as the table definition lists it: a named (logical) index with
// the key columns and flags of the physical index that holds its entries.
struct IndexDef {
    struct Key {
        int column = -1;  // position in TableDef::columns; -1 when the column is gone
        bool ascending = true;
    };
    std::string name;
    std::vector<Key> keys;
    bool primaryKey = false;
    bool unique = false;
    bool ignoreNulls = false;
    bool foreignKey = false;  // made by a relationship, not by the table's designer
};

struct TableDef {
    std::string name;
    int32_t id = 0;      // MSysObjects.Id
    uint32_t flags = 0;  // MSysObjects.Flags
    TableKind kind = TableKind::Local;
    std::string linkedDatabase;  // linked tables: MSysObjects.Database
    std::string connect;         // linked tables: MSysObjects.Connect
    std::string foreignName;     // linked tables: name in the other database

    // Local tables only (empty or zero for linked ones).
    std::vector<Column> columns;  // descriptor order: the order Access shows
    uint32_t tdefPage = 0;
    uint32_t storedRowCount = 0;    // as the definition says; can be stale
    bool systemType = false;        // the definition marks it as a system table
    uint16_t maxColumns = 0;        // highest column count a row can carry
    uint16_t varColumns = 0;        // variable column slots (deleted ones included)
    uint32_t ownedPagesMap = 0;     // row pointer to the map of its data pages
    std::vector<IndexDef> indexes;  // in the definition's order
    std::string indexError;         // why the indexes could not be read; empty if they were
    std::string definitionError;    // why the definition could not be read (the table
                                    // is listed but cannot be opened); empty if it was

    // DAO's dbSystemObject test: Flags & 0x80000002.
    bool isSystem() const { return (flags & 0x80000002u) != 0; }
    // The hidden table (f_<hex>_<column>, flags 0x800A0000) holding the values
    // of an ACE attachment or multi-value column: Access never lists it.
    bool isComplexValueTable() const { return (flags & 0x800A0000u) == 0x800A0000u; }
    bool isLinked() const { return kind != TableKind::Local; }
    // The Access file a linked table reads from, as the link stores it (the
    // Database column, else DATABASE= of the connect string); empty for local
    // tables and for links to ODBC, spreadsheets, text and other sources.
    std::string backEndFile() const;
    // Column by name, compared as Jet compares names; null when absent.
    const Column* findColumn(std::string_view columnName) const;
    int columnIndex(std::string_view columnName) const;  // -1 when absent
};

}  // namespace jet
