#include "ui/tips.h"

#include <algorithm>

namespace ui {

Tips::Tips(const QString& webAddress) {
    // Each text starts with four blanks, as the tip label shows them.
    texts_ = {
        QStringLiteral("    You can put a friendly Field (Column) name when you build your ACCESS "
                       "database. For example, use 'Last Name' in stead of 'LastName' (no space) "
                       "or Last_Name."),
        QStringLiteral("    You can turn the Alternate Row Color on or off by going to the View "
                       "menu and selecting Alternate Row Color. Or, you can just click the icon "
                       "on the toolbar."),
        QStringLiteral("    Highlight (select) rows and right-click to set the Flag on or off. "),
        QStringLiteral("    Double click one row to set the Flag on and off.  Later on, group the "
                       "flag marked 'items' by clicking the Flag column title bar. "),
        QStringLiteral("    You can resize the panels by dragging the boundaries with the mouse."),
        QStringLiteral("    You can copy the block or selected rows, and paste to Excel, Word, or "
                       "other Windows applications."),
        QStringLiteral("    You can input SQL syntax, click Run, and see the result on the right "
                       "panel."),
        QStringLiteral("    You can select the navigation mode to Row Mode or Block Mode. Drag "
                       "Mode is for Drag-Drop copying use."),
        QStringLiteral("    You can sort the data by any column, ascending or descending, by "
                       "clicking the column title bar."),
        QStringLiteral("    The program remembers your Windows settings and preferences when you "
                       "leave the application."),
        QStringLiteral("    You can go to the web site at ") + webAddress +
            QStringLiteral(" to access additional techniques for using the software."),
        QStringLiteral("    You can use the Up, Down, Page Up, and Page Down arrow keys to "
                       "navigate the retrieved data."),
        QStringLiteral("    You can use the F5 key to refresh the data."),
        QStringLiteral("    This is a one way data retrieving application. The SQL syntax box "
                       "does not accept key words like 'INSERT', 'UPDATE', 'DELETE'."),
        QStringLiteral("    You can rearrange the column position by dragging the column title "
                       "bar left or right."),
        QStringLiteral("    If you cannot change font type or color for the merged column cell, "
                       "change back to none-merge mode, select the first cell of the group to "
                       "be merged, change font type or c0lor then merge cells."),
        QStringLiteral("    You can use Ctrl-C to copy the Table or Field name, then Ctrl-V (or "
                       "right mouse click and select Paste) to paste to the SQL box."),
        QStringLiteral("    Double-click the Field name also paste the text to the SQL box. Thus, "
                       "save your typing."),
        QStringLiteral("    You can always copy and paste the syntax between SQL box and other "
                       "word processors."),
        QStringLiteral("    To view the instant bar chart, select 'Instant Bar Chart' from View "
                       "menu or press Ctrl-B, click the column (not title bar), then click the "
                       "Bar Chart icon on the toolbar."),
        QStringLiteral("    To view the Statistics and Histogram of one column, select 'Column "
                       "Analysis' from Tools menu or press F12 key, then click the column."),
    };
}

QString Tips::text(int i) const {
    return i >= 1 && i <= texts_.size() ? texts_[i - 1] : QString();
}

int Tips::firstIndex(double random) {
    if (!(random > 0.0)) {  // also NaN
        return 1;
    }
    if (random >= 1.0) {
        return kCount;
    }
    return std::min(static_cast<int>(kCount * random) + 1, kCount);
}

QString Tips::next() {
    current_ = current_ >= kCount ? 1 : current_ + 1;
    return text(current_);
}

QString Tips::previous() {
    current_ = current_ < 2 ? kCount : current_ - 1;
    return text(current_);
}

}  // namespace ui
