// The About window ("frmAbout") with the maker's and product's names, the
// version, and two links (the maker's web site and a mail address). OK or a
// click anywhere on its background closes it.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace ui {

class Desktop;

class AboutWindow : public QDialog {
    Q_OBJECT
  public:
    explicit AboutWindow(Desktop& desktop, QWidget* parent = nullptr);

    // What a click on member `index` of the link label array opens: 1 mails
    // the maker's information address (not the support address the label
    // shows), 2 the web site; any other member opens nothing (empty).
    static QString linkTarget(int index);

    QLabel* linkLabel(int index) const;
    QPushButton* okButton = nullptr;

    void onLinkClicked(int index);
    void onOkClicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* link(int index, const QString& text);

    Desktop& desktop_;
    QLabel* links_[3] = {};
};

}  // namespace ui
