#include "app/startup.h"

#include "app/main_window.h"
#include "app/settings_file.h"
#include "ui/desktop_color_scheme.h"
#include "ui/help_menu.h"

Startup::Startup(Environment environment) : env_(std::move(environment)) {}

Startup::~Startup() = default;

void Startup::start() {
    settings_ = std::make_unique<app::SettingsFile>(
        *env_.fileSystem,
        app::chooseSettingsLocation(*env_.fileSystem, env_.programFolder, env_.userFolder));
    if (const auto show = app::settingsBoolean(settings_->readValue("OPTION", "SHOWTIP"))) {
        showTipsAtStartup = *show;
    }
    colorScheme_ = std::make_unique<ui::DesktopColorScheme>();
    colorScheme_->follow();
    window_ = std::make_unique<app::MainWindow>(*this, *settings_, *env_.dialogs, *env_.desktop);
    if (!env_.arguments.isEmpty()) {
        window_->setStartupFile(env_.arguments.first());
    }
    window_->load();
    window_->show();
    if (showTipsAtStartup) {
        window_->help().showTips(false);
    }
}
