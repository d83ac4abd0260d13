#include "ui/cell_viewer.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/picture_view.h"

namespace ui {

namespace {

constexpr int kNameColumn = 0;
constexpr int kSizeColumn = 1;
constexpr int kSaveColumn = 2;

}  // namespace

CellViewer::CellViewer(QWidget* parent) : QDockWidget(QStringLiteral("Cell Viewer"), parent) {
    setObjectName(QStringLiteral("dockCellViewer"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    about_ = new QLabel(body);
    about_->setObjectName(QStringLiteral("lblCellViewerAbout"));
    about_->setWordWrap(true);
    about_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pages_ = new QStackedWidget(body);
    text_ = makeTextBox("txtCellViewerText", true);
    hex_ = makeTextBox("txtCellViewerHex", false);
    hex_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    picture_ = new PictureView(pages_);
    picture_->setObjectName(QStringLiteral("imgCellViewerPicture"));
    attachments_ = new QTableWidget(0, 3, pages_);
    attachments_->setObjectName(QStringLiteral("lstCellViewerAttachments"));
    attachments_->setHorizontalHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("Size"), QString()});
    attachments_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    attachments_->verticalHeader()->hide();
    attachments_->horizontalHeader()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
    for (QWidget* page : {static_cast<QWidget*>(text_), static_cast<QWidget*>(hex_),
                          static_cast<QWidget*>(picture_), static_cast<QWidget*>(attachments_)}) {
        pages_->addWidget(page);
    }
    layout->addWidget(about_);
    layout->addWidget(pages_, 1);
    setWidget(body);
}

QPlainTextEdit* CellViewer::makeTextBox(const char* name, bool wrap) {
    auto* box = new QPlainTextEdit(pages_);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    return box;
}

void CellViewer::showPage(QWidget* page, const QString& about) {
    about_->setText(about);
    pages_->setCurrentWidget(page);
}

void CellViewer::showText(const QString& about, const QString& text) {
    text_->setPlainText(text);
    showPage(text_, about);
}

void CellViewer::showHex(const QString& about, const QString& hex) {
    hex_->setPlainText(hex);
    showPage(hex_, about);
}

void CellViewer::showPicture(const QString& about, const QImage& picture) {
    picture_->setPicture(picture);
    showPage(picture_, about);
}

void CellViewer::showAttachments(const QString& about, const QList<AttachmentRow>& files) {
    attachments_->setRowCount(0);
    attachments_->setRowCount(int(files.size()));
    for (int i = 0; i < files.size(); ++i) {
        attachments_->setItem(i, kNameColumn, new QTableWidgetItem(files[i].name));
        auto* size = new QTableWidgetItem(files[i].size);
        size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        attachments_->setItem(i, kSizeColumn, size);
        auto* save = new QPushButton(QStringLiteral("Save..."), attachments_);
        save->setObjectName(QStringLiteral("cmdSaveAttachment(%1)").arg(i));
        connect(save, &QPushButton::clicked, this, [this, i] { emit saveClicked(i); });
        attachments_->setCellWidget(i, kSaveColumn, save);
    }
    attachments_->resizeColumnToContents(kSizeColumn);
    attachments_->resizeColumnToContents(kSaveColumn);
    showPage(attachments_, about);
}

CellViewer::Page CellViewer::page() const {
    QWidget* shown = pages_->currentWidget();
    return shown == hex_           ? Page::Hex
           : shown == picture_     ? Page::Picture
           : shown == attachments_ ? Page::Attachments
                                   : Page::Text;
}

QString CellViewer::about() const {
    return about_->text();
}

void CellViewer::closeEvent(QCloseEvent* event) {
    QDockWidget::closeEvent(event);
    emit closedByUser();
}

}  // namespace ui
