#include "app/sheet_files.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTreeWidget>
#include <QUrl>

#include "app/database_browser.h"
#include "app/file_system.h"
#include "app/json_lines_file.h"
#include "app/sqlite_sheet_file.h"
#include "db/database.h"
#include "db/progress_bar_feedback.h"
#include "db/scoped_action.h"
#include "sheet/delimited_text.h"
#include "sheet/flag_column_controller.h"
#include "sheet/form_view.h"
#include "sheet/format_commands.h"
#include "sheet/grid.h"
#include "sheet/grid_file.h"
#include "sheet/sheet_update.h"
#include "sheet/title_row_guess.h"
#include "ui/caption_panel.h"
#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/maker_info.h"
#include "ui/menu_actions.h"
#include "ui/tab_strip.h"
#include "ui/window_controls.h"

namespace app {

namespace {

// Grid and text files larger than this are refused rather than read.
constexpr qint64 kMaxSheetFileBytes = qint64(1) << 30;
const char* const kCrLf = "\r\n";

QString fromStd(const std::string& s) {
    return QString::fromStdString(s);
}

// The file's bytes into the sheet; the sheet is replaced only when all of
// them read without fault.
jet::Status readSheetFile(FileSystem& files, sheet::Grid& sheet, db::ProgressBarFeedback& progress,
                          const QString& fileName, OpenFileKind::Kind kind) {
    auto bytes = files.readFileUpTo(fileName, kMaxSheetFileBytes);
    if (!bytes) {
        return bytes.status();
    }
    if (kind == OpenFileKind::GridFile) {
        return sheet::GridFile::load(sheet, *bytes);
    }
    const char separator =
        kind == OpenFileKind::CommaText ? sheet::DelimitedText::kComma : sheet::DelimitedText::kTab;
    bool expected = false;
    return sheet::DelimitedText::load(sheet, *bytes, separator,
                                      [&progress, &expected](std::size_t done, std::size_t total) {
                                          if (!expected) {
                                              progress.expect(total);
                                              expected = true;
                                          }
                                          progress.advanced(done);
                                          return !progress.stopRequested();
                                      });
}

}  // namespace

SheetFiles::SheetFiles(const ui::WindowControls& controls, const ui::MenuActions& menus,
                       DatabaseBrowser& browser, sheet::FlagColumnController& flags,
                       sheet::SheetState& state, FileSystem& files,
                       db::ProgressBarFeedback& progress, ui::Dialogs& dialogs,
                       ui::Desktop& desktop, QObject* parent)
    : QObject(parent),
      controls_(controls),
      menus_(menus),
      browser_(browser),
      flags_(flags),
      state_(state),
      files_(files),
      progress_(progress),
      dialogs_(dialogs),
      desktop_(desktop) {
    connect(menus_.open, &QAction::triggered, this, &SheetFiles::chooseAndOpen);
    connect(menus_.saveAs, &QAction::triggered, this, &SheetFiles::saveAs);
}

void SheetFiles::showMessage(const QString& text, const QString& title, bool exclamation) {
    dialogs_.messageBox(text, title,
                        exclamation ? ui::Dialogs::Icon::Exclamation : ui::Dialogs::Icon::Critical,
                        ui::Dialogs::Buttons::Ok);
}

void SheetFiles::chooseAndOpen() {
    ui::Dialogs::CheckBox titles{QStringLiteral("chkFirstLineTitles"),
                                 QStringLiteral("First line of a text file as column titles"),
                                 firstLineTitles_};
    fileName_ = dialogs_.openFileNameWithCheckBox(
        QStringLiteral("Open"), initialFolder_,
        OpenFileKind::qtFilter(QString::fromLatin1(OpenFileKind::kOpenFilter)), titles);
    if (fileName_.isEmpty()) {
        return;
    }
    firstLineTitles_ = titles.checked;
    openFile(fileName_);
}

void SheetFiles::openFile(const QString& fileName) {
    fileName_ = fileName;
    if (!files_.fileExists(fileName)) {
        showMessage(QStringLiteral("Format mismatch or file not found. Unable to open '") +
                        fileName + QStringLiteral("'.") + QLatin1String(kCrLf),
                    QStringLiteral("Open Error"), false);
        return;
    }
    initialFolder_ = lastOpenPath_;
    const auto kind = OpenFileKind::of(fileName);
    if (kind == OpenFileKind::NotRecognised) {
        // Nothing changes: the open database, the tree and the menus stay.
        showMessage(
            QStringLiteral("You can only select the reconizable file types. Plaese select the "
                           "correct file type from the 'File of Types' list box in the Open "
                           "Dialog box and reopen again."),
            QStringLiteral("Open"), true);
        return;
    }
    if (kind == OpenFileKind::Database) {
        // A database that cannot be opened leaves the window as it was.
        if (!browser_.open(fileName)) {
            return;
        }
        openFileType_ = OpenFileType::Database;
        controls_.databaseTree->setVisible(true);
        controls_.captionPanel->setVisible(false);
    } else if (!loadSheetFile(fileName, kind)) {
        return;
    }
    switchFileMode(openFileType_ == OpenFileType::Database);
    emit opened(fileName);
}

// Reads the whole file, then replaces the sheet only if it reads without
// fault; otherwise the sheet keeps its contents and the reason is shown.
bool SheetFiles::loadSheetFile(const QString& fileName, OpenFileKind::Kind kind) {
    // A big text file shows the progress bar as a big database result does,
    // with the window painting and user input held back until the sheet is
    // full.
    const jet::Status status = [&] {
        desktop_.setPointer(ui::Desktop::Pointer::Busy);
        progress_.started(0);
        db::ScopedAction restore([this] {
            progress_.finished();
            desktop_.setPointer(ui::Desktop::Pointer::Default);
        });
        return readSheetFile(files_, *controls_.dataSheet, progress_, fileName, kind);
    }();
    if (!status.isOk() && progress_.stopRequested()) {
        // Esc: the sheet never took the rows read so far.
        dialogs_.messageBox(QStringLiteral("Loading stopped: the sheet still shows what it "
                                           "showed before '%1'.")
                                .arg(fileName),
                            QString::fromLatin1(ui::kProductName), ui::Dialogs::Icon::Information,
                            ui::Dialogs::Buttons::Ok);
        return false;
    }
    if (!status.isOk()) {
        showMessage(QStringLiteral("Unable to open '") + fileName + QStringLiteral("'.") +
                        QLatin1String(kCrLf) + fromStd(status.message()),
                    QStringLiteral("Open Error"), false);
        return false;
    }
    openFileType_ = OpenFileKind::openFileType(kind);
    if (kind != OpenFileKind::GridFile && firstLineTitles_) {
        takeTitlesFromFirstLine();
    }
    if (kind == OpenFileKind::GridFile) {
        emit alternateColorLoaded(controls_.dataSheet->backColorAlternate() ==
                                  sheet::kAlternateRowColor);
    }
    state_.titlesChanged = true;
    setUpFileSheet();
    sheetFile_ = fileName;
    return true;
}

// A first line that names every column (as our own saves write the titles)
// becomes the title row; any other first line stays data row 1.
void SheetFiles::takeTitlesFromFirstLine() {
    sheet::Grid& sheet = *controls_.dataSheet;
    if (!sheet::TitleRowGuess::firstRowNamesEveryColumn(sheet)) {
        return;
    }
    for (int c = 0; c < sheet.cols(); ++c) {
        sheet.setTextMatrix(0, c, sheet.textMatrix(1, c));
    }
    sheet.removeItem(1);
}

void SheetFiles::switchFileMode(bool database) {
    menus_.setHeaderRow->setVisible(!database);
    menus_.sqlTab->setVisible(database);
    controls_.tabStrip->setTabVisible(ui::TabStrip::Sql, database);
    menus_.popupHeaderRowSeparator->setVisible(!database);
    menus_.popupHeaderRow->setVisible(!database);
    if (!database) {
        browser_.close();
    }
}

void SheetFiles::setUpFileSheet() {
    sheetFile_.clear();
    controls_.client->window()->setWindowTitle(
        QStringLiteral("%1 [%2]").arg(QString::fromLatin1(ui::kMakerName), fileName_));
    controls_.formView->setRows(controls_.dataSheet->cols() + 1);
    controls_.databaseTree->setVisible(false);
    controls_.captionPanel->setVisible(true);
    controls_.tabStrip->setTabVisible(ui::TabStrip::Sql, false);
    flags_.startWithout();
    openFileType_ = OpenFileType::None;
    sheet::FormView::fillTitles(*controls_.formView, *controls_.dataSheet);
    state_.titlesBuilt = true;
    emit fileSheetReady();
}

void SheetFiles::saveAs() {
    const QString source = sourceName();
    fileName_ = dialogs_.saveFileName(
        QStringLiteral("Save As"), initialFolder_,
        OpenFileKind::qtFilter(QString::fromLatin1(OpenFileKind::kSaveFilter)));
    const QString name = fileName_;
    if (name.isEmpty()) {
        return;
    }
    // The name is checked first, so that a refused name loses no flags.
    const auto kind = OpenFileKind::forSave(name);
    if (kind == OpenFileKind::NotRecognised) {
        showMessage(QStringLiteral("Plaese select the correct file type extension from "
                                   "the File of Types list box in the Save Dialog box "
                                   "and save again"),
                    QStringLiteral("Save"), true);
        return;
    }
    if (isOpenDatabase(name)) {
        showMessage(QStringLiteral("Unable to save '") + name + QStringLiteral("'.") +
                        QLatin1String(kCrLf) +
                        QStringLiteral("It is the open database; choose another name."),
                    QStringLiteral("Save"), false);
        return;
    }
    flags_.removeForSave();
    // Written whole to a temporary name and renamed over the target, so a
    // failure leaves any earlier file as it was.
    const jet::Result<QByteArray> bytes = sheetBytes(kind, source);
    const jet::Status written = bytes ? files_.replaceFile(name, *bytes) : bytes.status();
    if (!written.isOk()) {
        showMessage(QStringLiteral("Unable to save '") + name + QStringLiteral("'.") +
                        QLatin1String(kCrLf) + fromStd(written.message()),
                    QStringLiteral("Save"), false);
        return;
    }
    emit saved(name);
}

jet::Result<QByteArray> SheetFiles::sheetBytes(OpenFileKind::Kind kind,
                                               const QString& source) const {
    const sheet::Grid& sheet = *controls_.dataSheet;
    switch (kind) {
        case OpenFileKind::GridFile:
            return sheet::GridFile::save(sheet);
        case OpenFileKind::CommaText:
            return sheet::DelimitedText::save(sheet, sheet::DelimitedText::kComma, true);
        case OpenFileKind::JsonLines:
            return JsonLinesFile::save(sheet);
        case OpenFileKind::SqliteDatabase:
            return SqliteSheetFile::save(sheet, SqliteSheetFile::tableName(source));
        default:
            return sheet::DelimitedText::save(sheet, sheet::DelimitedText::kTab, true);
    }
}

QString SheetFiles::sourceName() const {
    if (openFileType_ != OpenFileType::Database) {
        return sheetFile_.isEmpty() ? QString() : QFileInfo(sheetFile_).completeBaseName();
    }
    const auto& database = browser_.database();
    const std::string& shown = browser_.dataControl().recordSource();
    if (database) {
        for (int i = 0; i < database->tableDefCount(); ++i) {
            if (database->tableDef(i).name == shown) {
                return QString::fromStdString(shown);
            }
        }
        if (database->queryDefs().find(shown)) {
            return QString::fromStdString(shown);
        }
    }
    return QStringLiteral("Query");  // a typed statement
}

bool SheetFiles::isOpenDatabase(const QString& fileName) const {
    const auto& database = browser_.database();
    return database && database->engine() &&
           database->engine()->isFile(QFile::encodeName(fileName).toStdString());
}

QString SheetFiles::droppedFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) {
        return QString();
    }
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile() &&
            OpenFileKind::of(url.toLocalFile()) != OpenFileKind::NotRecognised) {
            return url.toLocalFile();
        }
    }
    return QString();
}

}  // namespace app
