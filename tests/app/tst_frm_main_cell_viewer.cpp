// The cell viewer in the real main window: View > Cell Viewer and Shift+F2
// open and close the dock; it follows the current cell as clicks and keys
// move it, shows long text whole and wrapped, a picture held in an OLE
// object at its size, other binary values as hex (the first 64 KB), and the
// files of an attachment cell with a Save button each that writes the file
// through the save dialog. Binary cells show their size in the sheet, and
// Copy puts that text on the clipboard.
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "app/cell_viewing.h"
#include "sheet/cell_payload.h"
#include "sheet/grid.h"
#include "sheet_driving.h"
#include "support/ole_bytes.h"
#include "ui/cell_viewer.h"
#include "ui/main_menus.h"
#include "ui/picture_view.h"
#include "window_fixture.h"

using Page = ui::CellViewer::Page;

namespace {

// A 40 x 30 picture as a bare DIB inside the OLE object Access writes for
// a Paint picture: header, OLE 1.0 stream, native data.
std::string oleBitmap() {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(qRgb(30, 120, 200));
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    const std::string dib = bmp.mid(14).toStdString();
    return testsupport::oleObject("Bitmap Image", "Paint.Picture", dib);
}

std::shared_ptr<const sheet::CellPayload> binary(const std::string& bytes) {
    auto payload = std::make_shared<sheet::CellPayload>();
    payload->bytes = bytes;
    payload->size = bytes.size();
    return payload;
}

std::shared_ptr<const sheet::CellPayload> attachments() {
    auto payload = std::make_shared<sheet::CellPayload>();
    payload->kind = sheet::CellPayload::Kind::Attachments;
    for (const std::string& name : {std::string("notes.txt"), std::string("../../photo.png")}) {
        sheet::CellAttachment& file = payload->attachments.emplace_back();
        file.name = name;
        const std::string data = "the bytes of " + name;
        file.size = [data] { return jet::Result<uint64_t>(data.size()); };
        file.read = [data] { return jet::Result<std::string>(data); };
    }
    return payload;
}

QString longText() {
    QString text;
    for (int i = 0; i < 200; ++i) {
        text += QStringLiteral("word%1 ").arg(i);
    }
    return text + QStringLiteral("\r\nlast line");
}

}  // namespace

class FrmMainCellViewerTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void menuEntryAndShiftF2OpenAndCloseTheViewer();
    void longTextShowsWholeAndWrapped();
    void viewerFollowsTheCurrentCell();
    void pictureInAnOleObjectShowsAtItsSize();
    void otherBinaryShowsAsHexOfTheFirst64Kb();
    void binaryCellsShowTheirSizeAndCopyIt();
    void attachmentsAreListedAndSaved();
    void attachmentSaveCancelledWritesNothing();
    void editingABinaryCellShowsTheNewText();

  private:
    QAction* entry(const char* name) const { return w_->menus().action(QString::fromLatin1(name)); }
    ui::CellViewer& viewer() const { return w_->cellViewing().viewer(); }
    void goTo(int row, int col);

    std::unique_ptr<ToolbarWindowRun> window_;
    app::MainWindow* w_ = nullptr;
    sheet::Grid* sheet_ = nullptr;
    std::string bigBinary_;
};

// Name | Notes | Photo: the photo column holds an OLE bitmap, 100 KB of
// bytes no viewer knows, and the files of an attachment cell, filled the way
// a database result fills the sheet.
void FrmMainCellViewerTest::init() {
    window_ = std::make_unique<ToolbarWindowRun>();
    w_ = &window_->window();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    sheet_ = w_->controls().dataSheet;
    bigBinary_.clear();
    for (int i = 0; i < 100 * 1024; ++i) {
        bigBinary_.push_back(char(i % 251));
    }
    const std::vector<std::shared_ptr<const sheet::CellPayload>> photos = {
        binary(oleBitmap()), binary(bigBinary_), attachments()};
    const QString notes = longText();
    const std::string notesText = notes.toStdString();
    sheet_->beginFill(std::vector<QString>{QStringLiteral("Name"), QStringLiteral("Notes"),
                                           QStringLiteral("Photo")});
    std::vector<std::string> labels;
    for (std::size_t r = 0; r < photos.size(); ++r) {
        const auto& photo = photos[r];
        labels.push_back(photo->kind == sheet::CellPayload::Kind::Binary
                             ? sheet::binaryCellText(photo->size)
                             : std::string("notes.txt; photo.png"));
    }
    for (std::size_t r = 0; r < photos.size(); ++r) {
        const std::string name = "row" + std::to_string(r + 1);
        sheet::CellInput cells[3];
        cells[0].text = name;
        cells[1].text = notesText;
        cells[2].text = labels[r];
        cells[2].payload = photos[r];
        sheet_->appendRow(cells);
    }
    sheet_->endFill();
    w_->runSheetUpdate();
}

