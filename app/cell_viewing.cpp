#include "app/cell_viewing.h"

#include <QAction>
#include <QImage>
#include <QMainWindow>

#include "app/file_system.h"
#include "app/sheet_files.h"
#include "sheet/binary_content.h"
#include "sheet/cell_payload.h"
#include "sheet/grid.h"
#include "sheet/hex_dump.h"
#include "ui/cell_viewer.h"
#include "ui/dialogs.h"
#include "ui/menu_actions.h"
#include "ui/window_controls.h"

namespace app {

namespace {

constexpr int kInitialWidth = 360;  // pixels
const char* const kCrLf = "\r\n";

QString sizeText(uint64_t size) {
    return QString::fromStdString(sheet::byteSizeText(size));
}

// The name an attachment suggests in the save dialog: its stored name is
// not trusted as a path, so only its last part is offered.
QString suggestedName(const std::string& stored) {
    QString name = QString::fromStdString(stored);
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    name = name.section(QLatin1Char('/'), -1);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) {
        return QStringLiteral("attachment");
    }
    return name;
}

QString describeObject(const sheet::BinaryContent& content) {
    using Wrapper = sheet::BinaryContent::Wrapper;
    if (content.wrapper == Wrapper::None) {
        return QString();
    }
    QString text = QStringLiteral(" in an OLE object");
    if (!content.objectName.empty()) {
        text += QStringLiteral(" \"%1\"").arg(QString::fromStdString(content.objectName));
    }
    if (!content.className.empty()) {
        text += QStringLiteral(" (%1)").arg(QString::fromStdString(content.className));
    }
    if (content.wrapper == Wrapper::Package && !content.fileName.empty()) {
        text += QStringLiteral(", file \"%1\"").arg(QString::fromStdString(content.fileName));
    }
    return text;
}

}  // namespace

CellViewing::CellViewing(QMainWindow& window, const ui::WindowControls& controls,
                         const ui::MenuActions& menus, SheetFiles& files, FileSystem& fileSystem,
                         ui::Dialogs& dialogs, QObject* parent)
    : QObject(parent),
      window_(window),
      controls_(controls),
      menus_(menus),
      files_(files),
      fileSystem_(fileSystem),
      dialogs_(dialogs),
      viewer_(new ui::CellViewer(&window)) {
    window_.addDockWidget(Qt::RightDockWidgetArea, viewer_);
    viewer_->hide();
    connect(menus_.cellViewer, &QAction::triggered, this, &CellViewing::setShown);
    connect(viewer_, &ui::CellViewer::closedByUser, this,
            [this] { menus_.cellViewer->setChecked(false); });
    connect(viewer_, &ui::CellViewer::saveClicked, this, &CellViewing::saveAttachment);
    connect(controls_.dataSheet, &sheet::Grid::afterEdit, this, &CellViewing::follow);
}

void CellViewing::setShown(bool shown) {
    menus_.cellViewer->setChecked(shown);
    if (!shown) {
        viewer_->hide();
        return;
    }
    viewer_->show();
    window_.resizeDocks({viewer_}, {kInitialWidth}, Qt::Horizontal);
    follow();
}

QString CellViewing::cellName(int row, int col) const {
    const QString title = controls_.dataSheet->textMatrix(0, col);
    return QStringLiteral("%1, row %2")
        .arg(title.isEmpty() ? QStringLiteral("Column %1").arg(col + 1) : title)
        .arg(row);
}

void CellViewing::follow() {
    if (!viewer_->isVisible()) {
        return;
    }
    const sheet::Grid& sheet = *controls_.dataSheet;
    const int row = sheet.row();
    const int col = sheet.col();
    shown_.reset();
    if (row < 1 || col < 0 || row >= sheet.rows() || col >= sheet.cols()) {
        viewer_->showText(QStringLiteral("No cell"), QString());
        return;
    }
    const QString cell = cellName(row, col);
    const auto payload = sheet.cellPayload(row, col);
    if (payload && payload->kind == sheet::CellPayload::Kind::Binary) {
        showBinary(cell, *payload);
        return;
    }
    if (payload && payload->kind == sheet::CellPayload::Kind::Attachments) {
        shown_ = payload;
        showAttachments(cell, *payload);
        return;
    }
    const QString text = sheet.textMatrix(row, col);
    viewer_->showText(text.isEmpty()
                          ? cell + QStringLiteral(": empty")
                          : cell + QStringLiteral(": text, %1 characters").arg(text.size()),
                      text);
}

