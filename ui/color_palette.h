// The font colour palette `PanColor`: a light grey panel with eight colour
// swatches `SSPanelColor`(0..7) in two columns of four, hidden until shown.
// Geometry is in twips, applied at a DPI; a click reports the swatch, or the
// background, to the window.
#pragma once

#include <QFrame>

namespace ui {

class ColorPalette : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kSwatchCount = 8;

    explicit ColorPalette(QWidget* parent = nullptr);

    // Places the panel at its twips position inside its parent and the
    // swatches inside it.
    void place(double dpiX, double dpiY);
    QFrame* swatch(int i) const { return i >= 0 && i < kSwatchCount ? swatches_[i] : nullptr; }
    // Sunken (1) or raised (2) look of swatch i.
    void setBevel(int i, int bevel);
    int bevel(int i) const;
    // Swatch i's back colour, the font colour it offers, as red + 256 green +
    // 65536 blue; 0 (black) for an index outside 0..7.
    int backColor(int i) const;
    // Shows swatch i sunken as the chosen one and every other swatch raised.
    void markChosen(int i);
    // Drops the palette down over the window.
    void open();

  signals:
    void swatchClicked(int index);
    void backgroundClicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QFrame* swatches_[kSwatchCount];
    int backColors_[kSwatchCount];
};

}  // namespace ui
