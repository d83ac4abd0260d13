#include "ui/qt_desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QUrl>

namespace ui {

void QtDesktop::openUrl(const QString& url) {
    if (!url.isEmpty()) {
        QDesktopServices::openUrl(QUrl(url));
    }
}

void QtDesktop::startTextEditor(const QString& path) {
    // The desktop's handler for text files stands in for the system editor;
    // fall back to a plain editor when no handler takes it.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        QProcess::startDetached(QStringLiteral("xdg-open"), {path});
    }
}

QList<QRect> QtDesktop::screens() const {
    QList<QRect> rects;
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        rects.append(primary->availableGeometry());
    }
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen()) {
            rects.append(screen->availableGeometry());
        }
    }
    return rects;
}

double QtDesktop::logicalDpi() const {
    QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->logicalDotsPerInchY() : 96.0;
}

void QtDesktop::setPointer(Pointer pointer) {
    // One override cursor at most: replace rather than stack them, so a
    // reset always returns to the default arrow.
    while (QGuiApplication::overrideCursor()) {
        QGuiApplication::restoreOverrideCursor();
    }
    pointer_ = pointer;
    switch (pointer) {
        case Pointer::Default:
            return;
        case Pointer::Busy:
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            return;
        case Pointer::SizeNS:
            QGuiApplication::setOverrideCursor(Qt::SizeVerCursor);
            return;
        case Pointer::SizeWE:
            QGuiApplication::setOverrideCursor(Qt::SizeHorCursor);
            return;
    }
}

void QtDesktop::endProgram() {
    QCoreApplication::exit(0);
}

}  // namespace ui