// A picture the value holds is shown when Qt reads it; anything else, or a
// value only partly kept, shows as hex.
void CellViewing::showBinary(const QString& cell, const sheet::CellPayload& payload) {
    const QString about = cell + QStringLiteral(": binary, ") + sizeText(payload.size);
    if (!payload.complete()) {
        showHex(about + QStringLiteral(" (only its first %1 were kept: the result's binary "
                                       "values are too big to keep whole)")
                            .arg(sizeText(payload.bytes.size())),
                payload);
        return;
    }
    const sheet::BinaryContent content = sheet::BinaryContent::read(payload.bytes);
    const char* format = sheet::BinaryContent::formatName(content.format);
    if (content.format != sheet::BinaryContent::Format::None) {
        const QImage picture =
            QImage::fromData(reinterpret_cast<const uchar*>(content.picture.data()),
                             int(content.picture.size()), format);
        if (!picture.isNull()) {
            viewer_->showPicture(about +
                                     QStringLiteral(": %1 picture, %2 x %3")
                                         .arg(QLatin1String(format))
                                         .arg(picture.width())
                                         .arg(picture.height()) +
                                     describeObject(content),
                                 picture);
            return;
        }
    }
    showHex(about + describeObject(content), payload);
}

void CellViewing::showHex(const QString& about, const sheet::CellPayload& payload) {
    QString text = about;
    if (payload.bytes.size() > kHexBytes) {
        text += QStringLiteral("; hex of the first %1").arg(sizeText(kHexBytes));
    }
    viewer_->showHex(text, QString::fromLatin1(sheet::HexDump::lines(payload.bytes, kHexBytes)));
}

void CellViewing::showAttachments(const QString& cell, const sheet::CellPayload& payload) {
    QList<ui::CellViewer::AttachmentRow> rows;
    for (const sheet::CellAttachment& file : payload.attachments) {
        const jet::Result<uint64_t> size = file.size ? file.size() : jet::Result<uint64_t>(0);
        rows.append({QString::fromStdString(file.name),
                     size ? sizeText(*size) : QStringLiteral("unreadable")});
    }
    viewer_->showAttachments(
        cell + QStringLiteral(": %1 attachment(s)").arg(payload.attachments.size()), rows);
}

void CellViewing::saveAttachment(int index) {
    if (!shown_ || index < 0 || std::size_t(index) >= shown_->attachments.size()) {
        return;
    }
    // The list may change while the dialog is open; the file chosen stays.
    const std::shared_ptr<const sheet::CellPayload> payload = shown_;
    const sheet::CellAttachment& file = payload->attachments[std::size_t(index)];
    const QString name =
        dialogs_.saveFileName(QStringLiteral("Save Attachment"), suggestedName(file.name),
                              QStringLiteral("All Files (*)"));
    if (name.isEmpty()) {
        return;
    }
    if (files_.isOpenDatabase(name)) {
        reportSaveFailure(name, QStringLiteral("It is the open database; choose another name."));
        return;
    }
    const jet::Result<std::string> data =
        file.read ? file.read() : jet::Result<std::string>(std::string());
    if (!data) {
        reportSaveFailure(name, QString::fromStdString(data.status().message()));
        return;
    }
    const jet::Status written =
        fileSystem_.replaceFile(name, QByteArray(data->data(), qsizetype(data->size())));
    if (!written.isOk()) {
        reportSaveFailure(name, QString::fromStdString(written.message()));
    }
}

void CellViewing::reportSaveFailure(const QString& fileName, const QString& reason) {
    dialogs_.messageBox(QStringLiteral("Unable to save '") + fileName + QStringLiteral("'.") +
                            QLatin1String(kCrLf) + reason,
                        QStringLiteral("Save"), ui::Dialogs::Icon::Exclamation,
                        ui::Dialogs::Buttons::Ok);
}

}  // namespace app
