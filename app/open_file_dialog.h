// The common file dialog `CommonDialog1` that the open command and Save As
// share: the settings each gives it before showing it, kept between the two
// as the one dialog object keeps them. Its file name is the last chosen
// (empty after a cancel) and names the file in the window caption.
#pragma once

#include <QString>

namespace app {

struct OpenFileDialog {
    QString fileName;
    QString defaultExt;
    QString initDir;  // empty: the system's default folder
    QString filter;   // written form, "Description|pattern|..."
    int flags = 0;
};

}  // namespace app
