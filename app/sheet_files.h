// Sheet files: the open command (a database, or a grid or text file into the
// sheet, told apart by the end of the name), Save As in the three forms,
// and the file-mode set-up. Files are read and written through the program's
// file system, so a failed read or write is reported and never leaves a sheet
// or a file half-changed.
#pragma once

#include <QObject>
#include <QString>

#include "app/open_file_kind.h"
#include "jet/status.h"

class QMimeData;

namespace db {
class ProgressBarFeedback;
}
namespace sheet {
class FlagColumnController;
struct SheetState;
}  // namespace sheet
namespace ui {
class Desktop;
class Dialogs;
struct MenuActions;
struct WindowControls;
}  // namespace ui

namespace app {

class DatabaseBrowser;
class FileSystem;

class SheetFiles : public QObject {
    Q_OBJECT
  public:
    SheetFiles(const ui::WindowControls& controls, const ui::MenuActions& menus,
               DatabaseBrowser& browser, sheet::FlagColumnController& flags,
               sheet::SheetState& state, FileSystem& files, db::ProgressBarFeedback& progress,
               ui::Dialogs& dialogs, ui::Desktop& desktop, QObject* parent = nullptr);

    // "&Open...": asks for a file and opens it.
    void chooseAndOpen();
    // Opens one named file (after the dialog, a drop or the command line).
    void openFile(const QString& fileName);
    // The window shows a file sheet: caption, caption panel for the tree,
    // no "SQL" tab, no flag column, the form view's titles from the sheet.
    void setUpFileSheet();
    // "Save &As...": the sheet without its flag column, in the form the name asks.
    void saveAs();

    OpenFileType openFileType() const { return openFileType_; }
    // The folder last opened from, kept in the settings file.
    QString& lastOpenPath() { return lastOpenPath_; }
    // Whether a text file's first line becomes the titles when it names every
    // column: the open dialog's check box, kept in the settings file.
    bool& firstLineTitles() { return firstLineTitles_; }
    // The folder the file dialogs start in.
    const QString& initialFolder() const { return initialFolder_; }

    // Whether fileName names the open database's file under any spelling:
    // nothing may be written there.
    bool isOpenDatabase(const QString& fileName) const;

    // The first local file of a drop whose kind the open command knows.
    static QString droppedFile(const QMimeData* mime);

  signals:
    // A file was opened: a database shown, or a file loaded into the sheet.
    void opened(const QString& fileName);
    // The sheet was written to a file.
    void saved(const QString& fileName);
    // A grid file brought its own alternate row colour: whether it is ours.
    void alternateColorLoaded(bool programColor);
    // The sheet was set up as a file sheet; the sheet update is due.
    void fileSheetReady();

  private:
    bool loadSheetFile(const QString& fileName, OpenFileKind::Kind kind);
    void takeTitlesFromFirstLine();
    void switchFileMode(bool database);
    void showMessage(const QString& text, const QString& title, bool exclamation);
    // Where the sheet came from, for a table named after it: the table or
    // saved query shown, "Query" for a typed statement, the file's name.
    QString sourceName() const;
    jet::Result<QByteArray> sheetBytes(OpenFileKind::Kind kind, const QString& source) const;

    const ui::WindowControls& controls_;
    const ui::MenuActions& menus_;
    DatabaseBrowser& browser_;
    sheet::FlagColumnController& flags_;
    sheet::SheetState& state_;
    FileSystem& files_;
    db::ProgressBarFeedback& progress_;
    ui::Dialogs& dialogs_;
    ui::Desktop& desktop_;
    OpenFileType openFileType_ = OpenFileType::None;
    QString lastOpenPath_;
    QString fileName_;   // the file last chosen or opened, shown in the caption
    QString sheetFile_;  // the grid or text file the sheet was loaded from
    QString initialFolder_;
    bool firstLineTitles_ = true;
};

}  // namespace app
