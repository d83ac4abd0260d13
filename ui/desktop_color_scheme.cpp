#include "ui/desktop_color_scheme.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

namespace ui {
namespace {

const char* const kPortalService = "org.freedesktop.portal.Desktop";
const char* const kPortalPath = "/org/freedesktop/portal/desktop";
const char* const kPortalInterface = "org.freedesktop.portal.Settings";
const char* const kAppearance = "org.freedesktop.appearance";
const char* const kColorSchemeKey = "color-scheme";

// The portal wraps the value in one or two variants depending on its version.
uint unwrap(QVariant value) {
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>()) {
        value = value.value<QDBusVariant>().variant();
    }
    return value.toUInt();
}

ColorScheme portalScheme() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return ColorScheme::NoPreference;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(kPortalService), QLatin1String(kPortalPath),
                                       QLatin1String(kPortalInterface), QStringLiteral("Read"));
    call << QLatin1String(kAppearance) << QLatin1String(kColorSchemeKey);
    // A desktop without the portal answers at once; a hung one must not
    // hold up the start for long.
    const QDBusReply<QVariant> reply = bus.call(call, QDBus::Block, 500);
    return reply.isValid() ? DesktopColorScheme::fromPortalValue(unwrap(reply.value()))
                           : ColorScheme::NoPreference;
}

// The palette the program had before it first went dark: the platform's.
QPalette& lightPalette() {
    static QPalette palette = QApplication::palette();
    return palette;
}

}  // namespace

DesktopColorScheme::DesktopColorScheme(QObject* parent) : QObject(parent) {
    lightPalette();
}

ColorScheme DesktopColorScheme::fromGtkTheme(const QString& gtkTheme) {
    const QString theme = gtkTheme.trimmed();
    if (theme.isEmpty()) {
        return ColorScheme::NoPreference;
    }
    const bool dark = theme.endsWith(QLatin1String(":dark"), Qt::CaseInsensitive) ||
                      theme.endsWith(QLatin1String("-dark"), Qt::CaseInsensitive);
    return dark ? ColorScheme::Dark : ColorScheme::Light;
}

ColorScheme DesktopColorScheme::fromPortalValue(uint value) {
    switch (value) {
        case 1:
            return ColorScheme::Dark;
        case 2:
            return ColorScheme::Light;
        default:
            return ColorScheme::NoPreference;
    }
}

ColorScheme DesktopColorScheme::desktopScheme() {
    const ColorScheme gtk = fromGtkTheme(qEnvironmentVariable("GTK_THEME"));
    return gtk != ColorScheme::NoPreference ? gtk : portalScheme();
}

QPalette DesktopColorScheme::darkPalette() {
    const QColor window(0x2d, 0x2d, 0x30);
    const QColor base(0x1e, 0x1e, 0x1e);
    const QColor text(0xe8, 0xe8, 0xe8);
    const QColor disabled(0x80, 0x80, 0x80);
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabled);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Light, window.lighter(150));
    p.setColor(QPalette::Midlight, window.lighter(125));
    p.setColor(QPalette::Mid, window.darker(125));
    p.setColor(QPalette::Dark, window.darker(150));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, QColor(0x26, 0x4f, 0x78));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(0x6c, 0xb4, 0xee));
    p.setColor(QPalette::LinkVisited, QColor(0xb0, 0x8c, 0xe8));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, disabled);
    }
    return p;
}

void DesktopColorScheme::apply(ColorScheme scheme) {
    if (scheme == applied_) {
        return;
    }
    applied_ = scheme;
    // A palette with every role set, so that no widget keeps an old colour
    // for a role the new palette would leave to be resolved.
    QPalette palette = scheme == ColorScheme::Dark ? darkPalette() : lightPalette();
    palette.setResolveMask(~QPalette::ResolveMask(0));
    QApplication::setPalette(palette);
}

void DesktopColorScheme::follow() {
    apply(desktopScheme());
    QDBusConnection::sessionBus().connect(QLatin1String(kPortalService), QLatin1String(kPortalPath),
                                          QLatin1String(kPortalInterface),
                                          QStringLiteral("SettingChanged"), this,
                                          SLOT(onPortalSettingChanged(QString, QString, QVariant)));
}

void DesktopColorScheme::onPortalSettingChanged(const QString& group, const QString& key,
                                                const QVariant& value) {
    if (group == QLatin1String(kAppearance) && key == QLatin1String(kColorSchemeKey) &&
        qEnvironmentVariableIsEmpty("GTK_THEME")) {
        apply(fromPortalValue(unwrap(value)));
    }
}

}  // namespace ui
