// The start-up module ("ModuleMain"). start ("Main") fixes where the settings
// file lies, reads the show-tips option, then creates, loads and shows the
// main window.
// The module holds the program-wide state for the program's whole life.
#pragma once

#include <memory>

#include <QString>
#include <QStringList>

namespace app {
class FileSystem;
class MainWindow;
class SettingsFile;
}  // namespace app
namespace ui {
class Desktop;
class DesktopColorScheme;
class Dialogs;
}  // namespace ui

class Startup {
  public:
    // What the program meets outside itself; tests pass scripted parts.
    struct Environment {
        app::FileSystem* fileSystem = nullptr;
        QString programFolder;  // where the program was started from
        QString userFolder;     // per-user configuration folder (fallback)
        ui::Dialogs* dialogs = nullptr;
        ui::Desktop* desktop = nullptr;
        QStringList arguments;  // command-line arguments after the program's name
    };

    explicit Startup(Environment environment);
    ~Startup();

    // Runs the start-up; the window is shown when it returns.
    void start();

    app::MainWindow* mainWindow() const { return window_.get(); }
    app::SettingsFile& settings() const { return *settings_; }
    app::FileSystem& fileSystem() const { return *env_.fileSystem; }
    const QString& programFolder() const { return env_.programFolder; }
    // The palette following the desktop's light or dark choice.
    ui::DesktopColorScheme& colorScheme() const { return *colorScheme_; }

    // Show the tips window at start-up; written back on exit.
    bool showTipsAtStartup = false;

  private:
    Environment env_;
    std::unique_ptr<app::SettingsFile> settings_;
    std::unique_ptr<ui::DesktopColorScheme> colorScheme_;
    std::unique_ptr<app::MainWindow> window_;
};
