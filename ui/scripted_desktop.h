// A desktop for tests: records the links opened, files edited, pointer
// changes and whether the program was ended; screens and DPI are set by the
// test.
#pragma once

#include <QStringList>

#include "ui/desktop.h"

namespace ui {

class ScriptedDesktop : public Desktop {
  public:
    QStringList openedUrls;
    QStringList editedFiles;
    QList<QRect> screenRects{QRect(0, 0, 1280, 1024)};
    double dpi = 96.0;
    QList<Pointer> pointerHistory;
    int endCount = 0;

    void openUrl(const QString& url) override { openedUrls.append(url); }
    void startTextEditor(const QString& path) override { editedFiles.append(path); }
    QList<QRect> screens() const override { return screenRects; }
    double logicalDpi() const override { return dpi; }
    void setPointer(Pointer p) override;
    Pointer pointer() const override { return current_; }
    void endProgram() override { ++endCount; }

  private:
    Pointer current_ = Pointer::Default;
};

}  // namespace ui
