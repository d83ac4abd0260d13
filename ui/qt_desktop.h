// The desktop reached through Qt: QDesktopServices, QProcess, QScreen, the
// application's override cursor and the event loop's exit.
#pragma once

#include "ui/desktop.h"

namespace ui {

class QtDesktop : public Desktop {
  public:
    void openUrl(const QString& url) override;
    void startTextEditor(const QString& path) override;
    QList<QRect> screens() const override;
    double logicalDpi() const override;
    void setPointer(Pointer pointer) override;
    Pointer pointer() const override { return pointer_; }
    void endProgram() override;

  private:
    Pointer pointer_ = Pointer::Default;
};

}  // namespace ui
