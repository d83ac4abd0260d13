// frmMain: files. The open command tells a file's kind by the end of its
// name and opens a database or loads the sheet from a grid or text file;
// Save As writes the sheet in one of the three forms. Files are read and
// written through the program's file system, so a failed read or write is
// reported and never leaves a sheet or a file half-changed.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include "app/file_system.h"
#include "app/frm_main.h"
#include "app/module_main.h"
#include "app/open_file_kind.h"
#include "db/progress_bar_feedback.h"
#include "db/scoped_action.h"
#include "sheet/delimited_text.h"
#include "sheet/form_view.h"
#include "sheet/grid.h"
#include "sheet/grid_file.h"
#include "ui/caption_panel.h"
#include "ui/dialogs.h"
#include "ui/main_menus.h"
#include "ui/main_toolbar.h"
#include "ui/maker_info.h"
#include "ui/size_boxes.h"
#include "ui/tab_strip.h"

namespace {

// Grid and text files larger than this are refused rather than read.
constexpr qint64 kMaxSheetFileBytes = qint64(1) << 30;
const char* const kCrLf = "\r\n";

QString fromStd(const std::string& s) {
    return QString::fromStdString(s);
}

// The file's bytes into the sheet; the sheet is replaced only when all of
// them read without fault.
jet::Status readSheetFile(app::FileSystem& files, sheet::Grid& fa,
                          db::ProgressBarFeedback& progress, const QString& fileName, int kind) {
    auto bytes = files.readFileUpTo(fileName, kMaxSheetFileBytes);
    if (!bytes) {
        return bytes.status();
    }
    if (kind == app::OpenFileKind::GridFile) {
        return sheet::GridFile::load(fa, *bytes);
    }
    const char separator = kind == app::OpenFileKind::CommaText ? sheet::DelimitedText::kComma
                                                                : sheet::DelimitedText::kTab;
    bool expected = false;
    return sheet::DelimitedText::load(fa, *bytes, separator,
                                      [&progress, &expected](std::size_t done, std::size_t total) {
                                          if (!expected) {
                                              progress.expect(total);
                                              expected = true;
                                          }
                                          progress.advanced(done);
                                      });
}

}  // namespace

void frmMain::connectFileHandlers() {
    setAcceptDrops(true);
    connect(menus->action(QStringLiteral("mnuOpen")), &QAction::triggered, this,
            &frmMain::mnuOpen_Click);
    connect(menus->action(QStringLiteral("mnuSaveAs")), &QAction::triggered, this,
            &frmMain::mnuSaveAs_Click);
}

void frmMain::mnuOpen_Click() {
    CommonDialog1.fileName.clear();
    CommonDialog1.defaultExt = QStringLiteral("*.mdb");
    CommonDialog1.flags = 4;
    CommonDialog1.filter = QString::fromLatin1(app::OpenFileKind::kOpenFilter);
    CommonDialog1.fileName =
        dialogs_.openFileName(QStringLiteral("Open"), CommonDialog1.initDir,
                              app::OpenFileKind::qtFilter(CommonDialog1.filter));
    if (CommonDialog1.fileName.isEmpty()) {
        return;
    }
    OpenFile(CommonDialog1.fileName);
}

void frmMain::OpenFile(const QString& fileName) {
    CommonDialog1.fileName = fileName;
    if (!module_.fileSystem().fileExists(fileName)) {
        dialogs_.messageBox(QStringLiteral("Format mismatch or file not found. Unable to open '") +
                                fileName + QStringLiteral("'.") + QLatin1String(kCrLf),
                            QStringLiteral("Open Error"), ui::Dialogs::Icon::Critical,
                            ui::Dialogs::Buttons::Ok);
        return;
    }
    CommonDialog1.initDir = lastOpenPath;
    const auto kind = app::OpenFileKind::of(fileName);
    if (kind == app::OpenFileKind::NotRecognised) {
        // Nothing changes: the open database, the tree and the menus stay.
        dialogs_.messageBox(
            QStringLiteral("You can only select the reconizable file types. Plaese select the "
                           "correct file type from the 'File of Types' list box in the Open "
                           "Dialog box and reopen again."),
            QStringLiteral("Open"), ui::Dialogs::Icon::Exclamation, ui::Dialogs::Buttons::Ok);
        return;
    }
    if (kind == app::OpenFileKind::Database) {
        // A database that cannot be opened leaves the window as it was.
        if (!OpenDatabase(fileName)) {
            return;
        }
        openFileType = 1;
        TreeView1->setVisible(true);
        VTPan->setVisible(false);
        sheetState.flagColumnPresent = true;
        menus->action(QStringLiteral("mnuAddFlagCol"))->setEnabled(false);
        Toolbar->button(QStringLiteral("Flag"))->setVisible(true);
    } else if (!loadSheetFile(fileName, kind)) {
        return;
    }
    switchFileMode(openFileType == 1);
    TabStrip1->setTabVisible(ui::TabStrip::ColumnStatistics, false);
    Toolbar->sizeBoxes()->txtRow->setText(QString::number(fa->rows() - 1));
    Toolbar->sizeBoxes()->txtCol->setText(QString::number(fa->cols()));
    AnalysisReset();
    SetMouseMode(0);
    menus->action(QStringLiteral("mnuPUSetFlag"))->setEnabled(true);
}

