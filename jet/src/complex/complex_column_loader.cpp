#include "complex/complex_column_loader.h"

#include <algorithm>
#include <optional>

#include "jet/sql_value_text.h"
#include "table_scanner.h"

namespace jet {
namespace {

Status malformed(const TableDef& flat, const std::string& what) {
    return Status(ErrorCode::Corrupt, "The value table '" + flat.name + "' " + what + ".");
}

int countType(const TableDef& t, ColumnType type) {
    return static_cast<int>(std::count_if(t.columns.begin(), t.columns.end(),
                                          [type](const Column& c) { return c.type() == type; }));
}

bool isSimpleType(ColumnType t) {
    using T = ColumnType;
    return t == T::Byte || t == T::Integer || t == T::Long || t == T::Single || t == T::Double ||
           t == T::Guid || t == T::Decimal || t == T::Text || t == T::BigInt;
}

// The kind follows from the template's columns, as Access builds them: one
// value of a simple type; or the six attachment fields; or a memo with its
// date of change. Extra columns are allowed.
ComplexKind kindOf(const TableDef& type) {
    using T = ColumnType;
    if (type.columns.size() == 1 && isSimpleType(type.columns[0].type()))
        return ComplexKind::MultiValue;
    if (countType(type, T::Memo) >= 1 && countType(type, T::Text) >= 2 &&
        countType(type, T::Ole) >= 1 && countType(type, T::DateTime) >= 1 &&
        countType(type, T::Long) >= 1)
        return ComplexKind::Attachment;
    if (countType(type, T::Memo) >= 1 && countType(type, T::DateTime) >= 1)
        return ComplexKind::VersionHistory;
    return ComplexKind::Unknown;
}

// Where things are in the value table: the key back to the owning row, the
// row's own AutoNumber, and the template's columns.
struct Layout {
    int key = -1;
    int id = -1;
    std::vector<int> values;  // value table positions of the template's columns, in its order
};

Result<Layout> layoutOf(const TableDef& flat, const TableDef& type) {
    Layout l;
    for (size_t i = 0; i < flat.columns.size(); ++i) {
        const Column& c = flat.columns[i];
        if (type.findColumn(c.name))
            continue;
        if (c.isAutoNumber())
            l.id = static_cast<int>(i);
        else if (c.type() == ColumnType::Long)
            l.key = static_cast<int>(i);
    }
    for (const Column& c : type.columns)
        l.values.push_back(flat.columnIndex(c.name));
    if (l.key < 0 || l.id < 0)
        return malformed(flat, "lacks its key columns");
    if (std::find(l.values.begin(), l.values.end(), -1) != l.values.end())
        return malformed(flat, "lacks a column of its template '" + type.name + "'");
    return l;
}

struct Item {
    int32_t key = 0;
    int64_t id = 0;
    double changed = 0;  // version history: when the text was stored
    Attachment attachment;
    Value value;
};

std::string textOf(TableScanner& cursor, const TableDef& flat, const char* name) {
    const int at = flat.columnIndex(name);
    if (at < 0)
        return {};
    return std::string(cursor.get(static_cast<size_t>(at)).data);
}

Value valueOf(TableScanner& cursor, const TableDef& flat, const char* name) {
    const int at = flat.columnIndex(name);
    return at < 0 ? Value() : cursor.value(static_cast<size_t>(at));
}

Item readItem(TableScanner& cursor, const TableDef& flat, const TableDef& type, const Layout& l,
              ComplexKind kind) {
    Item item;
    item.key = static_cast<int32_t>(cursor.get(static_cast<size_t>(l.key)).i);
    item.id = cursor.get(static_cast<size_t>(l.id)).i;
    if (kind == ComplexKind::Attachment) {
        Attachment& a = item.attachment;
        a.name = textOf(cursor, flat, "FileName");
        a.type = textOf(cursor, flat, "FileType");
        a.url = textOf(cursor, flat, "FileURL");
        a.timeStamp = valueOf(cursor, flat, "FileTimeStamp");
        a.flags = valueOf(cursor, flat, "FileFlags");
        const int data = flat.columnIndex("FileData");
        if (data >= 0)
            a.storedData = std::string(cursor.storedField(static_cast<size_t>(data)));
        return item;
    }
    size_t valueColumn = 0;
    for (size_t i = 0; i < type.columns.size(); ++i) {
        const ColumnType t = type.columns[i].type();
        if (kind == ComplexKind::VersionHistory && t == ColumnType::DateTime)
            item.changed = cursor.get(static_cast<size_t>(l.values[i])).d;
        if (kind == ComplexKind::VersionHistory && t == ColumnType::Memo)
            valueColumn = i;
    }
    item.value = cursor.value(static_cast<size_t>(l.values[valueColumn]));
    return item;
}

std::string joined(const ComplexCell& cell) {
    std::string text;
    if (cell.kind == ComplexKind::Attachment) {
        for (const Attachment& a : cell.attachments)
            text += (text.empty() ? "" : "; ") + a.name;
        return text;
    }
    if (cell.kind == ComplexKind::VersionHistory)
        return cell.values.empty() ? text : displayText(cell.values.back());
    for (size_t i = 0; i < cell.values.size(); ++i)
        text += (i ? ", " : "") + displayText(cell.values[i]);
    return text;
}

}  // namespace

Result<std::unique_ptr<ComplexColumnValues>> loadComplexColumn(const DatabaseFile& file,
                                                               const Column&, const TableDef& flat,
                                                               const TableDef& type) {
    // A table listed although its definition could not be read has no columns.
    for (const TableDef* t : {&flat, &type})
        if (!t->definitionError.empty())
            return Status(ErrorCode::Corrupt, t->definitionError);
    Result<Layout> layout = layoutOf(flat, type);
    if (!layout)
        return layout.status();
    auto values = std::make_unique<ComplexColumnValues>();
    values->kind = kindOf(type);
    TableScanner cursor(file, flat);
    if (Status s = cursor.init(); !s)
        return s;
    std::vector<Item> items;
    while (cursor.next())
        items.push_back(readItem(cursor, flat, type, *layout, values->kind));
    if (!cursor.status())
        return cursor.status();
    // Versions count in the order they were stored; other values in the
    // order of their AutoNumber, which is the order they were added.
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return a.changed != b.changed ? a.changed < b.changed : a.id < b.id;
    });
    for (Item& item : items) {
        ComplexCell& cell = values->cells[item.key];
        cell.kind = values->kind;
        if (values->kind == ComplexKind::Attachment)
            cell.attachments.push_back(std::move(item.attachment));
        else
            cell.values.push_back(std::move(item.value));
    }
    for (auto& [key, cell] : values->cells)
        cell.text = joined(cell);
    return values;
}

}  // namespace jet
