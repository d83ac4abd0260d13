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

class MainToolbar : public QToolBar {
    Q_OBJECT
  public:
    explicit MainToolbar(QWidget* parent = nullptr);

    // The button of that key, nullptr for an unknown key.
    QAction* button(const QString& key) const { return buttons_.value(key); }
    QStringList keys() const { return order_; }
    // Shows a two-state or group button pressed or up without running it.
    void setPressed(const QString& key, bool pressed);
    bool isPressed(const QString& key) const;
    SizeBoxes* sizeBoxes() const { return boxes_; }

  signals:
    // A button was clicked; two-state buttons have already flipped.
    void buttonClicked(const QString& key);

  private:
    void addButton(const QString& key, const QString& tip, bool twoState);

    QHash<QString, QAction*> buttons_;
    QStringList order_;
    QActionGroup* modeGroup_;
    SizeBoxes* boxes_;
};

}  // namespace ui
