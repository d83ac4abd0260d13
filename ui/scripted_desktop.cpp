#include "ui/scripted_desktop.h"

namespace ui {

void ScriptedDesktop::setPointer(Pointer p) {
    current_ = p;
    pointerHistory.append(p);
}

}  // namespace ui
