#include "ui/main_toolbar.h"

#include <QActionGroup>

#include "ui/size_boxes.h"
#include "ui/toolbar_icons.h"

namespace ui {

namespace {

struct ButtonSpec {
    QAction* ToolbarButtons::*field;
    const char* key;
    const char* tip;  // empty: no tooltip
    bool twoState;
    bool groupEnd;  // a separator follows
};

const ButtonSpec kButtons[] = {
    {&ToolbarButtons::newSheet, "New", "New", false, false},
    {&ToolbarButtons::open, "Open", "Open", false, false},
    {&ToolbarButtons::save, "Save", "", false, true},
    {&ToolbarButtons::cut, "Cut", "", false, false},
    {&ToolbarButtons::copy, "Copy", "Copy", false, false},
    {&ToolbarButtons::paste, "Paste", "", false, true},
    {&ToolbarButtons::bold, "Bold", "Bold", true, false},
    {&ToolbarButtons::italic, "Italic", "Italic", true, false},
    {&ToolbarButtons::underline, "Underline", "Underline", true, true},
    {&ToolbarButtons::fontColor, "A", "Current Font Color", false, false},
    {&ToolbarButtons::fontColorPalette, "Acolor", "Set Font Color", false, true},
    {&ToolbarButtons::rowMode, "RowMode", "Row and Find Mode", false, false},
    {&ToolbarButtons::blockMode, "BlockMode", "Block and Edit Mode", false, false},
    {&ToolbarButtons::dragMode, "DragMode", "Toggle Drag Mode", true, true},
    {&ToolbarButtons::alternateColor, "AlternateColor", "Toggle Alternate Color", true, false},
    {&ToolbarButtons::merge, "Merge", "Toggle Merge Column Cells", false, false},
    {&ToolbarButtons::flag, "Flag", "Toggle Flag", false, true},
    {&ToolbarButtons::statistics, "Statistics", "Column Statistics", true, false},
    {&ToolbarButtons::barChart, "Barchart", "Toggle Column Bar Chart", false, true},
};

}  // namespace

MainToolbar::MainToolbar(QWidget* parent) : QToolBar(parent) {
    setObjectName(QStringLiteral("Toolbar"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(20, 20));
    modeGroup_ = new QActionGroup(this);
    modeGroup_->setExclusive(true);
    for (const ButtonSpec& spec : kButtons) {
        typed_.*spec.field =
            addButton(QString::fromLatin1(spec.key), QString::fromLatin1(spec.tip), spec.twoState);
        if (spec.groupEnd) {
            addSeparator();
        }
    }
    boxes_ = new SizeBoxes(this);
    addWidget(boxes_);
}

QAction* MainToolbar::addButton(const QString& key, const QString& tip, bool twoState) {
    // Text stays empty so that a button without a tooltip shows none: Qt
    // would otherwise offer the text as the tooltip.
    QAction* action = addAction(ToolbarIcons::button(key), QString());
    action->setData(key);
    action->setObjectName(QStringLiteral("Toolbar.") + key);
    action->setToolTip(tip);
    const bool grouped = key == QLatin1String("RowMode") || key == QLatin1String("BlockMode");
    action->setCheckable(twoState || grouped);
    if (grouped) {
        modeGroup_->addAction(action);
    }
    action->setChecked(key == QLatin1String("RowMode"));
    connect(action, &QAction::triggered, this, [this, key] { emit buttonClicked(key); });
    buttons_.insert(key, action);
    order_.append(key);
    return action;
}

void MainToolbar::setPressed(const QString& key, bool pressed) {
    if (QAction* action = button(key)) {
        action->setChecked(pressed);
    }
}

bool MainToolbar::isPressed(const QString& key) const {
    const QAction* action = button(key);
    return action && action->isChecked();
}

}  // namespace ui
