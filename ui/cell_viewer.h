// CellViewer: the dock beside the sheet that shows the current cell whole
// (object name "dockCellViewer"): long text wrapped, a binary value as hex
// or as the picture it holds, the files of an attachment cell with a Save
// button each. A line above says what is shown. The viewer only shows what
// it is given; app::CellViewing decides what that is.
#pragma once

#include <QDockWidget>
#include <QImage>
#include <QList>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QStackedWidget;
class QTableWidget;

namespace ui {

class PictureView;

class CellViewer : public QDockWidget {
    Q_OBJECT
  public:
    enum class Page { Text, Hex, Picture, Attachments };
    struct AttachmentRow {
        QString name;
        QString size;
    };

    explicit CellViewer(QWidget* parent = nullptr);

    void showText(const QString& about, const QString& text);
    void showHex(const QString& about, const QString& hex);
    void showPicture(const QString& about, const QImage& picture);
    void showAttachments(const QString& about, const QList<AttachmentRow>& files);

    Page page() const;
    QString about() const;
    QPlainTextEdit* textBox() const { return text_; }
    QPlainTextEdit* hexBox() const { return hex_; }
    PictureView* pictureView() const { return picture_; }
    QTableWidget* attachmentList() const { return attachments_; }

  signals:
    // The Save button of file `index` of the attachments shown.
    void saveClicked(int index);
    // The viewer was closed by its own title bar button.
    void closedByUser();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void showPage(QWidget* page, const QString& about);
    QPlainTextEdit* makeTextBox(const char* name, bool wrap);

    QLabel* about_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QPlainTextEdit* hex_ = nullptr;
    PictureView* picture_ = nullptr;
    QTableWidget* attachments_ = nullptr;
};

}  // namespace ui
