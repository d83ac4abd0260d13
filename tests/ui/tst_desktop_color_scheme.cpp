// The desktop's light or dark choice: how GTK_THEME and the settings
// portal's value are read, and the application palette that follows them
// (dark, and back to the palette the program started with).
#include <QApplication>
#include <QTest>

#include "ui/desktop_color_scheme.h"

using ui::ColorScheme;
using ui::DesktopColorScheme;

Q_DECLARE_METATYPE(ui::ColorScheme)

class DesktopColorSchemeTest : public QObject {
    Q_OBJECT

  private slots:
    void gtkThemeNames_data();
    void gtkThemeNames();
    void portalValues();
    void gtkThemeOverridesTheDesktop();
    void darkPaletteAndBack();
};

void DesktopColorSchemeTest::gtkThemeNames_data() {
    QTest::addColumn<QString>("theme");
    QTest::addColumn<ColorScheme>("scheme");
    QTest::newRow("unset") << QString() << ColorScheme::NoPreference;
    QTest::newRow("blank") << QStringLiteral("  ") << ColorScheme::NoPreference;
    QTest::newRow("variant") << QStringLiteral("Adwaita:dark") << ColorScheme::Dark;
    QTest::newRow("variant upper case") << QStringLiteral("Adwaita:DARK") << ColorScheme::Dark;
    QTest::newRow("dark theme") << QStringLiteral("Arc-Dark") << ColorScheme::Dark;
    QTest::newRow("light variant") << QStringLiteral("Adwaita:light") << ColorScheme::Light;
    QTest::newRow("plain theme") << QStringLiteral("Adwaita") << ColorScheme::Light;
    QTest::newRow("dark inside a name") << QStringLiteral("Darkish-Blue") << ColorScheme::Light;
}

void DesktopColorSchemeTest::gtkThemeNames() {
    QFETCH(QString, theme);
    QFETCH(ColorScheme, scheme);
    QCOMPARE(DesktopColorScheme::fromGtkTheme(theme), scheme);
}

void DesktopColorSchemeTest::portalValues() {
    QCOMPARE(DesktopColorScheme::fromPortalValue(0), ColorScheme::NoPreference);
    QCOMPARE(DesktopColorScheme::fromPortalValue(1), ColorScheme::Dark);
    QCOMPARE(DesktopColorScheme::fromPortalValue(2), ColorScheme::Light);
    QCOMPARE(DesktopColorScheme::fromPortalValue(7), ColorScheme::NoPreference);
}

void DesktopColorSchemeTest::gtkThemeOverridesTheDesktop() {
    qputenv("GTK_THEME", "Adwaita:dark");
    QCOMPARE(DesktopColorScheme::desktopScheme(), ColorScheme::Dark);
    qputenv("GTK_THEME", "Adwaita");
    QCOMPARE(DesktopColorScheme::desktopScheme(), ColorScheme::Light);
    qunsetenv("GTK_THEME");
}

void DesktopColorSchemeTest::darkPaletteAndBack() {
    const QPalette start = QApplication::palette();
    QVERIFY(start.color(QPalette::Window).lightness() > 128);  // Qt's own light palette
    DesktopColorScheme scheme;
    scheme.apply(ColorScheme::Dark);
    const QPalette dark = QApplication::palette();
    for (const auto& [back, fore] : {std::pair{QPalette::Window, QPalette::WindowText},
                                     std::pair{QPalette::Base, QPalette::Text},
                                     std::pair{QPalette::Button, QPalette::ButtonText}}) {
        QVERIFY(dark.color(back).lightness() < 80);
        QVERIFY(dark.color(fore).lightness() > 180);
    }
    QVERIFY(dark.color(QPalette::Disabled, QPalette::Text).lightness() <
            dark.color(QPalette::Active, QPalette::Text).lightness());
    QWidget widget;
    QCOMPARE(widget.palette().color(QPalette::Base), dark.color(QPalette::Base));
    scheme.apply(ColorScheme::Light);
    QCOMPARE(QApplication::palette().color(QPalette::Window), start.color(QPalette::Window));
    QCoreApplication::processEvents();  // widgets hear of the change through the event loop
    QCOMPARE(widget.palette().color(QPalette::Base), start.color(QPalette::Base));
    scheme.apply(ColorScheme::Dark);
    scheme.apply(ColorScheme::NoPreference);
    QCOMPARE(QApplication::palette().color(QPalette::Text), start.color(QPalette::Text));
}

QTEST_MAIN(DesktopColorSchemeTest)
#include "tst_desktop_color_scheme.moc"
