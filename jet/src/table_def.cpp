#include "jet/table_def.h"

#include "jet/collation.h"
#include "link_registry.h"

namespace jet {

int TableDef::columnIndex(std::string_view columnName) const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (jetNamesEqual(columns[i].name, columnName))
            return static_cast<int>(i);
    return -1;
}

std::string TableDef::backEndFile() const {
    if (kind != TableKind::LinkedJet || !linkedSourceName(connect).empty())
        return {};
    return linkedFilePath(linkedDatabase, connect);
}

const Column* TableDef::findColumn(std::string_view columnName) const {
    const int i = columnIndex(columnName);
    return i < 0 ? nullptr : &columns[static_cast<size_t>(i)];
}

}  // namespace jet
