#include "db/flag_column.h"

#include <QString>

#include "db/var_type.h"
#include "sheet/grid.h"
#include "sheet/sheet_update.h"

namespace db {

void FlagColumn::add(sheet::Grid& fa, sheet::Grid& fb, sheet::SheetState& state) {
    const int last = fa.cols();
    fa.setCols(last + 1);
    fa.setColPosition(last, 0);
    fa.setColWidth(0, kWidth);
    fa.setColDataType(0, VarType::kEmpty);
    fa.setTextMatrix(0, 0, QString::fromLatin1(kTitle));
    fb.setRows(fa.cols() + 1);
    state.flagColumnPresent = true;
    state.flagColumn = 0;
}

}  // namespace db
