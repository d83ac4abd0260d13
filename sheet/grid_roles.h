// Item data roles of the grid model beyond Qt's own, read by the delegate
// and the title header.
#pragma once

#include <Qt>

namespace sheet {

enum GridRole {
    PictureAlignmentRole = Qt::UserRole + 1,  // int, picture alignment code (7 right)
    BarPercentRole,                           // double, in-cell bar length in percent
    BarColorRole,                             // QColor of the in-cell bar
    MergeAboveRole,                           // bool: same text as the merged cell above
    MergeBelowRole,                           // bool: same text as the merged cell below
    NumericRole,                              // bool: the text reads as a number
};

}  // namespace sheet
