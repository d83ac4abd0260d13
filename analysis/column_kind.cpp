#include "analysis/column_kind.h"

namespace analysis {

bool isNumericColumn(int dataType, bool isFlagColumn) {
    if (isFlagColumn)
        return false;
    return dataType != kDateType && dataType != kTextType && dataType != kBooleanType &&
           dataType != kByteArrayType;
}

}  // namespace analysis
