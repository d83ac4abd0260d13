#include "ui/status_panels.h"

#include <QLabel>

namespace ui {

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("SBar"));
    setSizeGripEnabled(false);
    const int widths[kPanelCount] = {0, 48, 48, 48, 130};  // 0: takes the rest
    for (int i = 0; i < kPanelCount; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("SBar.Panel%1").arg(i + 1));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setContentsMargins(3, 0, 3, 0);
        if (widths[i] > 0) {
            label->setMinimumWidth(widths[i]);
            label->setAlignment(Qt::AlignCenter);
        }
        addPermanentWidget(label, widths[i] > 0 ? 0 : 1);
        panels_[i] = label;
    }
}

void StatusPanels::setPanelText(int i, const QString& text) {
    if (i >= 1 && i <= kPanelCount) {
        panels_[i - 1]->setText(text);
    }
}

QString StatusPanels::panelText(int i) const {
    return i >= 1 && i <= kPanelCount ? panels_[i - 1]->text() : QString();
}

QRect StatusPanels::panelRect(int i) const {
    return i >= 1 && i <= kPanelCount ? panels_[i - 1]->geometry() : QRect();
}

}  // namespace ui