// Reads the whole file, then replaces the sheet only if it reads without
// fault; otherwise the sheet keeps its contents and the reason is shown.
bool frmMain::loadSheetFile(const QString& fileName, int kind) {
    // A big text file shows the progress bar as a big database result does,
    // with the window painting and user input held back until the sheet is
    // full.
    const jet::Status status = [&] {
        desktop_.setPointer(ui::Desktop::Pointer::Busy);
        loadProgress_->started(0);
        db::ScopedAction restore([this] {
            loadProgress_->finished();
            desktop_.setPointer(ui::Desktop::Pointer::Default);
        });
        return readSheetFile(module_.fileSystem(), *fa, *loadProgress_, fileName, kind);
    }();
    if (!status.isOk()) {
        dialogs_.messageBox(QStringLiteral("Unable to open '") + fileName + QStringLiteral("'.") +
                                QLatin1String(kCrLf) + fromStd(status.message()),
                            QStringLiteral("Open Error"), ui::Dialogs::Icon::Critical,
                            ui::Dialogs::Buttons::Ok);
        return false;
    }
    openFileType = app::OpenFileKind::openFileType(app::OpenFileKind::Kind(kind));
    if (kind == app::OpenFileKind::GridFile) {
        // A grid file brings its own alternate row colour; the menu entry
        // and the button show whether it is the program's.
        alternateColorOn = fa->backColorAlternate() == kAlternateColor;
        sheetState.alternateColorOn = alternateColorOn;
        menus->action(QStringLiteral("mnuAlternateColor"))->setChecked(alternateColorOn);
        Toolbar->setPressed(QStringLiteral("AlternateColor"), alternateColorOn);
    }
    sheetState.titlesChanged = true;
    FileSheetSetUp();
    return true;
}

void frmMain::switchFileMode(bool database) {
    menus->action(QStringLiteral("mnuSetColHeaderRow"))->setVisible(!database);
    menus->action(QStringLiteral("mnuSQLtab"))->setVisible(database);
    TabStrip1->setTabVisible(ui::TabStrip::Sql, database);
    menus->action(QStringLiteral("mnuPUSpace4"))->setVisible(!database);
    menus->action(QStringLiteral("mnuPUColHeader"))->setVisible(!database);
    if (!database) {
        CloseDatabase();
    }
}

void frmMain::FileSheetSetUp() {
    setWindowTitle(
        QStringLiteral("%1 [%2]").arg(QString::fromLatin1(ui::kMakerName), CommonDialog1.fileName));
    fb->setRows(fa->cols() + 1);
    TreeView1->setVisible(false);
    VTPan->setVisible(true);
    TabStrip1->setTabVisible(ui::TabStrip::Sql, false);
    menus->action(QStringLiteral("mnuAddFlagCol"))->setEnabled(true);
    Toolbar->button(QStringLiteral("Flag"))->setVisible(false);
    sheetState.flagColumnPresent = false;
    openFileType = 0;
    sheet::FormView::fillTitles(*fb, *fa);
    sheetState.titlesBuilt = true;
    SheetUpdate();
}

void frmMain::mnuSaveAs_Click() {
    CommonDialog1.fileName.clear();
    CommonDialog1.flags = 2;
    CommonDialog1.filter = QString::fromLatin1(app::OpenFileKind::kSaveFilter);
    CommonDialog1.fileName =
        dialogs_.saveFileName(QStringLiteral("Save As"), CommonDialog1.initDir,
                              app::OpenFileKind::qtFilter(CommonDialog1.filter));
    const QString name = CommonDialog1.fileName;
    if (name.isEmpty()) {
        return;
    }
    // The name is checked first, so that a refused name loses no flags.
    const auto kind = app::OpenFileKind::forSave(name);
    if (kind == app::OpenFileKind::NotRecognised) {
        dialogs_.messageBox(QStringLiteral("Plaese select the correct file type extension from "
                                           "the File of Types list box in the Save Dialog box "
                                           "and save again"),
                            QStringLiteral("Save"), ui::Dialogs::Icon::Exclamation,
                            ui::Dialogs::Buttons::Ok);
        return;
    }
    removeFlagColumnForSave();
    const QByteArray bytes =
        kind == app::OpenFileKind::GridFile ? sheet::GridFile::save(*fa)
        : kind == app::OpenFileKind::CommaText
            ? sheet::DelimitedText::save(*fa, sheet::DelimitedText::kComma, true)
            : sheet::DelimitedText::save(*fa, sheet::DelimitedText::kTab, true);
    const jet::Status written = module_.fileSystem().replaceFile(name, bytes);
    if (!written.isOk()) {
        dialogs_.messageBox(QStringLiteral("Unable to save '") + name + QStringLiteral("'.") +
                                QLatin1String(kCrLf) + fromStd(written.message()),
                            QStringLiteral("Save"), ui::Dialogs::Icon::Critical,
                            ui::Dialogs::Buttons::Ok);
    }
}

// Saved files never hold the flag column: it leaves the sheet itself.
void frmMain::removeFlagColumnForSave() {
    if (!sheetState.flagColumnPresent) {
        return;
    }
    fa->setColPosition(sheetState.flagColumn, fa->cols() - 1);
    fa->setCols(fa->cols() - 1);
    menus->action(QStringLiteral("mnuAddFlagCol"))->setEnabled(true);
    Toolbar->button(QStringLiteral("Flag"))->setVisible(false);
    sheetState.flagColumnPresent = false;
    Toolbar->sizeBoxes()->txtCol->setText(QString::number(fa->cols()));
}

namespace {

// The first local file of a drop whose kind the open command knows.
QString droppedFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) {
        return QString();
    }
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile() &&
            app::OpenFileKind::of(url.toLocalFile()) != app::OpenFileKind::NotRecognised) {
            return url.toLocalFile();
        }
    }
    return QString();
}

}  // namespace

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void frmMain::dropEvent(QDropEvent* event) {
    const QString file = droppedFile(event->mimeData());
    if (file.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // Opened once the drop has ended, so the program the file came from is
    // not held up by the messages the open command may show.
    QTimer::singleShot(0, this, [this, file] { OpenFile(file); });
}
