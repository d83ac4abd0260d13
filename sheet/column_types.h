// The data type codes a sheet column carries: the VarType numbers of a
// database field's values. Columns loaded from text files and the flag column
// carry kEmptyType; the codes that change how the sheet and the statistics
// treat a column are named here, once.
#pragma once

namespace sheet {

enum ColumnType : int {
    kEmptyType = 0,
    kDateType = 7,
    kTextType = 8,
    kBooleanType = 11,
    // Binary and OLE Object values (vbArray + vbByte): shown by their size.
    kByteArrayType = 8209,
};

}  // namespace sheet
