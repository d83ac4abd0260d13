// The desktop's light or dark choice, and the window's palette following it.
// Qt's own platform themes pass a dark palette on only under some desktops;
// here the freedesktop appearance setting (through the settings portal, the
// one every current desktop offers) and GTK_THEME are read, so the window
// goes dark on a dark desktop anywhere and follows a switch while it runs.
// Only the palette changes: the program's fixed colours, set on their own
// cells and controls (green titles, flag marks, the palette swatches), stay.
#pragma once

#include <QObject>
#include <QPalette>
#include <QString>

namespace ui {

enum class ColorScheme { NoPreference, Light, Dark };

class DesktopColorScheme : public QObject {
    Q_OBJECT
  public:
    explicit DesktopColorScheme(QObject* parent = nullptr);

    // GTK_THEME as GTK reads it: "Adwaita:dark" or a theme named "...-dark"
    // is dark, any other name light, an empty one no preference.
    static ColorScheme fromGtkTheme(const QString& gtkTheme);
    // The portal's org.freedesktop.appearance color-scheme: 1 dark, 2 light.
    static ColorScheme fromPortalValue(uint value);
    // GTK_THEME when set (it overrides the desktop, as for GTK programs),
    // else the portal's answer, else no preference.
    static ColorScheme desktopScheme();
    // A dark palette for every role the widgets use.
    static QPalette darkPalette();

    // Puts the application's palette in step with `scheme`: dark gives
    // darkPalette(), light or no preference the palette the program had
    // before it first went dark.
    void apply(ColorScheme scheme);
    // Applies the desktop's scheme now and again whenever the desktop's
    // setting changes.
    void follow();
    ColorScheme applied() const { return applied_; }

  private slots:
    void onPortalSettingChanged(const QString& group, const QString& key, const QVariant& value);

  private:
    ColorScheme applied_ = ColorScheme::NoPreference;
};

}  // namespace ui
