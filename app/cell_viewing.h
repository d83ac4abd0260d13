// The cell viewer's command (View > Cell Viewer, Shift+F2) and what the
// viewer shows: the data sheet's current cell, followed as it moves. Text
// shows whole and wrapped; a binary value shows as the picture it holds
// (bare or inside an OLE object) or else as hex, the first kHexBytes of it;
// an attachment cell lists its files with their sizes, each saved through
// the save dialog and never over the open database.
#pragma once

#include <QObject>
#include <QString>

#include <cstddef>
#include <memory>

class QMainWindow;

namespace sheet {
struct CellPayload;
}
namespace ui {
class CellViewer;
class Dialogs;
struct MenuActions;
struct WindowControls;
}  // namespace ui

namespace app {

class FileSystem;
class SheetFiles;

class CellViewing : public QObject {
    Q_OBJECT
  public:
    static constexpr std::size_t kHexBytes = std::size_t{64} << 10;

    CellViewing(QMainWindow& window, const ui::WindowControls& controls,
                const ui::MenuActions& menus, SheetFiles& files, FileSystem& fileSystem,
                ui::Dialogs& dialogs, QObject* parent = nullptr);

    ui::CellViewer& viewer() const { return *viewer_; }
    void setShown(bool shown);
    // Shows the sheet's current cell, while the viewer is shown.
    void follow();

  private:
    QString cellName(int row, int col) const;
    void showBinary(const QString& cell, const sheet::CellPayload& payload);
    void showHex(const QString& about, const sheet::CellPayload& payload);
    void showAttachments(const QString& cell, const sheet::CellPayload& payload);
    void saveAttachment(int index);
    void reportSaveFailure(const QString& fileName, const QString& reason);

    QMainWindow& window_;
    const ui::WindowControls& controls_;
    const ui::MenuActions& menus_;
    SheetFiles& files_;
    FileSystem& fileSystem_;
    ui::Dialogs& dialogs_;
    ui::CellViewer* viewer_ = nullptr;
    // The payload whose attachments the viewer lists.
    std::shared_ptr<const sheet::CellPayload> shown_;
};

}  // namespace app
