#include "window_fixture.h"

namespace {
app::MemoryFileSystem& withToolbarWindowIni(app::MemoryFileSystem& fs) {
    fs.putFile(kProgramIni, kToolbarWindowIni);
    return fs;
}
}  // namespace

ToolbarWindowRun::ToolbarWindowRun() : run(withToolbarWindowIni(fs)) {}

WindowRun::WindowRun(app::MemoryFileSystem& fs, const QStringList& arguments) {
    Startup::Environment env;
    env.fileSystem = &fs;
    env.programFolder = kProgramFolder;
    env.userFolder = kUserFolder;
    env.dialogs = &dialogs;
    env.desktop = &desktop;
    env.arguments = arguments;
    module = std::make_unique<Startup>(env);
    module->start();
}

QStringList settingsLines(const QByteArray& text) {
    QStringList lines;
    for (const QString& line : QString::fromUtf8(text).split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty()) {
            lines.append(trimmed);
        }
    }
    return lines;
}
