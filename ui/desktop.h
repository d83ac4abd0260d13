// What the window asks of the desktop around it: open a web or mail link,
// start the text editor, the screens' sizes, the mouse pointer shape and
// ending the program. Tests replace it with a scripted desktop.
#pragma once

#include <QList>
#include <QRect>
#include <QString>

namespace ui {

class Desktop {
  public:
    enum class Pointer { Default, Busy, SizeNS, SizeWE };

    virtual ~Desktop() = default;

    // Hands a URL (http:, mailto:) to the desktop's default handler; the
    // result is not examined. An empty target does nothing.
    virtual void openUrl(const QString& url) = 0;
    // Starts the desktop's text editor on a file without waiting for it.
    virtual void startTextEditor(const QString& path) = 0;
    // Available geometry of every screen, in pixels; the primary one first.
    virtual QList<QRect> screens() const = 0;
    // Logical dots per inch of the primary screen (twips conversion).
    virtual double logicalDpi() const = 0;
    // The pointer shown over the whole application.
    virtual void setPointer(Pointer pointer) = 0;
    virtual Pointer pointer() const = 0;
    // Ends the program once the current handler returns; nothing else of the
    // window runs after it.
    virtual void endProgram() = 0;
};

}  // namespace ui
