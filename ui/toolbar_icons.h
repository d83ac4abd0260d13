// The program's own pictures, drawn with QPainter so that no image files or
// image plugins are needed: toolbar buttons, the eight font-colour pictures,
// the SQL buttons and the pictures put into grid cells (flag, sort markers,
// blank).
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace ui {

class ToolbarIcons {
  public:
    // Picture of the toolbar button with that key ("Open", "Bold", ...); a
    // null icon for an unknown key.
    static QIcon button(const QString& key);
    // The "A" button's picture for swatch colour `swatch` (0..7), the
    // pictures 16 to 23 of the toolbar's image list.
    static QIcon fontColor(int swatch);
    // Colour of a palette swatch as red + 256 green + 65536 blue.
    static int swatchColor(int swatch);
    // Pictures of the SQL buttons by name ("cmdRun", ...).
    static QIcon sqlButton(const QString& name);
    // Grid cell pictures: ImgFlag(0), ImgU (ascending), ImgD (descending),
    // ImgNone (blank, fully transparent).
    static QPixmap flag();
    static QPixmap sortUp();
    static QPixmap sortDown();
    static QPixmap blank();
};

}  // namespace ui