void FrmMainCellViewerTest::cleanup() {
    window_.reset();
}

void FrmMainCellViewerTest::goTo(int row, int col) {
    clickCell(*sheet_, row, col);
    QCOMPARE(sheet_->row(), row);
    QCOMPARE(sheet_->col(), col);
}

void FrmMainCellViewerTest::menuEntryAndShiftF2OpenAndCloseTheViewer() {
    QAction* menu = entry("mnuCellViewer");
    QVERIFY(menu);
    QVERIFY(w_->menus().menu(QStringLiteral("mnuView"))->actions().contains(menu));
    QCOMPARE(menu->shortcut(), QKeySequence(QStringLiteral("Shift+F2")));
    QCOMPARE(viewer().objectName(), QStringLiteral("dockCellViewer"));
    QVERIFY(!viewer().isVisible());
    menu->trigger();
    QVERIFY(viewer().isVisible());
    QVERIFY(menu->isChecked());
    // The panes make room: the sheet ends left of the dock.
    QTRY_VERIFY(sheet_->geometry().right() < w_->centralWidget()->width());
    QVERIFY(viewer().x() >= w_->centralWidget()->width());
    sheet_->setFocus();
    QTest::keyClick(sheet_, Qt::Key_F2, Qt::ShiftModifier);
    QVERIFY(!viewer().isVisible());
    QVERIFY(!menu->isChecked());
    QTest::keyClick(sheet_, Qt::Key_F2, Qt::ShiftModifier);
    QVERIFY(viewer().isVisible());
    viewer().close();  // its own close button
    QVERIFY(!menu->isChecked());
}

