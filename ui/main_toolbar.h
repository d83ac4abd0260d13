// The main toolbar `Toolbar`: its buttons in order, each with its key and
// tooltip, the two-state buttons and the RowMode/BlockMode group, followed by
// the "Rows" and "Cols" boxes. A click reports the button's key; what the key
// does is the window's business.
#pragma once

#include <QHash>
#include <QToolBar>

class QActionGroup;

namespace ui {

class SizeBoxes;

// The buttons the window acts on, typed; each keeps its key as data and
// "Toolbar." + key as its object name.
struct ToolbarButtons {
    QAction* newSheet = nullptr;          // "New"
    QAction* open = nullptr;              // "Open"
    QAction* save = nullptr;              // "Save" (no command)
    QAction* cut = nullptr;               // "Cut" (no command)
    QAction* copy = nullptr;              // "Copy"
    QAction* paste = nullptr;             // "Paste" (no command)
    QAction* bold = nullptr;              // "Bold"
    QAction* italic = nullptr;            // "Italic"
    QAction* underline = nullptr;         // "Underline"
    QAction* fontColor = nullptr;         // "A"
    QAction* fontColorPalette = nullptr;  // "Acolor"
    QAction* rowMode = nullptr;           // "RowMode"
    QAction* blockMode = nullptr;         // "BlockMode"
    QAction* dragMode = nullptr;          // "DragMode"
    QAction* alternateColor = nullptr;    // "AlternateColor"
    QAction* merge = nullptr;             // "Merge"
    QAction* flag = nullptr;              // "Flag"
    QAction* statistics = nullptr;        // "Statistics"
    QAction* barChart = nullptr;          // "Barchart"
};

class MainToolbar : public QToolBar {
    Q_OBJECT
  public:
    explicit MainToolbar(QWidget* parent = nullptr);

    // The button of that key, nullptr for an unknown key.
    QAction* button(const QString& key) const { return buttons_.value(key); }
    const ToolbarButtons& buttons() const { return typed_; }
    QStringList keys() const { return order_; }
    // Shows a two-state or group button pressed or up without running it.
    void setPressed(const QString& key, bool pressed);
    bool isPressed(const QString& key) const;
    SizeBoxes* sizeBoxes() const { return boxes_; }

  signals:
    // A button was clicked; two-state buttons have already flipped.
    void buttonClicked(const QString& key);

  private:
    QAction* addButton(const QString& key, const QString& tip, bool twoState);

    QHash<QString, QAction*> buttons_;
    ToolbarButtons typed_;
    QStringList order_;
    QActionGroup* modeGroup_;
    SizeBoxes* boxes_;
};

}  // namespace ui
