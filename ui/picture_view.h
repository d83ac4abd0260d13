// PictureView: shows one picture scaled to fit the widget, keeping its
// aspect ratio and never enlarged past its own size; centred, on the
// window's background.
#pragma once

#include <QImage>
#include <QWidget>

namespace ui {

class PictureView : public QWidget {
    Q_OBJECT
  public:
    explicit PictureView(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    // Where the picture is drawn at the widget's present size.
    QRect pictureRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
};

}  // namespace ui