void FrmMainCellViewerTest::longTextShowsWholeAndWrapped() {
    entry("mnuCellViewer")->trigger();
    goTo(1, 1);
    QCOMPARE(viewer().page(), Page::Text);
    QPlainTextEdit* box = viewer().textBox();
    QCOMPARE(box->toPlainText(), longText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QVERIFY(box->isReadOnly());
    QCOMPARE(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QVERIFY(box->textInteractionFlags() & Qt::TextSelectableByMouse);
    QCOMPARE(viewer().about(),
             QStringLiteral("Notes, row 1: text, %1 characters").arg(longText().size()));
}

void FrmMainCellViewerTest::viewerFollowsTheCurrentCell() {
    goTo(1, 0);
    entry("mnuCellViewer")->trigger();
    QCOMPARE(viewer().textBox()->toPlainText(), QStringLiteral("row1"));
    sheet_->setFocus();
    QTest::keyClick(sheet_, Qt::Key_Down);
    QCOMPARE(viewer().textBox()->toPlainText(), QStringLiteral("row2"));
    QTest::keyClick(sheet_, Qt::Key_Right);
    QTest::keyClick(sheet_, Qt::Key_Right);
    QCOMPARE(viewer().page(), Page::Hex);
    QTest::keyClick(sheet_, Qt::Key_Up);
    QCOMPARE(viewer().page(), Page::Picture);
    QTest::keyClick(sheet_, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(viewer().page(), Page::Attachments);
}

void FrmMainCellViewerTest::pictureInAnOleObjectShowsAtItsSize() {
    entry("mnuCellViewer")->trigger();
    goTo(1, 2);
    QCOMPARE(viewer().page(), Page::Picture);
    const ui::PictureView& view = *viewer().pictureView();
    QCOMPARE(view.picture().size(), QSize(40, 30));
    QCOMPARE(view.picture().pixel(5, 5), qRgb(30, 120, 200));
    QVERIFY(viewer().about().startsWith(QStringLiteral("Photo, row 1: binary, ")));
    QVERIFY(viewer().about().contains(
        QStringLiteral("BMP picture, 40 x 30 in an OLE object \"Bitmap Image\" (Paint.Picture)")));
    // Scaled to fit, never enlarged, aspect kept.
    const QRect drawn = view.pictureRect();
    QVERIFY(drawn.width() <= view.width() && drawn.height() <= view.height());
    QVERIFY(drawn.width() <= 40);
    QCOMPARE(drawn.width() * 30 / 40, drawn.height());
}

void FrmMainCellViewerTest::otherBinaryShowsAsHexOfTheFirst64Kb() {
    entry("mnuCellViewer")->trigger();
    goTo(2, 2);
    QCOMPARE(viewer().page(), Page::Hex);
    const QStringList lines =
        viewer().hexBox()->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 64 * 1024 / 16);
    QVERIFY(lines.first().startsWith(QStringLiteral("00000000  00 01 02 03")));
    QVERIFY(lines.last().startsWith(QStringLiteral("0000FFF0  ")));
    QCOMPARE(viewer().about(),
             QStringLiteral("Photo, row 2: binary, 100.0 KB; hex of the first 64.0 KB"));
    QCOMPARE(viewer().hexBox()->lineWrapMode(), QPlainTextEdit::NoWrap);
}

void FrmMainCellViewerTest::binaryCellsShowTheirSizeAndCopyIt() {
    QCOMPARE(sheet_->textMatrix(2, 2), QStringLiteral("(binary, 100.0 KB)"));
    goTo(2, 2);
    entry("mnuEditCopy")->trigger();  // row and find mode: the whole row
    const QStringList copied = QApplication::clipboard()->text().trimmed().split(QLatin1Char('\t'));
    QCOMPARE(copied.size(), 3);
    QCOMPARE(copied[2], QStringLiteral("(binary, 100.0 KB)"));
}

void FrmMainCellViewerTest::attachmentsAreListedAndSaved() {
    entry("mnuCellViewer")->trigger();
    goTo(3, 2);
    QCOMPARE(viewer().page(), Page::Attachments);
    QCOMPARE(viewer().about(), QStringLiteral("Photo, row 3: 2 attachment(s)"));
    QTableWidget* list = viewer().attachmentList();
    QCOMPARE(list->rowCount(), 2);
    QCOMPARE(list->item(0, 0)->text(), QStringLiteral("notes.txt"));
    QCOMPARE(list->item(0, 1)->text(), QStringLiteral("22 B"));
    QCOMPARE(list->item(1, 0)->text(), QStringLiteral("../../photo.png"));
    auto* save = list->findChild<QPushButton*>(QStringLiteral("cmdSaveAttachment(1)"));
    QVERIFY(save);
    window_->run.dialogs.texts.enqueue(QStringLiteral("/user/saved.png"));
    QTest::mouseClick(save, Qt::LeftButton);
    const auto& asked = window_->run.dialogs.asked;
    QCOMPARE(asked.last().kind, QStringLiteral("save"));
    QCOMPARE(asked.last().title, QStringLiteral("Save Attachment"));
    QCOMPARE(asked.last().text, QStringLiteral("photo.png"));  // no folders of the stored name
    QCOMPARE(window_->fs.contents(QStringLiteral("/user/saved.png")),
             QByteArray("the bytes of ../../photo.png"));
}

void FrmMainCellViewerTest::attachmentSaveCancelledWritesNothing() {
    entry("mnuCellViewer")->trigger();
    goTo(3, 2);
    const int writes = window_->fs.writeCount();
    auto* save =
        viewer().attachmentList()->findChild<QPushButton*>(QStringLiteral("cmdSaveAttachment(0)"));
    QTest::mouseClick(save, Qt::LeftButton);  // no answer queued: the dialog is cancelled
    QCOMPARE(window_->fs.writeCount(), writes);
    window_->fs.failWritesOf(QStringLiteral("/user/full.txt"));
    window_->run.dialogs.texts.enqueue(QStringLiteral("/user/full.txt"));
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(window_->run.dialogs.asked.last().title, QStringLiteral("Save"));
    QVERIFY(window_->run.dialogs.asked.last().text.startsWith(
        QStringLiteral("Unable to save '/user/full.txt'.\r\n")));
}

void FrmMainCellViewerTest::editingABinaryCellShowsTheNewText() {
    entry("mnuCellViewer")->trigger();
    goTo(1, 2);
    QCOMPARE(viewer().page(), Page::Picture);
    sheet_->setTextMatrix(1, 2, QStringLiteral("replaced"));
    emit sheet_->afterEdit(1, 2);
    QCOMPARE(viewer().page(), Page::Text);
    QCOMPARE(viewer().textBox()->toPlainText(), QStringLiteral("replaced"));
}

QTEST_MAIN(FrmMainCellViewerTest)
#include "tst_frm_main_cell_viewer.moc"
