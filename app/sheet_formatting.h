// The formatting commands of the data sheet and the font colour palette:
// bold, italic and underline, the font colour, column number formats, the
// alternate row colour and merging. The rules live in sheet::FormatCommands
// and ui::ColorPalette; here the menus and toolbar buttons are kept in step.
#pragma once

#include <QObject>

class QAction;
class QString;

namespace sheet {
class EditHistory;
enum class CellSetting;
struct SheetState;
}  // namespace sheet
namespace ui {
struct MenuActions;
struct WindowControls;
}  // namespace ui

namespace app {

class SheetFormatting : public QObject {
    Q_OBJECT
  public:
    SheetFormatting(const ui::WindowControls& controls, const ui::MenuActions& menus,
                    sheet::SheetState& state, sheet::EditHistory& history,
                    QObject* parent = nullptr);

    void toggleBold();
    void toggleItalic();
    void toggleUnderline();
    // "A": the current font colour again.
    void applyFontColor();
    // "Acolor": drops the palette down.
    void openPalette();
    void setColumnFormat(const QString& format);
    void toggleMerge();
    // Alternate row colour on or off, with the menu check and the button.
    void setAlternateColor(bool on);
    // The state, menu check and button only: a grid file brought its own colour.
    void showAlternateColor(bool on);
    // The palette swatch last chosen.
    int currentColor() const { return currentColor_; }

  private:
    void connectActions();
    bool blockModeOn() const;
    void toggleStyle(sheet::CellSetting style, QAction* button);
    void onSwatchClicked(int index);

    const ui::WindowControls& controls_;
    const ui::MenuActions& menus_;
    sheet::SheetState& state_;
    sheet::EditHistory& history_;
    int currentColor_ = 0;
};

}  // namespace app
