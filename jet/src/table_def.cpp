#include "jet/table_def.h"

#include "jet/collation.h"

namespace jet {

int TableDef::columnIndex(std::string_view columnName) const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (jetNamesEqual(columns[i].name, columnName))
            return static_cast<int>(i);
    return -1;
}

const Column* TableDef::findColumn(std::string_view columnName) const {
    const int i = columnIndex(columnName);
    return i < 0 ? nullptr : &columns[static_cast<size_t>(i)];
}

}  // namespace jet
