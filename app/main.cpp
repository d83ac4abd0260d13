// Tablescope: explore Microsoft Access databases and the tables retrieved
// from them in a data sheet.
#include <QApplication>
#include <QDir>

#include "app/file_system_local.h"
#include "app/main_window.h"
#include "app/settings_file.h"
#include "app/startup.h"
#include "ui/qt_desktop.h"
#include "ui/qt_dialogs.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Veltrano"));
    QApplication::setApplicationName(QStringLiteral("Tablescope"));

    app::LocalFileSystem fileSystem;
    ui::QtDesktop desktop;
    ui::QtDialogs dialogs(nullptr);
    Startup::Environment environment;
    environment.fileSystem = &fileSystem;
    environment.programFolder = QCoreApplication::applicationDirPath();
    environment.userFolder = app::userConfigFolder();
    environment.dialogs = &dialogs;
    environment.desktop = &desktop;
    environment.arguments = QCoreApplication::arguments().mid(1);

    Startup module(environment);
    module.start();
    return QApplication::exec();
}
